// SPDX-License-Identifier: GPL-3.0-or-later
// Which motors go into a stage's mount, and where the mount is known from.
#include "sim/motor_fit.h"

#include <gtest/gtest.h>

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
      {18.0, 70.0, MountFit::Fits},    {18.5, 70.0, MountFit::Fits},     // at the rounding tolerance
      {18.6, 70.0, MountFit::TooWide}, {24.0, 95.0, MountFit::TooWide},  // the diameter named first
      {18.0, 75.0, MountFit::Fits},    {18.0, 75.1, MountFit::TooLong},  // the whole overhang, and more
      {0.0, 70.0, MountFit::Fits},     {18.0, 0.0, MountFit::Fits},      // a size not known fits
  };
  for (const auto& c : cases)
    EXPECT_EQ(FitOf(limit, c.diameter, c.length), c.fit) << c.diameter << " x " << c.length;
  EXPECT_EQ(FitOf({}, 98.0, 1000.0), MountFit::Fits);  // nothing known of the mount
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
  EXPECT_EQ(StageMountOf(rocket, &shape, 0).mount, shape.stages[0].mount);
  shape.stages[0].mount = {};  // a shape without a mount is no help
  const StageMount m = StageMountOf(rocket, &shape, 0);
  EXPECT_EQ(m.source, StageMount::Source::Motor);
  EXPECT_EQ(m.mount, (MotorMount{0.024, 0.070, 0.0}));
  EXPECT_EQ(StageMountOf(rocket, nullptr, 1).source, StageMount::Source::None);  // stage 2 has no motor
  rocket.stages[0].motors[0] = testing::BoxMotor("Alt", 6, 4);                   // no details
  EXPECT_EQ(StageMountOf(rocket, nullptr, 0).source, StageMount::Source::None);
}

}  // namespace
}  // namespace komet
