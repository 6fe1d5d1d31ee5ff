// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/recovery.h"

namespace komet {

// What the recovery did in a computed flight. Speeds are magnitudes (m/s,
// downward or upward as the flight went), times in s from ignition.
struct RecoveryFigures {
  Recovery recovery;
  bool deployed = false;          // opened before the flight ended
  double deploymentTime = 0.0;    // s
  double deploymentHeight = 0.0;  // m
  double deploymentSpeed = 0.0;   // m/s
  double poweredEnd = 0.0;        // s, when the top stage's last motor burns out
  double openingShock = 0.0;      // g, the largest deceleration from deployment on
  double descentRate = 0.0;       // m/s, mean over the last 5 s before landing
  bool landed = false;            // false: the flight's last step came first
  double landingSpeed = 0.0;      // m/s at touch-down (or the last step)
  double flightTime = 0.0;        // s, ignition to landing
  double wind = 0.0;              // m/s the drift is estimated for
  double drift = 0.0;             // m, wind × time from apogee to landing: an estimate
  double landingMass = 0.0;       // kg, what comes down under the device
};

// The span before landing that the descent rate is the mean of.
inline constexpr double kDescentRateSpan = 5.0;  // s

// Descent-rate and deployment limits of hobby recovery: over 6 m/s parts
// may break, over 9 m/s they will; under 2 m/s the wind carries the rocket
// far.
inline constexpr double kMaxDescentRateAmber = 6.0;  // m/s
inline constexpr double kMaxDescentRateRed = 9.0;    // m/s
inline constexpr double kMinDescentRate = 2.0;       // m/s

}  // namespace komet
