// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/rocket_shape.h"

namespace komet::testing {

// A classic 25 mm model: 75 mm cone, 300 mm tube, three fins flush with the
// aft end, an 18 mm mount with 5 mm of overhang; its balance estimated.
inline StageShape ClassicModelStage() {
  StageShape s;
  s.nose = NoseCone{NoseShape::Cone, 0.075};
  s.bodyLength = 0.300;
  s.diameter = 0.025;
  s.fins = FinSet{3, 0.06, 0.03, 0.05, 0.03, 0.002, 0.0};
  s.mount = MotorMount{0.018, 0.07, 0.005};
  return s;
}

// A finned booster tube below it, 150 mm long.
inline StageShape BoosterStage(int fins, double diameter, MotorMount mount = {}) {
  StageShape s;
  s.bodyLength = 0.150;
  s.diameter = diameter;
  s.fins = FinSet{fins, 0.05, 0.025, 0.045, 0.025, 0.002, 0.0};
  s.mount = mount;
  return s;
}

}  // namespace komet::testing
