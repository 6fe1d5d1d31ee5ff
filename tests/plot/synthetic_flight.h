// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "plot/flight_view.h"
#include "sim/flight_results.h"

namespace komet::testing {

// A flight series made up for drawing tests, laid out as the simulation
// lays out its table: sample n at time (n - 1) × 5 ms, an end marker after
// the last one, and stale entries beyond it that no reader may touch.
struct SyntheticFlight {
  std::vector<FlightSample> samples = std::vector<FlightSample>(kSampleTableSize);
  std::size_t lastSample = 0;
  FlightResults results;
  RunConstants constants;

  FlightView view() { return {samples, lastSample, results, constants}; }
};

// Stale data: far outside every range the plot scales to, so a read shows.
inline constexpr double kStaleValue = 1e9;

struct FlightShape {
  double thrust = 20.0;   // N while burning
  double burnTime = 1.6;  // s
  double mass = 0.5;      // kg, constant
  double period = 50.0;   // s of calculation
  double gravity = 9.81;
};

// A drag-free vertical flight with constant thrust: semi-implicit Euler on
// the 5 ms grid until landing or the end of the period.
inline SyntheticFlight MakeSyntheticFlight(const FlightShape& shape = {}) {
  SyntheticFlight f;
  f.constants.gravity = shape.gravity;
  f.constants.calcPeriod = shape.period;
  f.constants.cwValue = 0.75, f.constants.airDensity = 1.17;
  f.constants.railLength = 1.0, f.constants.railFriction = 3.0;
  FlightResults& r = f.results;
  double h = 0.0, v = 0.0;
  const int steps = std::min(static_cast<int>(shape.period * kSamplesPerSecond), kMaxSteps);
  int n = 1;
  for (; n <= steps; ++n) {
    const double t = (n - 1) * kTimeStep;
    const double thrust = t < shape.burnTime ? shape.thrust : 0.0;
    const double force = thrust - shape.mass * shape.gravity;
    const double a = force / shape.mass;
    v += a * kTimeStep;
    h += v * kTimeStep;
    if (h < 0.0 && t > 0.0) break;  // the landing step is not recorded
    if (h < 0.0) h = 0.0, v = 0.0;
    f.samples[n] = {t, thrust, h, force, a, v, 0.0};
    if (thrust > r.peakThrust) r.peakThrust = thrust;
    if (a > r.maxAccel) r.maxAccel = a;
    if (force > r.maxForce) r.maxForce = force;
    if (v > r.maxVelocity) r.maxVelocity = v, r.maxVelocityTime = t;
    if (h > r.maxHeight) r.maxHeight = h, r.maxHeightTime = t;
  }
  f.lastSample = static_cast<std::size_t>(n - 1);
  r.flightEndTime = (n - 1) * kTimeStep;
  f.samples[n].time = kEndMarkerTime;
  for (std::size_t i = static_cast<std::size_t>(n) + 1; i < f.samples.size(); ++i)
    f.samples[i] = {1.0, kStaleValue, kStaleValue, kStaleValue, kStaleValue, kStaleValue, 0.0};
  r.burnoutTime = shape.burnTime;
  r.resultsValid = true;
  return f;
}

// A flight whose series is sample 1 alone (time 0, all zero): no present stage.
inline SyntheticFlight MakeEmptySeries() {
  SyntheticFlight f;
  f.lastSample = 1;
  f.samples[2].time = kEndMarkerTime;
  f.results.resultsValid = true;
  return f;
}

}  // namespace komet::testing
