// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/rocket_record.h"
#include "sim/flight_safety.h"
#include "sim/remedies.h"
#include "sim/simulation.h"

namespace komet {

// The flight at one moment of the computed series.
struct FlightPoint {
  double time = 0.0;      // s
  double height = 0.0;    // m
  double velocity = 0.0;  // m/s
  bool inFlight = true;   // false: the moment lies after the computed flight (its last sample is shown)
};

// What one of the main motor's ejection delays would do.
struct DelayCheck {
  int delay = 0;            // s, as the motor is sold
  FlightPoint ejection;     // at burnout + delay
  double fromApogee = 0.0;  // s; negative = before apogee
  double tolerance = 0.0;   // s: ±20 % or 1.5 s, whichever is larger, at most 3 s
  FlightPoint early, late;  // at both ends of the tolerance band
  bool best = false;        // the delay closest to the recommended one
  bool tooFast = false;     // TooFastAtEjection
};

struct FlightAnalysis {
  std::vector<DelayCheck> delays;          // from the free ascent
  std::optional<double> recommendedDelay;  // s, from the free ascent; none without a computed flight
  FlightFigures figures;                   // what the rules judged
  std::vector<FlightWarning> warnings;     // every rule that fired, red and amber
  std::vector<Remedy> remedies;            // what would clear a finding, where the flight shows it
};

// What the main motor's delays would do, read from the free ascent: the
// plan flown without recovery. An opened device slows the rocket and moves
// its apogee; the charge that is to open it fires in the flight before.
struct DelayAdvice {
  double recommendedDelay = 0.0;   // s, from burnout to the free ascent's apogee
  std::vector<DelayCheck> delays;  // every published delay, ascending; the best one marked
  std::optional<int> best;         // none: no delay is published
};

// The advice of a computed free ascent; empty without a flight.
DelayAdvice AdviseDelays(const Simulation& freeAscent);
// Its recommended delay alone; none without a flight.
std::optional<double> RecommendedDelay(const Simulation& freeAscent);

// Flies `plan` without its recovery into `into`, as far as the main motor's
// delays read (FlightEnd::Ascent); `into` keeps that flight end.
void FlyFreeAscent(const FlightPlan& plan, Simulation& into);

// The free ascent of the plan `flight` flew: the flight itself when it had
// no recovery, else flown into `spare`.
const Simulation& FreeAscentOf(const Simulation& flight, Simulation& spare);

// The delay table and the findings of the safety rules for the last run
// (its motors from the plan it flew); empty without a computed flight. The
// delays come from `freeAscent` (FreeAscentOf), everything else from the
// flight; without it the flight is taken for its own free ascent, which it
// is only without recovery.
FlightAnalysis AnalyseFlight(const Simulation& flight, char decimalSeparator, const SafetyInputs& inputs = {},
                             const Simulation* freeAscent = nullptr);
// The same with the delays already read from the free ascent.
FlightAnalysis AnalyseFlight(const Simulation& flight, DelayAdvice advice, char decimalSeparator,
                             const SafetyInputs& inputs = {});

// What the safety rules judge of the last run and its delay advice.
FlightFigures MeasureFlight(const Simulation& flight, const DelayAdvice& advice);

// The speed where the rocket leaves the launch rail, m/s, found inside the
// step that passes the rail's end, so that it follows the rail's length
// smoothly; nothing when the rocket never leaves the rail.
std::optional<double> RailExitSpeed(const Simulation& simulation);

// The speed at `height` inside a step that begins at `from` and whose
// sample holds `velocity` and `accel`: exact for the integrator's motion
// within a step (constant acceleration, the height moved by velocity × step).
double SpeedWithinStep(double from, double velocity, double accel, double timeStep, double height);

// The published delay closest to `wanted`; of two within a tenth of a
// second as close, the shorter, since an early charge costs less than a
// late one. Nothing when none is published.
std::optional<int> ClosestDelay(std::span<const int> published, double wanted);

// The tolerance band of a delay, s.
double DelayTolerance(int delay);

// The flight at time t (the sample of that grid time), bounded to the series.
FlightPoint PointAt(const Simulation& simulation, double t);

// What the recovery did in the last run; nothing when the run had none.
std::optional<RecoveryFigures> MeasureRecovery(const Simulation& simulation);

// The canopy diameter in mm that lets a mass in kg come down at a descent
// rate, with the rocket's own drag area (cw × A, m²) helping: from
// m g = ρ/2 v² (cw A + cw_chute A_chute). 0 when the rocket alone is slow
// enough.
double ChuteDiameterFor(double massKg, double descentRate, double rocketDragArea, double airDensity,
                        double chuteCw, double gravity);

// The rocket's own drag area while only the top stage flies, m²: cw times
// its widest cross-section plus its other areas.
double TopStageDragArea(const RocketRecord& rocket);

// The air density at the ground of the launch site, kg/m³: the standard
// atmosphere's when it is on, the constants' otherwise.
double GroundDensity(const RunConstants& constants);

}  // namespace komet
