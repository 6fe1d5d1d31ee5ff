// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "flightlog/flight_log.h"
#include "model/rocket_record.h"
#include "sim/sim_constants.h"
#include "sim/simulation.h"

namespace komet {

// The range of drag coefficients a fit searches, and how closely.
inline constexpr double kFitCwMin = 0.05;
inline constexpr double kFitCwMax = 3.0;
inline constexpr double kFitCwTolerance = 0.001;

// A simulated flight held against a measured one.
struct FlightComparison {
  double measuredApogee = 0.0, measuredApogeeTime = 0.0;    // m, s since launch
  double predictedApogee = 0.0, predictedApogeeTime = 0.0;  // m, s since launch
  double apogeeDifferencePercent() const { return (predictedApogee / measuredApogee - 1.0) * 100.0; }
};

// "Messflug flug.csv: Gipfel 302,1 m nach 7,65 s; berechnet 303,9 m nach
// 7,65 s (+0,6 %)".
std::string ComparisonText(const FlightComparison& comparison, const std::string& fileName,
                           char decimalSeparator);

// The drag coefficients a measured flight implies.
struct CwFit {
  FlightComparison comparison;  // with the rocket's own cw
  double rocketCw = 0.0;
  double cwApogee = 0.0;          // the simulated apogee equals the measured one
  double apogeeAtCwApogee = 0.0;  // m
  double cwAscent = 0.0;          // least squares over the height from launch to apogee
  double rmsAscent = 0.0;         // m, what remains at cwAscent
  double apogeeAtCwAscent = 0.0;  // m
  int runs = 0;                   // full runs of the simulation the fit took
};

// When the simulated rocket first reaches 3 m, s (interpolated); 0 when it
// never does.
double SimulatedRiseTime(const Simulation& simulation);

// The simulation's clock at the recording's time 0: both flights are set
// side by side where they pass 3 m, s.
double SimulatedLaunchTime(const Simulation& simulation, const FlightLog& log);

// The simulated height at `t` seconds on the simulation's clock, m,
// interpolated between the samples and held at the flight's ends.
double SimulatedHeightAt(const Simulation& simulation, double t);

// Measured against predicted apogee for the last run of `simulation`.
FlightComparison CompareFlight(const Simulation& simulation, const FlightLog& log);

// Flies `rocket` with trial drag coefficients, everything else unchanged.
// Throws KometError (German, numbers with `decimalSeparator`) when no cw in
// kFitCwMin..kFitCwMax reaches the measured apogee.
CwFit FitCw(const RocketRecord& rocket, const SimConstants& constants, const FlightLog& log,
            char decimalSeparator = '.');

}  // namespace komet
