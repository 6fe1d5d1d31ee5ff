// SPDX-License-Identifier: GPL-3.0-or-later
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
  const FlightResults& results;
  const RunConstants& constants;
};

// The view of the simulation's current results.
FlightView MakeFlightView(const Simulation& simulation);

// The end time the plot and the report scale to: a flight that ended at 0
// is drawn as 1 s long, so that the time scale stays finite.
double DrawnEndTime(const FlightResults& results);

// Highest index that holds flight data: lastSample bounded by the table
// (0 when the table is empty).
std::size_t LastFlightIndex(const FlightView& flight);

// The sample SampleBefore(t), its index clamped to 0..LastFlightIndex: the
// stale entries after the series and anything outside the table are never
// read. An empty table gives an all-zero sample.
const FlightSample& ClampedSampleBefore(const FlightView& flight, double t);

// SampleBefore(t) when it lies in 0..LastFlightIndex; nothing otherwise, and
// nothing for a time before 0 (a marker there is not drawn).
std::optional<std::size_t> FlightIndexBefore(const FlightView& flight, double t);

// The delays offered by the main motor: stage 1, slot 1.
std::array<std::int8_t, 4> MainMotorDelays(const RocketRecord& rocket);

}  // namespace komet
