// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/rocket_shape.h"

namespace komet {

// What komet-sim shape prints beside the shape: m from the nose tip and calibers.
struct ShapeResults {
  double cp = 0.0;
  double cg = 0.0;
  double margin = 0.0;
  double minMargin = 0.0;
  double cwEstimate = 0.0;
};

// {"stages": [...], "results": {...}}; lengths in m, stages top first,
// "results" null when there are none.
std::string ShapeJson(const RocketShape& shape, const std::optional<ShapeResults>& results);

// A shape from JSON with the keys ShapeJson writes ("results" and unknown
// keys are ignored; a missing "fins", "transition" or "nose" means none,
// "emptyCg" null or missing means estimated). Throws KometError naming the
// stage and key of a value it cannot use.
RocketShape ShapeFromJson(std::string_view json);

}  // namespace komet
