// SPDX-License-Identifier: GPL-3.0-or-later
// What the stage dialog says about its motors: a motor the shape's mount
// does not take is refused, and the balance follows the motors chosen.
#include "dialogs/stage_fit.h"

#include <gtest/gtest.h>

#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

MotorRecord Sized(std::string_view name, double diameterMm, double lengthMm, double propellant = 0.012,
                  double total = 0.024) {
  MotorRecord m = testing::BoxMotor(name, 12, 1.0, propellant, total);
  MotorDetails d;
  d.commonName = std::string(name.substr(0, name.find(" [")));
  d.diameterMm = diameterMm;
  d.lengthMm = lengthMm;
  WriteMotorDetails(d, m);
  return m;
}

// The 25 mm model whose centre of pressure Barrowman puts 0.316568 m
// behind the tip (worked by hand in the stability tests); an 18 mm mount,
// 70 mm long, the motor standing out 5 mm; empty it balances at 0.20 m.
RocketShape ConeThreeFin() {
  StageShape s;
  s.nose = NoseCone{NoseShape::Cone, 0.075};
  s.bodyLength = 0.300;
  s.diameter = 0.025;
  s.fins = FinSet{3, 0.06, 0.03, 0.05, 0.03, 0.002, 0.0};
  s.mount = MotorMount{0.018, 0.07, 0.005};
  s.emptyCg = 0.20;
  return RocketShape{{s}};
}

class StageFitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = testing::WriteDatabase(
        dir.path(), {Sized("C6 [Estes]", 18, 70), Sized("E6 [AeroTech]", 24, 70), Sized("F10 [Lang]", 18, 95),
                     testing::BoxMotor("Alt", 5, 1), Sized("S99 [Schwer]", 18, 70, 0.05, 0.300)});
    InitRakete(rocket);
    GetNames(form, db, rocket);
    form.stmgr[0] = "40";
    form.durch[0] = "25";
    Choose("C6 [Estes]");
  }
  int Item(std::string_view name) const {
    for (const auto& e : form.motorList)
      if (e.name == name) return e.itemIndex;
    return -1;
  }
  void Choose(std::string_view motor) {
    form.motore[0] = Item(motor);
    form.anzmot[0] = "1";
  }

  testing::TempDir dir;
  std::filesystem::path db;
  RocketRecord rocket;
  StageForm form;
  RocketShape shape = ConeThreeFin();
};

TEST_F(StageFitTest, TheShapesMountRefusesWhatDoesNotGoIn) {
  const struct {
    const char* motor;
    std::vector<const char*> said;  // empty: taken
  } cases[] = {
      {"C6 [Estes]", {}},
      {"E6 [AeroTech]", {"E6 passt nicht", "24,0", "18,0"}},
      {"F10 [Lang]", {"F10 passt nicht", "95,0", "70,0", "5,0"}},
      {"Alt", {}},  // size unknown
  };
  for (const auto& c : cases) {
    const std::string refusal = MountRefusal(form, &shape, 0, Item(c.motor), ',');
    EXPECT_EQ(refusal.empty(), c.said.empty()) << c.motor << ": " << refusal;
    for (const char* part : c.said) EXPECT_NE(refusal.find(part), std::string::npos) << refusal;
  }
  // Without a shape, or without a mount in it, the stage's own motor would
  // be the mount: nothing is refused.
  EXPECT_EQ(MountRefusal(form, nullptr, 0, Item("E6 [AeroTech]"), ','), "");
  shape.stages[0].mount = {};
  EXPECT_EQ(MountRefusal(form, &shape, 0, Item("E6 [AeroTech]"), ','), "");
  const StageMount m = FormStageMount(form, &shape, 0);
  EXPECT_EQ(m.source, StageMount::Source::Motor);
  EXPECT_EQ(m.mount, (MotorMount{0.018, 0.070, 0.0}));
}

// With a 24 g motor whose middle lies at 0.375 + 0.005 - 0.035 = 0.345 m the
// rocket balances at (0.040 * 0.20 + 0.024 * 0.345) / 0.064 = 0.2544 m:
// (0.316568 - 0.2544) / 0.025 = 2.49 calibers. A 300 g motor pulls it to
// 0.3279 m, behind the centre of pressure: -0.455 calibers.
TEST_F(StageFitTest, TheBalanceFollowsTheChosenMotor) {
  std::optional<StabilityFigures> f = FormStability(form, rocket, &shape, db);
  ASSERT_TRUE(f);
  EXPECT_NEAR(f->margin, 2.487, 0.005);
  EXPECT_GE(f->minMargin, f->margin - 1e-9);  // lighter as it burns: the lowest at lift-off
  EXPECT_FALSE(StabilityNoteOf(f, true, ',').level);
  Choose("S99 [Schwer]");
  f = FormStability(form, rocket, &shape, db);
  ASSERT_TRUE(f);
  EXPECT_NEAR(f->margin, -0.455, 0.005);
  const StabilityNote note = StabilityNoteOf(f, true, ',');
  EXPECT_EQ(note.level, SafetyLevel::Red);
  EXPECT_NE(note.text.find("-0,5"), std::string::npos) << note.text;

  EXPECT_FALSE(FormStability(form, rocket, nullptr, db));
  form.anzmot[0] = "0";  // no motor, no rocket to balance
  EXPECT_FALSE(FormStability(form, rocket, &shape, db));
  EXPECT_NE(StabilityNoteOf(std::nullopt, false, ',').text.find("keine Form"), std::string::npos);
}

TEST(StabilityNote, ColourAfterTheBalanceRules) {
  const struct {
    double margin, minMargin;
    std::optional<SafetyLevel> level;
  } cases[] = {
      {2.1, 1.8, std::nullopt},       {3.0, 0.6, SafetyLevel::Red},    // unstable while burning
      {0.5, 0.5, SafetyLevel::Red},   {2.0, 1.2, SafetyLevel::Amber},  // marginal
      {5.0, 3.0, SafetyLevel::Amber},                                  // over-stable at lift-off
  };
  for (const auto& c : cases) {
    StabilityFigures f;
    f.margin = c.margin;
    f.minMargin = c.minMargin;
    EXPECT_EQ(StabilityNoteOf(f, true, '.').level, c.level) << c.margin << " / " << c.minMargin;
  }
}

}  // namespace
}  // namespace komet
