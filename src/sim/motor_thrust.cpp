#include "sim/motor_thrust.h"

#include <algorithm>

namespace komet {
namespace {

// The straight line through (x0, y0) and (x1, y1) at x; a vertical segment
// has slope 0.
double Interpolate(double x0, double y0, double x1, double y1, double x) {
  const double slope = x1 == x0 ? 0.0 : (y1 - y0) / (x1 - x0);
  return (x - x0) * slope + y0;
}

}  // namespace

double CurveThrust(const MotorRecord& motor, double tau, std::size_t& from) {
  const auto& time = motor.curveTime;
  const auto& thrust = motor.curveThrust;
  for (std::size_t p = std::max<std::size_t>(from, 1); p < MotorRecord::kCurvePoints; ++p) {
    from = p;
    // A time of exactly 0 after point 0 is the first unused point: the
    // curve ended at p - 1 and tau lies beyond it (a one-point curve still
    // holds its thrust up to its own time).
    if (time[p] == 0.0) return p == 1 && tau <= time[0] ? thrust[0] : 0.0;
    if (tau <= time[p]) return Interpolate(time[p - 1], thrust[p - 1], time[p], thrust[p], tau);
  }
  from = MotorRecord::kCurvePoints;
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
  const MotorRecord& motor = stage.motors[slot];
  const double tau = t - stage.runIgnitionTime;
  if (stage.counts[slot] < 0 || tau >= motor.burnTime) return 0.0;
  // Every motor of the slot burns its own propellant.
  return timeStep * (motor.propellantMass / motor.burnTime) * stage.counts[slot];
}

}  // namespace komet
