// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/motor_thrust.h"

#include <algorithm>
#include <limits>

namespace komet {
namespace {

// The slope of the straight line through (x0, y0) and (x1, y1); a vertical
// segment has slope 0.
double Slope(double x0, double y0, double x1, double y1) {
  return x1 == x0 ? 0.0 : (y1 - y0) / (x1 - x0);
}

// Propellant in kg that the slot's motors burn in a step while they burn.
double BurningStepUse(const MotorRecord& motor, std::int32_t count, double timeStep) {
  if (count < 0) return 0.0;
  // Every motor of the slot burns its own propellant.
  return timeStep * (motor.propellantMass / motor.burnTime) * count;
}

}  // namespace

double CurveThrust(const MotorRecord& motor, double tau, std::size_t& from) {
  CurveCursor cursor;
  cursor.from = from;
  const double thrust = SearchCurve(motor, tau, cursor);
  from = cursor.from;
  return thrust;
}

double SearchCurve(const MotorRecord& motor, double tau, CurveCursor& cursor) {
  cursor.segmentEnd = std::numeric_limits<double>::quiet_NaN();
  const auto& time = motor.curveTime;
  const auto& thrust = motor.curveThrust;
  for (std::size_t p = std::max<std::size_t>(cursor.from, 1); p < MotorRecord::kCurvePoints; ++p) {
    cursor.from = p;
    // A time of exactly 0 after point 0 is the first unused point: the
    // curve ended at p - 1 and tau lies beyond it (a one-point curve still
    // holds its thrust up to its own time).
    if (time[p] == 0.0) return p == 1 && tau <= time[0] ? thrust[0] : 0.0;
    if (tau <= time[p]) {
      cursor.segmentEnd = time[p];
      cursor.x0 = time[p - 1];
      cursor.y0 = thrust[p - 1];
      cursor.slope = Slope(time[p - 1], thrust[p - 1], time[p], thrust[p]);
      return cursor.OnSegment(tau);
    }
  }
  cursor.from = MotorRecord::kCurvePoints;
  return 0.0;
}

double CurveThrust(const MotorRecord& motor, double tau) {
  std::size_t from = 1;
  return CurveThrust(motor, tau, from);
}

double MotorThrust(const StageRecord& stage, std::size_t slot, double t, std::size_t& from) {
  const double tau = t - stage.runIgnitionTime;
  return CurveThrust(stage.motors[slot], tau, from) * stage.counts[slot];
}

double MotorThrust(const StageRecord& stage, std::size_t slot, double t) {
  std::size_t from = 1;
  return MotorThrust(stage, slot, t, from);
}

double MotorPropellantUse(const StageRecord& stage, std::size_t slot, double t, double timeStep) {
  const double tau = t - stage.runIgnitionTime;
  if (tau >= stage.motors[slot].burnTime) return 0.0;
  return BurningStepUse(stage.motors[slot], stage.counts[slot], timeStep);
}

SlotTrack::SlotTrack(const MotorRecord& motor, std::int32_t count, double ignitionTime, double timeStep)
    : motor_(&motor),
      ignitionTime_(ignitionTime),
      count_(count),
      burningUse_(BurningStepUse(motor, count, timeStep)) {}

}  // namespace komet
