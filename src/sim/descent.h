// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "model/recovery.h"
#include "sim/atmosphere.h"
#include "sim/time_grid.h"

namespace komet {

// The recovery device along a flight: when it opens and what it adds to
// the drag.
struct DeviceState {
  bool fitted = false;  // the flight goes on past the calculation period to landing
  bool atApogee = false;
  bool deployed = false;
  std::int64_t deployMs = std::numeric_limits<std::int64_t>::max();  // by delay; once open: when it opened
  std::size_t deployStep = 0;
  double perDensity = 0.0;   // m², the opened device's cw × A / 2 (K per kg/m³ of air)
  double inflationMs = 0.0;  // ms from opening to full drag
};

// The device of a plan, its delay counted from the main motor's burnout.
DeviceState SetUpDevice(const std::optional<Recovery>& recovery, double burnoutTime);

// The recovery opens at the first step at or after its time, or, at
// apogee, at the first step after the rocket stopped rising.
inline bool Deploys(const DeviceState& d, std::int64_t tMs, bool grounded, double velocity) {
  if (d.atApogee) return !grounded && velocity <= 0.0;
  return tMs >= d.deployMs;
}

// The share of the device's drag while it inflates, 1 once open.
inline double OpenShare(const DeviceState& d, std::int64_t tMs) {
  if (!(d.inflationMs > 0.0)) return 1.0;
  return std::min(1.0, static_cast<double>(tMs - d.deployMs + kStepMs) / d.inflationMs);
}

// Sinking at the terminal speed of the drag factor (kg/m), within 1 %, with
// the device fully open: from here the descent is known without flying it.
// (What is left of the difference dies away within a second or two and
// moves the landing by hundredths of a second.)
bool SinksSteadily(const DeviceState& d, std::int64_t tMs, double velocity, double mass, double gravity,
                   double dragFactor);

// The rest of a steady descent: its time and the speed at touch-down.
struct SteadyLanding {
  double rest = 0.0;             // s
  double landingVelocity = 0.0;  // m/s, negative
};

// From `height` down, fully open, with the rocket's own drag per density
// (m²): at the terminal speed of each 10 m of the standard atmosphere `air`
// or, without it, of the constant density.
SteadyLanding LandSteadily(const DeviceState& d, double rocketPerDensity, double height, double mass,
                           double gravity, const DensityTable* air, double airDensity);

}  // namespace komet
