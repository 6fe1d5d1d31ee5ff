#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/rocket_record.h"
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
  bool tooFast = false;     // ejection at more than kMaxEjectionSpeed
};

inline constexpr double kMaxEjectionSpeed = 20.0;  // m/s
inline constexpr double kMinRailExitSpeed = 15.0;  // m/s
inline constexpr double kMinThrustToWeight = 5.0;

struct FlightWarning {
  enum class Kind { RailExitSpeed, ThrustToWeight, IgnitionAfterApogee, SeparationNotInFlight };
  Kind kind;
  int stage = 0;        // 1..3 where it concerns a stage, else 0
  double figure = 0.0;  // the number the warning is about, SI units
  std::string text;     // German, numbers with the given separator
};

struct FlightAnalysis {
  std::vector<DelayCheck> delays;
  std::vector<FlightWarning> warnings;
};

// The delay table and the warnings of the last run; empty without a
// computed flight. `rocket` is the record the run worked on.
FlightAnalysis AnalyseFlight(const Simulation& simulation, const RocketRecord& rocket, char decimalSeparator);

// The velocity at the first sample above the launch rail, m/s; nothing when
// the rocket never leaves the rail.
std::optional<double> RailExitSpeed(const Simulation& simulation);

// The tolerance band of a delay, s.
double DelayTolerance(int delay);

// The flight at time t (the sample of that grid time), bounded to the series.
FlightPoint PointAt(const Simulation& simulation, double t);

// Mass at lift-off of the stages that fly, kg.
double LiftOffMass(const RocketRecord& rocket);

}  // namespace komet
