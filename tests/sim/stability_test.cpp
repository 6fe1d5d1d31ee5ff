// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/stability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "support/shape_fixtures.h"

namespace komet {
namespace {

using testing::BoosterStage;
using testing::ClassicModelStage;

// Expected centres worked by hand with Barrowman's equations as published
// (the transition's in its original form with 1 - (d_f/d_a)²).
TEST(Stability, CentreOfPressureAgainstHandWorkedCases) {
  StageShape ogive;
  ogive.nose = NoseCone{NoseShape::Ogive, 0.12};
  ogive.bodyLength = 0.5;
  ogive.diameter = 0.041;
  ogive.fins = FinSet{4, 0.1, 0.05, 0.06, 0.05, 0.003, 0.01};
  ogive.transition = Transition{0.03, 0.03};  // boat tail

  struct Case {
    const char* what;
    RocketShape shape;
    int lowest;
    double cnAlpha, cp, bodyLength;
  };
  const std::vector<Case> cases{
      {"cone, three fins", {{ClassicModelStage()}}, 0, 24.75276, 0.316568, 0.375},
      {"ogive, four fins, boat tail", {{ogive}}, 0, 19.57523, 0.497097, 0.65},
      {"two stages before separation",
       {{ClassicModelStage(), BoosterStage(3, 0.025)}},
       1,
       42.97693,
       0.392585,
       0.525},
      {"two stages after separation",
       {{ClassicModelStage(), BoosterStage(3, 0.025)}},
       0,
       24.75276,
       0.316568,
       0.375},
      {"wider six-fin booster, no shoulder",
       {{ClassicModelStage(), BoosterStage(6, 0.030)}},
       1,
       59.80145,
       0.419855,
       0.525},
  };
  for (const Case& c : cases) {
    const LiftPart cp = CentreOfPressure(c.shape, c.lowest);
    EXPECT_NEAR(cp.cnAlpha, c.cnAlpha, 1e-4) << c.what;
    EXPECT_NEAR(cp.x, c.cp, 0.005 * c.bodyLength) << c.what;
    EXPECT_NEAR(cp.x, c.cp, 1e-5) << c.what;
  }
}

TEST(Stability, MarginFromMassesAndMotor) {
  const RocketShape shape{{ClassicModelStage()}};
  // 30 g empty balanced at 200 mm; a 24 g, 70 mm motor standing out 5 mm
  // behind the 375 mm stage: its middle at 345 mm.
  EXPECT_NEAR(MotorCentre(shape, 0, 0.07), 0.345, 1e-12);
  const MassPoint masses[] = {{0.030, 0.200}, {0.024, 0.345}};
  const double cg = CentreOfGravity(masses);
  EXPECT_NEAR(cg, (0.006 + 0.00828) / 0.054, 1e-12);
  EXPECT_NEAR(StabilityMargin(shape, cg, 0.316568), (0.316568 - 0.264444) / 0.025, 1e-4);
}

TEST(Stability, EstimatedEmptyCentreSpreadsMassOverSurfaces) {
  StageShape tube = BoosterStage(3, 0.025);
  tube.fins.reset();
  EXPECT_NEAR(EmptyStageCg(tube), 0.075, 1e-12);  // a bare tube balances in its middle
  tube.emptyCg = 0.05;
  EXPECT_EQ(EmptyStageCg(tube), 0.05);  // a measured balance point wins

  // A cone's shell has its centre at 2/3 of its length; its surface is π r s.
  StageShape coned = ClassicModelStage();
  coned.fins.reset();
  const double r = 0.0125, slant = std::hypot(r, 0.075);
  const double cone = std::numbers::pi * r * slant, body = std::numbers::pi * 0.025 * 0.3;
  EXPECT_NEAR(EmptyStageCg(coned), (cone * 0.05 + body * 0.225) / (cone + body), 1e-6);
}

}  // namespace
}  // namespace komet

namespace komet {
namespace {

// Expected margins worked by hand from the masses and positions written
// beside them; the centres of pressure are those of the table above.
TEST(Stability, MarginOverTheBoostLowestAtAnEvent) {
  const StabilityMotor c6{1, 0.024, 0.012, 1.6, 0.07};   // middle at 345 mm
  const StabilityMotor d12{1, 0.044, 0.021, 1.7, 0.07};  // middle at 490 mm in the booster
  StabilityInput single{};
  single[0] = {true, 0.030, {c6}, 0.0, 0.0};
  RocketShape one{{ClassicModelStage()}};
  one.stages[0].emptyCg = 0.2;

  const StabilityFigures a = StabilityOverBoost(one, single);
  EXPECT_NEAR(a.cg, 0.0142800 / 0.054, 1e-9);
  EXPECT_NEAR(a.margin, (0.316568 - 0.264444) / 0.025, 1e-4);
  EXPECT_NEAR(a.minMargin, a.margin, 1e-12);  // the propellant burns off behind the balance point
  EXPECT_NEAR(a.burnoutMargin[0], (0.316568 - 0.0101400 / 0.042) / 0.025, 1e-4);

  RocketShape two{{ClassicModelStage(), BoosterStage(3, 0.025)}};
  two.stages[0].emptyCg = 0.2;
  two.stages[1].emptyCg = 0.075;
  two.stages[1].mount.length = 0.07;
  StabilityInput stack = single;
  stack[0].ignitionTime = 1.7;
  stack[1] = {true, 0.020, {d12}, 0.0, 1.7};
  const StabilityFigures b = StabilityOverBoost(two, stack);
  EXPECT_NEAR(b.cg, 0.04484 / 0.118, 1e-9);
  EXPECT_NEAR(b.margin, (0.392585 - 0.38) / 0.025, 1e-4);
  EXPECT_NEAR(b.minMargin, b.margin, 1e-12);
  EXPECT_NEAR(b.burnoutMargin[0], a.burnoutMargin[0], 1e-12);

  // A six-fin booster holds a tail-heavy top stage straight; alone after
  // separation the top is at its least stable when its motor lights.
  two.stages[1].fins->count = 6;
  two.stages[0].emptyCg = 0.26;
  const StabilityFigures c = StabilityOverBoost(two, stack);
  EXPECT_NEAR(c.margin, (0.419368 - (0.0078 + 0.00828 + 0.009 + 0.02156) / 0.118) / 0.025, 1e-4);
  EXPECT_NEAR(c.minMargin, (0.316568 - (0.0078 + 0.00828) / 0.054) / 0.025, 1e-4);
  EXPECT_NEAR(c.minMarginTime, 1.7, 1e-12);
}

}  // namespace
}  // namespace komet
