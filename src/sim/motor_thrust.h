#pragma once

#include <cstddef>

#include "model/rocket_record.h"
#include "motors/motor_record.h"

namespace komet {

// Thrust in N of one motor's curve at motor time tau (s after ignition):
// linear between the points; 0 once tau lies beyond the curve's last point.
// The curve ends before the first point after point 0 whose time is 0, or
// after point 100. Never reads outside the 101 points, whatever the times.
double CurveThrust(const MotorRecord& motor, double tau);

// The same for motor times that never decrease from call to call: the
// search resumes at `from` (start with 1), where the previous call stopped.
// Every point it skips lay below the previous motor time, so the result is
// that of a search from point 1, whatever order the curve's times are in.
double CurveThrust(const MotorRecord& motor, double tau, std::size_t& from);

// Thrust in N of the slot's motors (slot 0..2) of a stage at flight time t:
// the curve at t - runIgnitionTime, times the slot's count.
double MotorThrust(const StageRecord& stage, std::size_t slot, double t);
// The same along a pass of increasing t, with a search cursor as above.
double MotorThrust(const StageRecord& stage, std::size_t slot, double t, std::size_t& from);

// Propellant in kg that the slot's motors burn in the step at flight time t:
// each burns its propellant evenly over its burn time, none after it and
// none for a negative count.
double MotorPropellantUse(const StageRecord& stage, std::size_t slot, double t, double timeStep);

}  // namespace komet
