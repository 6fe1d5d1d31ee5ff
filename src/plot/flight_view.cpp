#include "plot/flight_view.h"

#include <algorithm>

#include "common/numbers.h"
#include "sim/simulation.h"

namespace komet {

FlightView MakeFlightView(Simulation& simulation) {
  return {simulation.samples(), simulation.lastSample(), simulation.results(), simulation.constants()};
}

std::size_t LastFlightIndex(const FlightView& flight) {
  if (flight.samples.empty()) return 0;
  return std::min(flight.lastSample, flight.samples.size() - 1);
}

const FlightSample& SampleAt(const FlightView& flight, std::int64_t n) {
  static const FlightSample kNone{};
  if (flight.samples.empty()) return kNone;
  const auto last = static_cast<std::int64_t>(LastFlightIndex(flight));
  return flight.samples[static_cast<std::size_t>(std::clamp<std::int64_t>(n, 0, last))];
}

std::optional<std::size_t> FlightIndexAt(const FlightView& flight, double t) {
  const double scaled = t * kSamplesPerSecond;
  if (!(scaled >= 0.0) || scaled > static_cast<double>(kSampleTableSize)) return std::nullopt;
  const auto n = static_cast<std::size_t>(RoundHalfEven(scaled));
  if (flight.samples.empty() || n > LastFlightIndex(flight)) return std::nullopt;
  return n;
}

std::array<std::int8_t, 4> MainMotorDelays(const RocketRecord& rocket) {
  return rocket.stages[0].motors[0].delays;
}

}  // namespace komet
