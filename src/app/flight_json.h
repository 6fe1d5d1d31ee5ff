// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>

#include "model/rocket_record.h"
#include "sim/flight_safety.h"
#include "sim/remedies.h"
#include "sim/simulation.h"
#include "sim/stability.h"

namespace komet {

// The scalar results, the recovery's figures (null without recovery), the
// delay check, the warnings and their remedies as a JSON object, numbers at
// full precision. The recommended delay and the delays come from
// `freeAscent` (Document::freeAscent); none: the flight is its own.
std::string ResultsJson(const Simulation& simulation, const std::optional<StabilityFigures>& stability = {},
                        const SafetyInputs& safety = {}, const Simulation* freeAscent = nullptr);

// Remedies as a JSON array of {"rule": the rule's key, "text", "value"}, on
// one line.
std::string RemediesJson(std::span<const Remedy> remedies);

}  // namespace komet
