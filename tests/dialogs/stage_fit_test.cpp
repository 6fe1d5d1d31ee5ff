// SPDX-License-Identifier: GPL-3.0-or-later
// What the stage dialog says about its motors: a motor the shape's mount
// does not take is refused, and the balance follows the motor chosen.
#include "dialogs/stage_fit.h"

#include <gtest/gtest.h>

#include "support/motor_fixtures.h"
#include "support/shape_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

MotorRecord Sized(std::string_view name, double diameterMm, double total = 0.024) {
  MotorRecord m = testing::BoxMotor(name, 12, 1.0, total / 2, total);
  MotorDetails d;
  d.commonName = std::string(name);
  d.diameterMm = diameterMm;
  d.lengthMm = 70;
  WriteMotorDetails(d, m);
  return m;
}

// The model, motors and figures of the guide's balance test: margin 2.49
// calibers with the 24 g motor, -0.455 with the 300 g one.
TEST(StageFit, TheShapesMountRefusesAndTheBalanceFollowsTheMotor) {
  StageShape s = testing::ClassicModelStage();
  s.emptyCg = 0.20;
  const RocketShape shape{{s}};
  testing::TempDir dir;
  const auto db =
      testing::WriteDatabase(dir.path(), {Sized("C6", 18), Sized("E6", 24), Sized("S99", 18, 0.3)});
  RocketRecord rocket;
  InitRakete(rocket);
  StageForm form;
  GetNames(form, db, rocket);  // C6, E6, S99
  form.stmgr[0] = "40";
  form.anzmot[0] = "1";

  EXPECT_EQ(MountRefusal(form, &shape, 0, 0, ','), "");
  const std::string refusal = MountRefusal(form, &shape, 0, 1, ',');
  EXPECT_EQ(refusal.find("E6 passt nicht"), 0u) << refusal;
  EXPECT_NE(refusal.find("24,0 mm > 18,0 mm"), std::string::npos) << refusal;
  EXPECT_EQ(MountRefusal(form, nullptr, 0, 1, ','), "");  // without a shape: no mount to refuse by

  for (const auto& [item, margin, level] : {std::tuple{0, 2.487, std::optional<SafetyLevel>()},
                                            std::tuple{2, -0.455, std::optional(SafetyLevel::Red)}}) {
    form.motore[0] = item;
    const std::optional<StabilityFigures> f = FormStability(form, rocket, &shape, db);
    ASSERT_TRUE(f);
    EXPECT_NEAR(f->margin, margin, 0.005);
    EXPECT_EQ(StabilityNoteOf(f, true, ',').level, level);
  }
  form.anzmot[0] = "0";  // no motor: no rocket to balance
  EXPECT_FALSE(FormStability(form, rocket, &shape, db));
}

}  // namespace
}  // namespace komet
