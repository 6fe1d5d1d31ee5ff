// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "model/rocket_record.h"
#include "sim/atmosphere.h"
#include "sim/flight_results.h"
#include "sim/sim_constants.h"

namespace komet {

// The flight computation and its results. The main window owns one for the
// life of the program; the sample table is allocated once, here, so a run
// allocates nothing.
class Simulation {
 public:
  Simulation();

  // Prepares the rocket (its working values change), builds the thrust
  // schedule and integrates the flight; never fails. The recovery comes
  // from the rocket's block, the air from the constants' launch site.
  void RunSimulation(RocketRecord& rocket, const SimConstants& constants);

  // What the empty rocket does to the results: they may no longer be shown.
  void InvalidateResults() { results_.resultsValid = false; }

  // How far a run flies. The motor guide reads no step beyond its figures:
  // the apogee, to find a delay, or the landing, whose steady end under an
  // opened device it computes at the terminal speed of the air the rocket
  // sinks through (FlightResults::steadyFrom) rather than flying it.
  enum class FlightEnd { Full, Apogee, SteadyDescent };
  void SetFlightEnd(FlightEnd end) { flightEnd_ = end; }

  const FlightResults& results() const { return results_; }
  const RunConstants& constants() const { return constants_; }

  // The whole table, indices 0..70000; entries after the end marker are stale.
  std::span<const FlightSample> samples() const { return samples_; }

  // Index of the last sample of the series (the one before the end marker),
  // 0 when the series is empty.
  std::size_t lastSample() const { return lastSample_; }

  // SampleBefore(t), the index readers take for a time, when it lies in
  // 0..lastSample(); nothing otherwise (or for a time that is not finite).
  std::optional<std::size_t> SampleIndexAt(double t) const;

 private:
  void RaketeVorbereiten(RocketRecord& rocket, const SimConstants& constants);
  void PrepareStages(RocketRecord& rocket);
  void BuildThrustSchedule(RocketRecord& rocket);
  void IntegrateFlight(RocketRecord& rocket);
  void MarkEnd(std::size_t index);  // writes the end marker of a pass
  void FindLastSample();

  std::vector<FlightSample> samples_;  // kSampleTableSize entries
  std::size_t lastSample_ = 0;
  std::size_t seriesEnd_ = 1;  // index of the end marker written last
  FlightResults results_;
  RunConstants constants_;
  DensityTable density_;
  FlightEnd flightEnd_ = FlightEnd::Full;
};

}  // namespace komet
