// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/flight_view.h"

#include <algorithm>

#include "sim/simulation.h"

namespace komet {

FlightView MakeFlightView(const Simulation& simulation) {
  return {simulation.samples(), simulation.lastSample(), simulation.results(), simulation.constants()};
}

double DrawnEndTime(const FlightResults& results) {
  return results.flightEndTime == 0.0 ? 1.0 : results.flightEndTime;
}

std::size_t LastFlightIndex(const FlightView& flight) {
  if (flight.samples.empty()) return 0;
  return std::min(flight.lastSample, flight.samples.size() - 1);
}

const FlightSample& ClampedSampleBefore(const FlightView& flight, double t) {
  static const FlightSample kNone{};
  if (flight.samples.empty()) return kNone;
  const auto last = static_cast<std::int64_t>(LastFlightIndex(flight));
  return flight.samples[static_cast<std::size_t>(std::clamp<std::int64_t>(SampleBefore(t), 0, last))];
}

std::optional<std::size_t> FlightIndexBefore(const FlightView& flight, double t) {
  if (!(t >= 0.0) || flight.samples.empty()) return std::nullopt;
  const std::int64_t n = SampleBefore(t);
  if (n > static_cast<std::int64_t>(LastFlightIndex(flight))) return std::nullopt;
  return static_cast<std::size_t>(n);
}

std::array<std::int8_t, 4> MainMotorDelays(const RocketRecord& rocket) {
  return rocket.stages[0].motors[0].delays;
}

}  // namespace komet
