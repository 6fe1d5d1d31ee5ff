// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/stage_form.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "common/komet_error.h"
#include "sim/simulation.h"
#include "support/flight_invariants.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using testing::BoxMotor;
using testing::FlightFault;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class StageFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = testing::WriteDatabase(dir.path(), {BoxMotor("D12", 10, 1.6), BoxMotor("A8", 3, 0.7),
                                             BoxMotor("C6", 5, 1.8), BoxMotor("B4", 4, 1.0)});
    InitRakete(rocket);
    GetNames(form, db, rocket);  // sorted: A8, B4, C6, D12
  }
  int Item(std::string_view name) const {
    for (const auto& e : form.motorList)
      if (e.name == name) return e.itemIndex;
    return -1;
  }
  void Choose(std::size_t slot, std::string_view motor, int count) {
    form.motore[slot] = Item(motor);
    form.anzmot[slot] = std::to_string(count);
  }

  testing::TempDir dir;
  std::filesystem::path db;
  RocketRecord rocket;
  StageForm form;
};

TEST_F(StageFormTest, TransfersTextsInSiUnits) {
  form.RakName = "Höhenflug";
  form.ecwwert = "0,62";
  form.stmgr = {"25,4", "30", ""};
  form.durch = {"24.8", "25", ""};
  form.ComboEdit = {"120 mm²", "0", ""};
  form.Verz1 = "1,25";
  Choose(0, "C6", 1);
  Choose(3, "D12", 1);
  const RocketRecord r = HoleDaten(form, rocket, db);
  EXPECT_EQ(r.name.view(), "H\xF6henflug");
  EXPECT_DOUBLE_EQ(r.cw, 0.62);
  EXPECT_DOUBLE_EQ(r.stages[0].mass, 0.0254);
  EXPECT_DOUBLE_EQ(r.stages[0].diameter, 0.0248);
  EXPECT_DOUBLE_EQ(r.stages[0].otherArea, 0.00012);
  EXPECT_DOUBLE_EQ(r.stages[1].ignitionDelay, 1.25);
  EXPECT_EQ(r.stages[0].motors[0].name.view(), "C6");
  EXPECT_EQ(r.stages[0].motors[0].burnTime, 1.8);
  EXPECT_EQ(r.stages[1].motors[0].name.view(), "D12");
  EXPECT_EQ(r.stages[1].absent, 0);
  EXPECT_EQ(r.stages[2].absent, 1);
}

TEST_F(StageFormTest, MergesEqualChoicesTwoThreeThenOneTwo) {
  const struct {
    const char* what;
    const char* motors[3];
    int counts[3];
    std::array<std::int32_t, 3> expected;
  } cases[] = {
      {"1 and 2 equal", {"C6", "C6", nullptr}, {2, 3, 0}, {5, 0, 0}},
      {"2 and 3 equal", {"A8", "C6", "C6"}, {1, 2, 4}, {1, 6, 0}},
      {"all equal", {"C6", "C6", "C6"}, {1, 2, 3}, {6, 0, 0}},
      {"1 and 3 never directly", {"C6", "A8", "C6"}, {1, 1, 1}, {1, 1, 1}},
  };
  for (std::size_t stage : {0u, 1u, 2u}) {
    for (const auto& c : cases) {
      StageForm f = form;
      for (std::size_t s = 0; s <= stage; ++s) f.motore[s * 3] = Item("B4"), f.anzmot[s * 3] = "1";
      for (std::size_t j = 0; j < 3; ++j) {
        f.motore[stage * 3 + j] = c.motors[j] ? Item(c.motors[j]) : -1;
        f.anzmot[stage * 3 + j] = std::to_string(c.counts[j]);
      }
      const RocketRecord r = HoleDaten(f, rocket, db);
      EXPECT_EQ(r.stages[stage].counts, c.expected) << c.what << ", stage " << stage + 1;
      for (std::size_t j = 1; j < 3; ++j) {
        if (c.expected[j] == 0) {
          EXPECT_TRUE(r.stages[stage].motors[j].name.empty()) << c.what;
        }
      }
    }
  }
}

TEST_F(StageFormTest, AbsentStageEmptiesItselfAndEveryStageAfterIt) {
  form.stmgr = {"10", "20", "30"};
  form.durch = {"18", "24", "24"};
  form.Verz1 = "0,5";
  form.verz2 = "1";
  Choose(0, "C6", 1);
  Choose(3, "", 0);  // stage 2 without a first motor...
  Choose(4, "A8", 2);
  Choose(6, "D12", 1);  // ...makes stage 3 absent too
  const RocketRecord r = HoleDaten(form, rocket, db);
  EXPECT_EQ(r.stages[0].absent, 0);
  for (std::size_t s : {1u, 2u}) {
    const StageRecord& st = r.stages[s];
    EXPECT_EQ(st.absent, 1) << s;
    EXPECT_EQ(st.counts, (std::array<std::int32_t, 3>{0, 0, 0})) << s;
    EXPECT_EQ(st.mass + st.diameter + st.ignitionDelay + st.otherArea, 0.0) << s;
    for (const MotorRecord& m : st.motors) EXPECT_TRUE(m.name.empty()) << s;
  }
}

TEST_F(StageFormTest, StageOneWithoutMotorMakesTheWholeRocketAbsent) {
  Choose(0, "", 0);
  Choose(3, "D12", 1);
  const RocketRecord r = HoleDaten(form, rocket, db);
  for (const StageRecord& st : r.stages) EXPECT_EQ(st.absent, 1);
}

TEST_F(StageFormTest, BadCountChangesNothing) {
  form.RakName = "Neu";
  Choose(0, "C6", 1);
  form.anzmot[1] = "zwei";
  try {
    HoleDaten(form, rocket, db);
    FAIL();
  } catch (const KometError& e) {
    EXPECT_STREQ(e.what(), "'zwei' ist kein gültiger Integerwert");
  }
  EXPECT_EQ(rocket.name.view(), "KeinName");
}

TEST_F(StageFormTest, FailedDatabaseReadChangesNothing) {
  Choose(0, "C6", 1);
  std::filesystem::remove(db);
  EXPECT_THROW(HoleDaten(form, rocket, db), KometError);
}

TEST_F(StageFormTest, MotorUnknownToTheDatabaseKeepsItsStoredCopy) {
  rocket.stages[0].counts = {1, 0, 0};
  rocket.stages[0].motors[0] = BoxMotor("Eigenbau", 7, 2.5);
  SetForm(form, rocket, ',');
  EXPECT_EQ(form.motore[0], -1);
  const RocketRecord r = HoleDaten(form, rocket, db);
  EXPECT_EQ(r.stages[0].counts[0], 1);
  EXPECT_EQ(r.stages[0].motors[0].name.view(), "Eigenbau");
  EXPECT_EQ(r.stages[0].motors[0].burnTime, 2.5);
}

TEST_F(StageFormTest, SetFormFormatsWithTheLocaleSeparator) {
  rocket.cw = 0.625;
  rocket.stages[0].mass = 0.0254;
  rocket.stages[0].diameter = 0.0248;
  rocket.stages[0].otherArea = 0.00012;
  rocket.stages[1].ignitionDelay = 1.25;
  rocket.stages[0].counts = {2, 0, 0};
  rocket.stages[0].motors[0].name.assign("c6");
  SetForm(form, rocket, ',');
  EXPECT_EQ(form.ecwwert, "0,62");
  EXPECT_EQ(form.stmgr[0], "25,4");
  EXPECT_EQ(form.durch[0], "24,8");
  EXPECT_EQ(form.ComboEdit[0], "120,0");
  EXPECT_EQ(form.Verz1, "1,25");
  EXPECT_EQ(form.anzmot[0], "2");
  EXPECT_EQ(form.motore[0], Item("C6")) << "matched ignoring case";
}

TEST_F(StageFormTest, SetFormLeavesAShownDialogAlone) {
  form.RakName = "Getippt";
  form.shown = true;
  SetForm(form, rocket, '.');
  EXPECT_EQ(form.RakName, "Getippt");
}

// Records as a damaged or hostile file holds them, through the form and back.
class StageFormFromFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = testing::WriteDatabase(dir.path(), {BoxMotor("C6", 6, 1.8), BoxMotor("D12", 12, 1.6)});
    InitRakete(rocket);
    rocket.stages[0].mass = 0.03;
    rocket.stages[0].diameter = 0.025;
    for (std::size_t j = 0; j < kSlotCount; ++j) rocket.stages[0].motors[j] = BoxMotor("C6", 6, 1.8);
  }
  // The record through the stage form and back, as loading a file does.
  RocketRecord RoundTrip() {
    GetNames(form, db, rocket);
    SetForm(form, rocket, ',');
    return HoleDaten(form, rocket, db);
  }

  testing::TempDir dir;
  std::filesystem::path db;
  RocketRecord rocket;
  StageForm form;
};

TEST_F(StageFormFromFilesTest, MergingHugeCountsOfOneMotorSaturates) {
  // Two slots of the same database motor are merged by adding their counts;
  // INT_MAX + INT_MAX overflowed.
  rocket.stages[0].counts = {INT_MAX, INT_MAX, INT_MAX};
  const RocketRecord r = RoundTrip();
  EXPECT_EQ(r.stages[0].counts, (std::array<std::int32_t, 3>{INT_MAX, 0, 0}));
  Simulation sim;
  sim.RunSimulation(r, FixedConstants{});
  EXPECT_EQ(FlightFault(sim), "") << "INT_MAX motors";
}

TEST_F(StageFormFromFilesTest, CountsOutsideTheSpinRangeSurviveTheTexts) {
  const struct {
    std::array<std::int32_t, 3> stored, transferred;
  } cases[] = {
      {{21, 0, 0}, {21, 0, 0}},
      {{-1, 5, 0}, {-1, 5, 0}},  // a negative count is not merged into
      {{INT_MIN, INT_MAX, 0}, {INT_MIN, INT_MAX, 0}},
      {{0, INT_MAX, INT_MIN}, {0, 0, 0}},  // no first motor: the stage is absent
  };
  for (const auto& c : cases) {
    rocket.stages[0].counts = c.stored;
    const RocketRecord r = RoundTrip();
    EXPECT_EQ(r.stages[0].counts, c.transferred) << c.stored[0] << " " << c.stored[1];
    Simulation sim;
    sim.RunSimulation(r, FixedConstants{});
    EXPECT_EQ(FlightFault(sim), "") << c.stored[0];
  }
}

TEST_F(StageFormFromFilesTest, NonFiniteValuesBecomeZeroThroughTheTexts) {
  using Field = double& (*)(RocketRecord&);
  const struct {
    const char* what;
    Field field;
    double value;
  } cases[] = {
      {"cw NaN", [](RocketRecord& r) -> double& { return r.cw; }, kNaN},
      {"mass inf", [](RocketRecord& r) -> double& { return r.stages[0].mass; }, kInf},
      {"diameter -inf", [](RocketRecord& r) -> double& { return r.stages[1].diameter; }, -kInf},
      {"other area NaN", [](RocketRecord& r) -> double& { return r.stages[0].otherArea; }, kNaN},
      {"delay NaN", [](RocketRecord& r) -> double& { return r.stages[1].ignitionDelay; }, kNaN},
  };
  rocket.stages[0].counts = {1, 0, 0};
  rocket.stages[1].counts = {1, 0, 0};
  rocket.stages[1].motors[0] = BoxMotor("D12", 12, 1.6);
  for (const auto& c : cases) {
    const RocketRecord saved = rocket;
    c.field(rocket) = c.value;
    RocketRecord r = RoundTrip();
    EXPECT_EQ(c.field(r), 0.0) << c.what;
    rocket = saved;
  }
}

}  // namespace
}  // namespace komet
