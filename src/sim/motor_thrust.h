// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "model/rocket_record.h"
#include "motors/motor_record.h"

namespace komet {

// Thrust in N of one motor's curve at motor time tau (s after ignition):
// linear between the points; 0 once tau lies beyond the curve's last point.
// The curve ends before the first point after point 0 whose time is 0, or
// after point 100: the record has no point count, and an unused point is all
// zeros, so a zero time after the start is the only end a writer can mark
// (a full curve has none). Never reads outside the 101 points, whatever the
// times. Beyond the end the thrust is 0, not the last segment extended: the
// motor is out, even while its stage waits for the next ignition.
double CurveThrust(const MotorRecord& motor, double tau);

// The same for motor times that never decrease from call to call: the
// search resumes at `from` (start with 1), where the previous call stopped.
// Every point it skips lay below the previous motor time, so the result is
// that of a search from point 1, whatever order the curve's times are in.
double CurveThrust(const MotorRecord& motor, double tau, std::size_t& from);

// Where a pass of non-decreasing motor times stands on one curve: the
// resumed search of above, plus the segment it stopped in with its slope.
// A 5 ms step mostly stays inside the segment of the step before, and then
// needs neither a search nor a division.
struct CurveCursor {
  std::size_t from = 1;
  // End time of the remembered segment; NaN (no time lies at or below it)
  // while there is none.
  double segmentEnd = std::numeric_limits<double>::quiet_NaN();
  double x0 = 0.0;
  double y0 = 0.0;
  double slope = 0.0;

  // The remembered segment's line at tau.
  double OnSegment(double tau) const { return (tau - x0) * slope + y0; }
};

// The search of CurveThrust(motor, tau, cursor) below, which remembers the
// segment it stops in.
double SearchCurve(const MotorRecord& motor, double tau, CurveCursor& cursor);

// CurveThrust(motor, tau) along such a pass, bit for bit. Inline, so the
// steps inside a segment cost a comparison and the line.
inline double CurveThrust(const MotorRecord& motor, double tau, CurveCursor& cursor) {
  // The search would stop at the remembered segment again: every point
  // before it lies below the previous motor time, its own end not below tau.
  if (tau <= cursor.segmentEnd) return cursor.OnSegment(tau);
  return SearchCurve(motor, tau, cursor);
}

// Thrust in N of the slot's motors (slot 0..2) of a stage at flight time t:
// the curve at t - runIgnitionTime, times the slot's count.
double MotorThrust(const StageRecord& stage, std::size_t slot, double t);
// The same along a pass of increasing t, with a search cursor as above.
double MotorThrust(const StageRecord& stage, std::size_t slot, double t, std::size_t& from);

// Propellant in kg that the slot's motors burn in the step at flight time t:
// each burns its propellant evenly over its burn time, none after it and
// none for a negative count.
double MotorPropellantUse(const StageRecord& stage, std::size_t slot, double t, double timeStep);

// One slot of a stage along a pass of increasing flight time: MotorThrust
// and MotorPropellantUse bit for bit, with the propellant of a burning step
// worked out once and the curve read through a CurveCursor. Holds on to the
// motor, which must not change while the pass runs.
class SlotTrack {
 public:
  SlotTrack() = default;
  SlotTrack(const MotorRecord& motor, std::int32_t count, double ignitionTime, double timeStep);

  // Thrust (N) and propellant use (kg) of the step at flight time t.
  double Thrust(double t) { return CurveThrust(*motor_, t - ignitionTime_, curve_) * count_; }
  double PropellantUse(double t) const { return t - ignitionTime_ >= motor_->burnTime ? 0.0 : burningUse_; }

 private:
  const MotorRecord* motor_ = nullptr;
  double ignitionTime_ = 0.0;
  double count_ = 0.0;
  double burningUse_ = 0.0;  // kg per step while the motors burn
  CurveCursor curve_;
};

}  // namespace komet
