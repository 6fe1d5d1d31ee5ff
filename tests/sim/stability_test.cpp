// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/stability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace komet {
namespace {

// A classic 25 mm model: 75 mm cone, 300 mm tube, three fins flush with the aft end.
StageShape ConeThreeFin() {
  StageShape s;
  s.nose = NoseCone{NoseShape::Cone, 0.075};
  s.bodyLength = 0.300;
  s.diameter = 0.025;
  s.fins = FinSet{3, 0.06, 0.03, 0.05, 0.03, 0.002, 0.0};
  s.mount = MotorMount{0.018, 0.07, 0.005};
  return s;
}

StageShape Booster(int fins, double diameter) {
  StageShape s;
  s.bodyLength = 0.150;
  s.diameter = diameter;
  s.fins = FinSet{fins, 0.05, 0.025, 0.045, 0.025, 0.002, 0.0};
  return s;
}

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
      {"cone, three fins", {{ConeThreeFin()}}, 0, 24.75276, 0.316568, 0.375},
      {"ogive, four fins, boat tail", {{ogive}}, 0, 19.57523, 0.497097, 0.65},
      {"two stages before separation", {{ConeThreeFin(), Booster(3, 0.025)}}, 1, 42.97693, 0.392585, 0.525},
      {"two stages after separation", {{ConeThreeFin(), Booster(3, 0.025)}}, 0, 24.75276, 0.316568, 0.375},
      {"wider six-fin booster, no shoulder", {{ConeThreeFin(), Booster(6, 0.030)}}, 1, 59.80145, 0.419855, 0.525},
  };
  for (const Case& c : cases) {
    const LiftPart cp = CentreOfPressure(c.shape, c.lowest);
    EXPECT_NEAR(cp.cnAlpha, c.cnAlpha, 1e-4) << c.what;
    EXPECT_NEAR(cp.x, c.cp, 0.005 * c.bodyLength) << c.what;
    EXPECT_NEAR(cp.x, c.cp, 1e-5) << c.what;
  }
}

TEST(Stability, MarginFromMassesAndMotor) {
  const RocketShape shape{{ConeThreeFin()}};
  // 30 g empty balanced at 200 mm; a 24 g, 70 mm motor standing out 5 mm
  // behind the 375 mm stage: its middle at 345 mm.
  EXPECT_NEAR(MotorCentre(shape, 0, 0.07), 0.345, 1e-12);
  const MassPoint masses[] = {{0.030, 0.200}, {0.024, 0.345}};
  const double cg = CentreOfGravity(masses);
  EXPECT_NEAR(cg, (0.006 + 0.00828) / 0.054, 1e-12);
  EXPECT_NEAR(StabilityMargin(shape, cg, 0.316568), (0.316568 - 0.264444) / 0.025, 1e-4);
}

TEST(Stability, EstimatedEmptyCentreSpreadsMassOverSurfaces) {
  StageShape tube = Booster(3, 0.025);
  tube.fins.reset();
  EXPECT_NEAR(EmptyStageCg(tube), 0.075, 1e-12);  // a bare tube balances in its middle
  tube.emptyCg = 0.05;
  EXPECT_EQ(EmptyStageCg(tube), 0.05);  // a measured balance point wins

  // A cone's shell has its centre at 2/3 of its length; its surface is π r s.
  StageShape coned = ConeThreeFin();
  coned.fins.reset();
  const double r = 0.0125, slant = std::hypot(r, 0.075);
  const double cone = std::numbers::pi * r * slant, body = std::numbers::pi * 0.025 * 0.3;
  EXPECT_NEAR(EmptyStageCg(coned), (cone * 0.05 + body * 0.225) / (cone + body), 1e-6);
}

}  // namespace
}  // namespace komet
