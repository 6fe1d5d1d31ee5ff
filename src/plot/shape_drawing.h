// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "common/canvas.h"
#include "model/rocket_shape.h"

namespace komet {

// Where the rocket's balance and lift centres lie, m from the nose tip.
struct ShapeMarks {
  std::optional<double> cg;
  std::optional<double> cp;
};

// The stack seen from the side, nose to the left, scaled to fit the box:
// outline, fins above and below, the joints between stages, and the centre
// of gravity ("SP") and of pressure ("DP") marked on the axis with their
// labels above the drawing. Draws nothing for a shape without stages.
void DrawRocketSide(Canvas& canvas, const RocketShape& shape, int left, int top, int width, int height,
                    const ShapeMarks& marks);

}  // namespace komet
