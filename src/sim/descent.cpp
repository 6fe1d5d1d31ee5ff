// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/descent.h"

#include <cmath>

namespace komet {

DeviceState SetUpDevice(const std::optional<Recovery>& recovery, double burnoutTime) {
  DeviceState d;
  if (!recovery) return d;
  d.fitted = true;
  d.atApogee = recovery->deployment == Recovery::Deployment::Apogee;
  if (!d.atApogee) d.deployMs = Ms(burnoutTime + recovery->delay);
  d.perDensity = recovery->DragArea() / 2.0;
  d.inflationMs = recovery->inflationTime * kMsPerSecond;
  return d;
}

bool SinksSteadily(const DeviceState& d, std::int64_t tMs, double velocity, double mass, double gravity,
                   double dragFactor) {
  if (!d.deployed || !(velocity < 0.0) || OpenShare(d, tMs) < 1.0 || !(dragFactor > 0.0)) return false;
  const double terminal = std::sqrt(mass * gravity / dragFactor);
  return std::fabs(-velocity - terminal) <= 0.01 * terminal;
}

SteadyLanding LandSteadily(const DeviceState& d, double rocketPerDensity, double height, double mass,
                           double gravity, const DensityTable* air, double airDensity) {
  // Steady means fully open: the drag factor per density stays.
  const double perDensity = rocketPerDensity + d.perDensity;
  auto terminal = [&](double h) {
    const double rho = air != nullptr ? air->At(h) : airDensity;
    return std::sqrt(mass * gravity / (rho * perDensity));
  };
  double rest = 0.0;
  if (air == nullptr) {
    rest = height / terminal(0.0);
  } else {
    // The time through each 10 m of air at its own terminal speed.
    constexpr double kSlice = 10.0;
    for (double top = height; top > 0.0; top -= kSlice) {
      const double bottom = std::max(0.0, top - kSlice);
      rest += (top - bottom) / terminal((top + bottom) / 2.0);
    }
  }
  return {rest, -terminal(0.0)};
}

}  // namespace komet
