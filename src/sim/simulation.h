// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "model/rocket_record.h"
#include "sim/atmosphere.h"
#include "sim/flight_plan.h"
#include "sim/flight_results.h"
#include "sim/sim_constants.h"

namespace komet {

// The flight computation and its results. The main window owns one for the
// life of the program; the sample table is allocated once, here, so a run
// allocates nothing.
class Simulation {
 public:
  Simulation();

  // Builds the thrust schedule and integrates the flight of the plan;
  // never fails. The plan is only read; what the stages came to is in the
  // results. The plan's motors must outlive the results' readers.
  void Run(const FlightPlan& plan);
  // The flight of the rocket as it is, with its recovery block.
  void RunSimulation(const RocketRecord& rocket, const SimConstants& constants) {
    Run(MakeFlightPlan(rocket, constants));
  }
  // A plan refers to the rocket's motors: a temporary would not outlive it.
  void RunSimulation(const RocketRecord&& rocket, const SimConstants& constants) = delete;

  // What the empty rocket does to the results: they may no longer be shown.
  void InvalidateResults() { results_.resultsValid = false; }

  // How far a run flies. The delay advice and the motor guide read no step
  // beyond their figures. Ascent: past the apogee (and every thrust) on to
  // `ascentSpan` s after burnout, whichever is later, so that every sample
  // up to a step beyond that time is the full flight's; the delays read no
  // further. SteadyDescent: to the landing, whose steady end under an
  // opened device is computed at the terminal speed of the air the rocket
  // sinks through (FlightResults::steadyFrom) rather than flown.
  enum class FlightEnd { Full, Ascent, SteadyDescent };
  void SetFlightEnd(FlightEnd end, double ascentSpan = 0.0) {
    flightEnd_ = end;
    ascentSpan_ = ascentSpan;
  }

  const FlightResults& results() const { return results_; }
  const FlightPlan& plan() const { return plan_; }  // the one flown last
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
  void Prepare();
  void BuildThrustSchedule();
  void IntegrateFlight();
  void MarkEnd(std::size_t index);  // writes the end marker of a pass
  void FindLastSample();

  std::vector<FlightSample> samples_;  // kSampleTableSize entries
  std::size_t lastSample_ = 0;
  std::size_t seriesEnd_ = 1;  // index of the end marker written last
  FlightPlan plan_;
  FlightResults results_;
  RunConstants constants_;
  DensityTable density_;
  FlightEnd flightEnd_ = FlightEnd::Full;
  double ascentSpan_ = 0.0;  // s after burnout, with FlightEnd::Ascent
};

}  // namespace komet
