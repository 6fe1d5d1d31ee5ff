// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>

#include "model/rocket_record.h"
#include "sim/remedies.h"
#include "sim/simulation.h"
#include "sim/stability.h"

namespace komet {

// The scalar results, the recovery's figures (null without recovery), the
// delay check, the warnings and their remedies as a JSON object, numbers at
// full precision.
std::string ResultsJson(const Simulation& simulation, const std::optional<StabilityFigures>& stability = {});

// Remedies as a JSON array of {"rule": the rule's key, "text", "value"}, on
// one line.
std::string RemediesJson(std::span<const Remedy> remedies);

}  // namespace komet
