#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "model/rocket_record.h"
#include "sim/flight_results.h"

namespace komet {

class Simulation;

// What the plot, the read-out and the report read of a run. Built from the
// simulation in the program, from synthetic series in tests.
struct FlightView {
  std::span<const FlightSample> samples;  // the whole table, indices 0..70000
  std::size_t lastSample = 0;             // last sample of the series; 0 = none
  FlightResults& results;                 // readers may set flightEndTime
  const RunConstants& constants;
};

// The view of the simulation's current results.
FlightView MakeFlightView(Simulation& simulation);

// Highest index that holds flight data: lastSample bounded by the table
// (0 when the table is empty).
std::size_t LastFlightIndex(const FlightView& flight);

// The sample at index n, n clamped to 0..LastFlightIndex: the stale entries
// after the series and anything outside the table are never read. An empty
// table gives an all-zero sample.
const FlightSample& SampleAt(const FlightView& flight, std::int64_t n);

// The index Round(t × 200) readers take for a time ("one step before t"),
// when it lies in 0..LastFlightIndex; nothing otherwise.
std::optional<std::size_t> FlightIndexAt(const FlightView& flight, double t);

// The delays offered by the main motor: stage 1, slot 1.
std::array<std::int8_t, 4> MainMotorDelays(const RocketRecord& rocket);

}  // namespace komet
