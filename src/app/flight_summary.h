// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "model/rocket_record.h"
#include "sim/flight_safety.h"
#include "sim/simulation.h"

namespace komet {

// komet-sim's report of a flight for a reader: one German line per figure
// (apogee, maximum velocity, burnout, recommended and best published delay,
// rail-exit velocity, with recovery what it did) and the warnings, numbers
// with `decimalSeparator`.
// Without a computed flight it says so in one line.
std::string FlightSummary(const Simulation& simulation, const RocketRecord& rocket, char decimalSeparator,
                          const SafetyInputs& safety = {});

}  // namespace komet
