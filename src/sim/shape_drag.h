// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/rocket_shape.h"

namespace komet {

// A subsonic drag build-up from the rocket's shape, each share a drag
// coefficient on the same reference area, so they add up.
struct ShapeDrag {
  double friction = 0.0;  // skin friction of body and fins with their form factors
  double base = 0.0;      // the wake behind the aft end (coasting)
  double nose = 0.0;      // pressure drag of a cone's point
  double finEdges = 0.0;  // the fins' square trailing edges
  double total() const { return friction + base + nose + finEdges; }
};

// The roughness the finish stands for, m: smooth paint, ordinary paint,
// unfinished card and wood.
double FinishRoughness(SurfaceFinish finish);

// Drag of the whole stack at `speed` (m/s), referred to `referenceArea`
// (m²; Komet's cw is used with the widest tube's cross-section plus the
// other frontal areas at lift-off). Skin friction: a turbulent flat plate,
// 1/(1.50 ln Re - 5.6)², not below the rough-wall value 0.032 (k/L)^0.2;
// body form factor 1 + 1/(2 L/d), fins 1 + 2 t/c; base drag 0.12 + 0.13 M²
// on the aft cross-section, the same on the fins' trailing edges; a cone
// 0.8 sin² of its half angle on its base. An estimate: measured values of
// model rockets often lie 10 to 30 % from such a sum.
ShapeDrag DragFromShape(const RocketShape& shape, double referenceArea, double speed,
                        double kinematicViscosity = 1.5e-5, double speedOfSound = 340.3);

}  // namespace komet
