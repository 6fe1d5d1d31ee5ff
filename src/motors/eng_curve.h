#pragma once

#include <cstddef>
#include <span>
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

}  // namespace komet
