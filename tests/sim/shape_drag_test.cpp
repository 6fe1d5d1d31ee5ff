// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/shape_drag.h"

#include <gtest/gtest.h>

#include <numbers>

#include "support/shape_fixtures.h"

namespace komet {
namespace {

// The classic 25 mm three-fin model at 50 m/s, painted, on the area Komet
// flies it with: the tube's cross-section plus the fins' frontal area.
// Each share worked by hand from the published formulas.
TEST(ShapeDrag, ClassicModelByHand) {
  StageShape s = testing::ClassicModelStage();
  const double area = std::numbers::pi / 4.0 * 0.025 * 0.025 + 3 * 0.05 * 0.002;
  const ShapeDrag d = DragFromShape(RocketShape{{s}}, area, 50.0);
  EXPECT_NEAR(d.friction, 0.35151, 2e-4);
  EXPECT_NEAR(d.base, 0.07622, 1e-5);
  EXPECT_NEAR(d.nose, 0.01342, 1e-5);
  EXPECT_NEAR(d.finEdges, 0.04658, 1e-5);

  // A rougher finish only ever adds friction; a smooth one at low speed is
  // limited by the plate's own turbulent value, not the roughness.
  s.finish = SurfaceFinish::Rough;
  EXPECT_GT(DragFromShape(RocketShape{{s}}, area, 50.0).friction, d.friction);
  s.finish = SurfaceFinish::Smooth;
  const double slow = DragFromShape(RocketShape{{s}}, area, 10.0).friction;
  EXPECT_GT(slow, DragFromShape(RocketShape{{s}}, area, 50.0).friction);
}

}  // namespace
}  // namespace komet
