// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/motor_fit.h"

#include <cmath>

namespace komet {
namespace {

double TenthsOfMm(double metres) {
  return std::round(metres * 10000.0) / 10.0;
}

}  // namespace

MountLimit LimitOf(const MotorMount& mount) {
  return {TenthsOfMm(mount.diameter), TenthsOfMm(mount.length + mount.overhang)};
}

MountFit FitOf(const MountLimit& limit, double diameterMm, double lengthMm) {
  if (limit.diameterMm > 0.0 && diameterMm > limit.diameterMm + kMountDiameterToleranceMm)
    return MountFit::TooWide;
  if (limit.lengthMm > 0.0 && lengthMm > limit.lengthMm) return MountFit::TooLong;
  return MountFit::Fits;
}

StageMount StageMountOf(const RocketShape* shape, int stage, const std::optional<MotorDetails>& motor) {
  const auto s = static_cast<std::size_t>(stage);
  if (shape && s < shape->stages.size() && shape->stages[s].mount.diameter > 0.0)
    return {shape->stages[s].mount, StageMount::Source::Shape};
  if (motor && motor->diameterMm > 0.0)
    return {{motor->diameterMm / 1000.0, motor->lengthMm / 1000.0, 0.0}, StageMount::Source::Motor};
  return {};
}

StageMount StageMountOf(const RocketRecord& rocket, const RocketShape* shape, int stage) {
  const StageRecord& s = rocket.stages[static_cast<std::size_t>(stage)];
  const std::optional<MotorDetails> motor = s.counts[0] > 0 ? ReadMotorDetails(s.motors[0]) : std::nullopt;
  return StageMountOf(shape, stage, motor);
}

}  // namespace komet
