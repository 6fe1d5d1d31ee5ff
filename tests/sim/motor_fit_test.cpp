// SPDX-License-Identifier: GPL-3.0-or-later
// Which motors go into a stage's mount, and where the mount is known from.
#include "sim/motor_fit.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "model/rocket_file.h"
#include "sim/rocket_stability.h"
#include "sim/simulation.h"
#include "support/motor_fixtures.h"

namespace komet {
namespace {

TEST(MotorFit, DiameterUpToHalfAMillimetreOverLengthUpToTheOverhang) {
  // 18 mm inside, 70 mm long, the motor may stand out 5 mm.
  const MountLimit limit = LimitOf(MotorMount{0.018, 0.070, 0.005});
  EXPECT_DOUBLE_EQ(limit.diameterMm, 18.0);
  EXPECT_DOUBLE_EQ(limit.lengthMm, 75.0);
  const struct {
    double diameter, length;
    MountFit fit;
  } cases[] = {
      {18.0, 70.0, MountFit::Fits},    {13.0, 45.0, MountFit::Fits},
      {18.5, 70.0, MountFit::Fits},  // at the rounding tolerance
      {18.6, 70.0, MountFit::TooWide}, {24.0, 70.0, MountFit::TooWide},
      {18.0, 75.0, MountFit::Fits},  // standing out by the whole overhang
      {18.0, 75.1, MountFit::TooLong}, {18.0, 95.0, MountFit::TooLong},
      {24.0, 95.0, MountFit::TooWide},  // the diameter is named first
      {0.0, 70.0, MountFit::Fits},      // no diameter known
      {18.0, 0.0, MountFit::Fits},      // no length known
      {0.0, 200.0, MountFit::TooLong},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FitOf(limit, c.diameter, c.length), c.fit) << c.diameter << " x " << c.length;
  EXPECT_EQ(FitOf({}, 98.0, 1000.0), MountFit::Fits);           // nothing known of the mount
  EXPECT_EQ(FitOf({18.0, 0.0}, 18.0, 1000.0), MountFit::Fits);  // nor of its length
  EXPECT_EQ(FitOf({18.0, 0.0}, 24.0, 70.0), MountFit::TooWide);
}

TEST(MotorFit, MountFromTheShapeElseFromTheStagesMotor) {
  MotorDetails e6;
  e6.diameterMm = 24.0;
  e6.lengthMm = 70.0;
  MotorRecord motor = testing::BoxMotor("E6 [X]", 6, 4);
  WriteMotorDetails(e6, motor);
  RocketRecord rocket = testing::SingleStageRocket("R", motor);

  RocketShape shape;
  shape.stages.resize(1);
  shape.stages[0].mount = MotorMount{0.018, 0.07, 0.005};
  StageMount m = StageMountOf(rocket, &shape, 0);
  EXPECT_EQ(m.source, StageMount::Source::Shape);
  EXPECT_EQ(m.mount, (MotorMount{0.018, 0.07, 0.005}));

  // A shape without a mount's diameter, or without the stage, or none at
  // all: the motor the stage carries sets the mount, with no overhang.
  shape.stages[0].mount = {};
  for (const RocketShape* s :
       {static_cast<const RocketShape*>(&shape), static_cast<const RocketShape*>(nullptr)}) {
    m = StageMountOf(rocket, s, 0);
    EXPECT_EQ(m.source, StageMount::Source::Motor);
    EXPECT_EQ(m.mount, (MotorMount{0.024, 0.070, 0.0}));
  }
  EXPECT_EQ(StageMountOf(rocket, &shape, 1).source, StageMount::Source::None);  // stage 2 has no motor

  rocket.stages[0].motors[0] = testing::BoxMotor("Alt", 6, 4);  // no details: nothing known
  EXPECT_EQ(StageMountOf(rocket, nullptr, 0).source, StageMount::Source::None);
  EXPECT_EQ(StageMountOf(rocket, nullptr, 0).mount, MotorMount{});
}

// The balance before a flight takes the stages' times from their schedule;
// a flight adds nothing to it.
TEST(MotorFit, PlannedBalanceIsTheFlownOne) {
  for (const char* name : {"einstufig_c6", "zweistufig", "dreistufig"}) {
    const std::string base = std::string(KOMET_SOURCE_DIR "/examples/rockets/") + name;
    RocketRecord empty;
    InitRakete(empty);
    const RocketRecord rocket = ReadRocketFile(base + ".kmw", empty).record;
    std::ifstream in(base + ".kmf");
    const RocketShape shape =
        ParseShapeText(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    Simulation sim;
    const FixedConstants constants;
    const FlightPlan plan = MakeFlightPlan(rocket, constants);
    sim.Run(plan);
    const StabilityFigures flown = FlightStability(shape, sim);
    const StabilityFigures planned = PlannedStability(shape, rocket);
    EXPECT_DOUBLE_EQ(planned.margin, flown.margin) << name;
    EXPECT_DOUBLE_EQ(planned.minMargin, flown.minMargin) << name;
    EXPECT_DOUBLE_EQ(planned.minMarginTime, flown.minMarginTime) << name;
  }
}

}  // namespace
}  // namespace komet
