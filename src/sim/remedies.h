// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/flight_safety.h"
#include "sim/simulation.h"

namespace komet {

struct DelayCheck;
struct FlightAnalysis;

// What would turn a finding green, computed from the flight: a longer rail,
// a delay that fits, how far the apogee must come down.
struct Remedy {
  SafetyRuleId rule;
  std::string text;    // German, numbers with the given separator: "mit 1,4 m Schiene: 15,3 m/s"
  double value = 0.0;  // SI: the rail in m, the delay in s, the height in m
};

// The longest rail a remedy proposes: a 3.7 m (12 ft) rail is the longest
// clubs set up, and then for high-power motors; a model that needs more
// wants another motor, not a rail.
inline constexpr double kMaxRemedyRail = 3.7;  // m

// The shortest rail in whole tenths of a metre, longer than the run's, on
// which the rocket leaves at kMinRailExitSpeed or faster, and the speed it
// leaves with. Found from the run's samples without flying again: up to the
// old rail's end the flight is the same; beyond it the friction keeps
// acting, which the steps from there on are integrated again for. Nothing
// when no rail up to kMaxRemedyRail would do.
struct RailRemedy {
  double length = 0.0;  // m
  double speed = 0.0;   // m/s
};
std::optional<RailRemedy> LongerRail(const Simulation& simulation);

// The published delay closest to the apogee that ejects within its
// tolerance band and slowly enough; nothing when none does.
std::optional<DelayCheck> FittingDelay(std::span<const DelayCheck> delays);

// The remedies for the findings of an analysed run, in the findings' order.
std::vector<Remedy> FindRemedies(const Simulation& simulation, const FlightAnalysis& analysis,
                                 const SafetyInputs& inputs, char decimalSeparator);

// The remedy for a rule among a list; nullptr when there is none.
const Remedy* RemedyFor(std::span<const Remedy> remedies, SafetyRuleId rule);

}  // namespace komet
