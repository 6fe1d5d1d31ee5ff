// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace komet {

// One point of a thrust curve: time in s, thrust in N.
struct CurvePoint {
  double time = 0.0;
  double thrust = 0.0;

  friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// Trapezoid-rule area under the polyline, N·s.
double CurveImpulse(std::span<const CurvePoint> points);

// Index of the first point of the largest thrust; 0 for an empty curve.
std::size_t PeakIndex(std::span<const CurvePoint> points);

// The curve with at most maxPoints points (maxPoints >= 3). Keeps the first
// and the last point and the peak; drops, one at a time, the point whose
// removal changes the impulse least (the triangle it spans with its
// neighbours), so the shape and the impulse stay close to the original.
std::vector<CurvePoint> ThinCurve(std::span<const CurvePoint> points, std::size_t maxPoints);

// Adds a point read from a motor file to a curve that starts with (0, 0):
// an exact repetition adds nothing, a point at time 0 replaces the start (a
// later point at time 0 would end the curve), the same time again is a
// vertical step. A negative thrust or a time that goes back is refused:
// the German reason, else nullptr. A time that goes back is a slip of one
// line (kTimeGoesBack): readers leave the point out and keep the motor.
inline constexpr const char* kTimeGoesBack = "Zeit nicht aufsteigend, Punkt übergangen";
const char* AddCurvePoint(std::vector<CurvePoint>& points, CurvePoint point);

// A curve read from a file made ready for a record: an end above 0 N falls to
// 0 a millisecond later, and a curve of more than 101 points is thinned.
struct FinishedCurve {
  std::vector<CurvePoint> points;
  double impulse = 0.0;     // N·s, before thinning
  std::string thinnedNote;  // the warning when thinned, else empty
};
FinishedCurve FinishCurve(std::vector<CurvePoint> points);

}  // namespace komet
