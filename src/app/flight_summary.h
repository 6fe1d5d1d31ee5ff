// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "model/rocket_record.h"
#include "sim/flight_safety.h"
#include "sim/simulation.h"

namespace komet {

// komet-sim's report of a flight for a reader: one German line per figure
// (apogee, maximum velocity, burnout, recommended and best published delay,
// rail-exit velocity, with a shape the balance, with recovery what it did)
// and the warnings (the balance judged too), numbers
// with `decimalSeparator`.
// Without a computed flight it says so in one line. The rules judge with
// `safety` (the field, the shape); the delays come from `freeAscent`
// (Document::freeAscent); none: the flight is its own.
std::string FlightSummary(const Simulation& simulation, const RocketRecord& rocket, char decimalSeparator,
                          const SafetyInputs& safety = {}, const Simulation* freeAscent = nullptr);

}  // namespace komet
