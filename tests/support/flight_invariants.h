// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstddef>
#include <span>
#include <string>

#include "sim/flight_results.h"
#include "sim/simulation.h"

namespace komet::testing {

namespace detail {

// The first sample index whose field holds the series' largest positive
// value, or 0 when none is positive (the maxima start at 0).
inline std::size_t FirstMaximum(std::span<const FlightSample> samples, std::size_t last,
                                double FlightSample::*field) {
  std::size_t at = 0;
  double best = 0.0;
  for (std::size_t n = 1; n <= last; ++n)
    if (samples[n].*field > best) best = samples[n].*field, at = n;
  return at;
}

// Whether the scalar maximum, and the time of the first step reaching it,
// agree with the series.
inline bool MaximumAgrees(std::span<const FlightSample> samples, std::size_t last,
                          double FlightSample::*field, double max, const double* time) {
  const std::size_t at = FirstMaximum(samples, last, field);
  if (max != (at == 0 ? 0.0 : samples[at].*field)) return false;
  return time == nullptr || *time == (at == 0 ? 0.0 : samples[at].time);
}

inline std::string SeriesFault(std::span<const FlightSample> s, std::size_t last) {
  if (s.size() != kSampleTableSize) return "sample table resized";
  if (last > static_cast<std::size_t>(kMaxSteps)) return "series longer than the step bound";
  if (s[last + 1].time != kEndMarkerTime) return "end marker not after the last sample";
  for (std::size_t n = 1; n <= last; ++n) {
    const FlightSample& x = s[n];
    const std::string at = ", sample " + std::to_string(n);
    if (x.time != static_cast<double>(5 * (n - 1)) / 1000.0) return "sample off the time grid" + at;
    for (double v : {x.thrust, x.height, x.force, x.accel, x.velocity, x.propellantUsed})
      if (!std::isfinite(v)) return "sample value not finite" + at;
    if (x.height < 0.0) return "recorded height below the ground" + at;
  }
  return "";
}

}  // namespace detail

// What every run must leave, whatever the rocket and the constants: a
// series within the table, on the 5 ms grid, finite in every field up to the
// end marker; scalar results that are finite and agree with the series; a
// run without flight that says so. Returns the first broken rule, or "".
inline std::string FlightFault(const Simulation& sim) {
  const std::span<const FlightSample> s = sim.samples();
  const std::size_t last = sim.lastSample();
  const FlightResults& r = sim.results();
  if (std::string fault = detail::SeriesFault(s, last); !fault.empty()) return fault;
  for (double x : {r.peakThrust, r.maxAccel, r.maxVelocity, r.maxVelocityTime, r.maxHeight, r.maxHeightTime,
                   r.maxForce, r.burnoutTime, r.flightEndTime, r.recommendedDelay()})
    if (!std::isfinite(x)) return "result not finite";
  if (r.peakThrust < 0.0) return "negative peak thrust";
  if (!r.resultsValid && !r.noFlight) return "results invalid without noFlight";
  if (!r.resultsValid || r.noFlight) return "";
  if (r.flightEndTime != static_cast<double>(5 * last) / 1000.0) return "flight end time";
  if (r.deployed && (r.deploymentStep < 1 || r.deploymentStep > last + 1)) return "deployment step";
  if (!std::isfinite(r.landingVelocity) || r.landingVelocity > 0.0) return "landing velocity";
  using detail::MaximumAgrees;
  if (!MaximumAgrees(s, last, &FlightSample::height, r.maxHeight, &r.maxHeightTime)) return "maxHeight";
  if (!MaximumAgrees(s, last, &FlightSample::velocity, r.maxVelocity, &r.maxVelocityTime))
    return "maxVelocity";
  if (!MaximumAgrees(s, last, &FlightSample::accel, r.maxAccel, nullptr)) return "maxAccel";
  if (!MaximumAgrees(s, last, &FlightSample::force, r.maxForce, nullptr)) return "maxForce";
  for (double t : {r.burnoutTime, r.maxHeightTime, r.recommendedDelay(), -1.0, 1e300}) {
    const auto index = sim.SampleIndexAt(t);
    if (index && *index > last) return "sample index beyond the series";
  }
  return "";
}

}  // namespace komet::testing
