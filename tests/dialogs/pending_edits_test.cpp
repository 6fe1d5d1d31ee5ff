// Whether the stage dialog holds edits the rocket does not have.

#include "dialogs/pending_edits.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/motor_fixtures.h"

namespace komet {
namespace {

RocketRecord OneStage() {
  RocketRecord r;
  InitRakete(r);
  r.name.assign("Saturn");
  r.cw = 0.75;
  r.stages[0].mass = 0.0485;
  r.stages[0].diameter = 0.025;
  r.stages[0].counts = {1, 0, 0};
  r.stages[0].motors[0] = testing::BoxMotor("C6", 6, 1.8);
  r.stages[1].ignitionDelay = 1.25;
  return r;
}

class PendingEditsTest : public ::testing::Test {
 protected:
  PendingEditsTest() : rocket(OneStage()) {
    form.motorList = {{"C6", 0, 0}, {"D12", 1, 1}};
    SetForm(form, rocket, ',');
  }
  RocketRecord rocket;
  StageForm form;
};

TEST_F(PendingEditsTest, TheFormAsLoadedHasNone) {
  EXPECT_FALSE(FormDiffersFromRocket(form, rocket, ','));
}

TEST_F(PendingEditsTest, NumbersAgreeAsTheDialogShowsThem) {
  form.stmgr[0] = "48.5";  // point and comma mean the same
  form.durch[0] = "25";
  form.ecwwert = "0,750";
  form.Verz1 = "1,25";
  EXPECT_FALSE(FormDiffersFromRocket(form, rocket, ','));
}

TEST_F(PendingEditsTest, EachKindOfEditCounts) {
  const struct {
    const char* what;
    std::function<void(StageForm&)> edit;
  } cases[] = {
      {"name", [](StageForm& f) { f.RakName = "Saturn V"; }},
      {"cw", [](StageForm& f) { f.ecwwert = "0,8"; }},
      {"mass", [](StageForm& f) { f.stmgr[0] = "48,6"; }},
      {"stage 3 area", [](StageForm& f) { f.ComboEdit[2] = "10"; }},
      {"stage 3 delay", [](StageForm& f) { f.verz2 = "2"; }},
      {"count", [](StageForm& f) { f.anzmot[0] = "2"; }},
      {"count no integer", [](StageForm& f) { f.anzmot[0] = "x"; }},
      {"motor of a used slot", [](StageForm& f) { f.motore[0] = 1; }},
      {"motor and count of an unused slot",
       [](StageForm& f) {
         f.motore[4] = 1;
         f.anzmot[4] = "1";
       }},
  };
  for (const auto& c : cases) {
    StageForm edited = form;
    c.edit(edited);
    EXPECT_TRUE(FormDiffersFromRocket(edited, rocket, ',')) << c.what;
  }
}

TEST_F(PendingEditsTest, AMotorPickedForAnUnusedSlotAloneChangesNothing) {
  form.motore[1] = 1;  // count 0: the transfer ignores it
  EXPECT_FALSE(FormDiffersFromRocket(form, rocket, ','));
}

}  // namespace
}  // namespace komet
