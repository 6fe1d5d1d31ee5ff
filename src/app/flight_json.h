// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "model/rocket_record.h"
#include "sim/flight_safety.h"
#include "sim/simulation.h"
#include "sim/stability.h"

namespace komet {

// The scalar results, the recovery's figures (null without recovery), the
// delay check and the warnings as a JSON object, numbers at full precision.
std::string ResultsJson(const Simulation& simulation, const std::optional<StabilityFigures>& stability = {},
                        const SafetyInputs& safety = {});

}  // namespace komet
