// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
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
  std::vector<DelayCheck> delays;
  FlightFigures figures;                // what the rules judged
  std::vector<FlightWarning> warnings;  // every rule that fired, red and amber
  std::vector<Remedy> remedies;         // what would clear a finding, where the flight shows it
};

// The delay table and the findings of the safety rules for the last run
// (its motors from the plan it flew); empty without a computed flight.
FlightAnalysis AnalyseFlight(const Simulation& simulation, char decimalSeparator,
                             const SafetyInputs& inputs = {});

// What the safety rules judge of the last run and its delay table.
FlightFigures MeasureFlight(const Simulation& simulation, const std::vector<DelayCheck>& delays);

// The speed where the rocket leaves the launch rail, m/s, found inside the
// step that passes the rail's end, so that it follows the rail's length
// smoothly; nothing when the rocket never leaves the rail.
std::optional<double> RailExitSpeed(const Simulation& simulation);

// The speed at `height` inside a step that begins at `from` and whose
// sample holds `velocity` and `accel`: exact for the integrator's motion
// within a step (constant acceleration, the height moved by velocity × step).
double SpeedWithinStep(double from, double velocity, double accel, double timeStep, double height);

// The main motor's published delay closest to the last run's recommended
// one (the shorter of two as close); nothing when none is published.
std::optional<int> BestDelay(const Simulation& simulation);

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
