// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/recovery_form.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/motor_fixtures.h"
#include "support/recovery_fixtures.h"

namespace komet {
namespace {

using Kind = RecoveryForm::Kind;

RecoveryForm ChuteForm() {
  RecoveryForm f;
  f.kind = Kind::Parachute;
  f.diameter = "300";
  f.chuteCw = "0,8";
  f.length = f.width = f.streamerCw = "Unsinn";  // the other device's fields play no part
  f.delay = "5";
  f.inflationTime = "0";
  f.descentRate = "4,5";
  return f;
}

RecoveryForm StreamerForm() {
  RecoveryForm f = ChuteForm();
  f.kind = Kind::Streamer;
  f.diameter = f.chuteCw = "Unsinn";
  f.length = "1000";
  f.width = "50";
  f.streamerCw = "0,036";
  return f;
}

// Each field just outside its range or as no number is refused naming that
// field, with the cursor there; in range it is taken. (The ranges' edges
// are the block's, tested with it.)
TEST(RecoveryFormTest, EachFieldIsTakenInItsRangeAndRefusedOutsideIt) {
  const struct {
    RecoveryForm base;
    std::string RecoveryForm::*field;
    const char* text;
    RecoveryField refused;  // None: taken
    const char* named;      // a word the message must hold
  } cases[] = {
      {ChuteForm(), &RecoveryForm::diameter, "5000", RecoveryField::None, ""},
      {ChuteForm(), &RecoveryForm::diameter, "49,9", RecoveryField::Diameter, "durchmesser"},
      {ChuteForm(), &RecoveryForm::diameter, "300 mm", RecoveryField::Diameter, "durchmesser"},
      {ChuteForm(), &RecoveryForm::diameter, "", RecoveryField::Diameter, "durchmesser"},
      {ChuteForm(), &RecoveryForm::chuteCw, "0,29", RecoveryField::ChuteCw, "cw"},
      {ChuteForm(), &RecoveryForm::chuteCw, "2,51", RecoveryField::ChuteCw, "cw"},
      {ChuteForm(), &RecoveryForm::delay, " 25 ", RecoveryField::None, ""},
      {ChuteForm(), &RecoveryForm::delay, "25,1", RecoveryField::Delay, "Verzögerung"},
      {ChuteForm(), &RecoveryForm::delay, "fünf", RecoveryField::Delay, "Verzögerung"},
      {ChuteForm(), &RecoveryForm::inflationTime, "2,6", RecoveryField::InflationTime, "Öffnungsdauer"},
      {StreamerForm(), &RecoveryForm::length, "99", RecoveryField::Length, "Länge"},
      {StreamerForm(), &RecoveryForm::length, "10001", RecoveryField::Length, "Länge"},
      {StreamerForm(), &RecoveryForm::width, "1001", RecoveryField::Width, "Breite"},
      {StreamerForm(), &RecoveryForm::streamerCw, "0,004", RecoveryField::StreamerCw, "cw"},
  };
  for (const auto& c : cases) {
    RecoveryForm f = c.base;
    f.*c.field = c.text;
    const RecoveryTake take = TakeRecovery(f, ',');
    SCOPED_TRACE(std::string(c.text) + (f.kind == Kind::Parachute ? " (Fallschirm)" : " (Band)"));
    EXPECT_EQ(take.field, c.refused);
    EXPECT_EQ(take.recovery.has_value(), c.refused == RecoveryField::None);
    EXPECT_EQ(take.problem.empty(), c.refused == RecoveryField::None);
    EXPECT_NE(take.problem.find(c.named), std::string::npos) << take.problem;
  }
}

TEST(RecoveryFormTest, TheFirstBadFieldIsNamedAndTheChargesDelayOnlyCountsWithACharge) {
  RecoveryForm f = ChuteForm();
  f.chuteCw = "9";
  f.inflationTime = "9";
  EXPECT_EQ(TakeRecovery(f, ',').field, RecoveryField::ChuteCw);

  f = ChuteForm();
  f.delay = "keine";
  f.atApogee = true;
  const RecoveryTake take = TakeRecovery(f, ',');
  ASSERT_TRUE(take.recovery);
  EXPECT_EQ(take.recovery->deployment, Recovery::Deployment::Apogee);
  EXPECT_EQ(take.recovery->delay, 0.0);

  f = ChuteForm();
  f.kind = Kind::None;
  f.diameter = f.delay = "Unsinn";
  const RecoveryTake none = TakeRecovery(f, ',');
  EXPECT_FALSE(none.recovery);
  EXPECT_TRUE(none.problem.empty());
}

// What the dialog shows of a stored recovery is taken back as the same
// stored values: a look with OK changes nothing.
TEST(RecoveryFormTest, AStoredRecoveryShowsAndIsTakenBackAsItWas) {
  Recovery chute = testing::Chute(457, Recovery::Deployment::Apogee, 7.5, 0.35);
  chute.cw = 1.234;
  Recovery streamer = testing::Streamer(1250, 75);
  streamer.deployment = Recovery::Deployment::Delay;
  streamer.delay = 3;
  for (const Recovery& r : {chute, streamer})
    for (const char sep : {',', '.'}) {
      const Recovery stored = StoredRecovery(r);
      const RecoveryTake take = TakeRecovery(ShowRecovery(stored, {}, sep), sep);
      ASSERT_TRUE(take.recovery) << take.problem;
      EXPECT_EQ(StoredRecovery(*take.recovery), stored);
    }
}

TEST(RecoveryFormTest, ANewRecoveryStartsWithThePublishedDelayNearestToApogee) {
  const struct {
    std::vector<int> delays;
    std::optional<double> recommended;
    const char* delay;
  } cases[] = {
      {{3, 5, 7}, 4.6, "5"}, {{3, 5, 7}, 12.0, "7"},  {{3, 5, 7}, std::nullopt, "3"},
      {{}, 6.4, "6"},        {{}, std::nullopt, "0"},
  };
  for (const auto& c : cases) {
    RecoveryContext context;
    context.delays = c.delays;
    context.recommended = c.recommended;
    const RecoveryForm f = ShowRecovery(std::nullopt, context, ',');
    EXPECT_EQ(f.kind, Kind::None);
    EXPECT_EQ(f.delay, c.delay);
  }
}

double DescentRate(double diameterMm, const RecoveryContext& c, double cw) {
  const double area = std::numbers::pi * std::pow(diameterMm / 2000.0, 2);
  return std::sqrt(2.0 * c.landingMass * c.gravity / (c.airDensity * (c.rocketDragArea + cw * area)));
}

// The offered diameter brings the rocket down no faster than asked, one mm
// less would not; it is also where a new parachute starts. Where none fits
// or none is needed, nothing is offered and the line says why.
TEST(RecoveryFormTest, TheSuggestedChuteIsTheSmallestThatKeepsTheDescentRate) {
  const struct {
    double mass, dragArea, density;
    const char *cw, *rate;
    bool offered;
  } cases[] = {
      {0.045, 0.0003, 1.17, "0,8", "4,5", true},
      {0.6, 0.002, 1.05, "1,5", "5", true},
      {2.5, 0.004, 1.225, "0,75", "3.5", true},
      {0.045, 1.0, 1.17, "0,8", "4,5", false},  // the rocket alone falls slower
      {500.0, 0.0, 1.17, "0,8", "4,5", false},  // more than any canopy in range
      {0.045, 0.0, 1.17, "0,8", "0", false},    // no target
      {0.045, 0.0, 1.17, "0,8", "schnell", false},
      {0.045, 0.0, 1.17, "0,2", "4,5", false},  // a cw out of range
      {0.0, 0.0, 1.17, "0,8", "4,5", false},    // nothing to carry
  };
  for (const auto& c : cases) {
    RecoveryContext context;
    context.landingMass = c.mass;
    context.rocketDragArea = c.dragArea;
    context.airDensity = c.density;
    context.gravity = 9.81;
    RecoveryForm f = ChuteForm();
    f.chuteCw = c.cw;
    f.descentRate = c.rate;
    const ChuteSuggestion s = SuggestChute(f, context, ',');
    SCOPED_TRACE(s.text);
    EXPECT_FALSE(s.text.empty());
    ASSERT_EQ(s.diameterMm.has_value(), c.offered);
    if (!c.offered) continue;
    const double cw = *ParseStrictNumber(c.cw), rate = *ParseStrictNumber(c.rate);
    EXPECT_LE(DescentRate(*s.diameterMm, context, cw), rate);
    EXPECT_GT(DescentRate(*s.diameterMm - 1.0, context, cw), rate);
    if (f.chuteCw == "0,8" && f.descentRate == "4,5") {
      EXPECT_EQ(ShowRecovery(std::nullopt, context, ',').diameter,
                std::to_string(std::lround(*s.diameterMm)));
    }
  }
}

// Before a flight the landing mass is stage 1 with its motors' empty
// casings; after one, what the run left of the rocket. The air follows the
// launch site's standard atmosphere when it is on.
TEST(RecoveryFormTest, TheContextTakesTheLandingMassAndTheAirOfTheSettings) {
  MotorRecord motor = testing::BoxMotor("C6", 6, 1.8, 0.012, 0.024);
  RocketRecord rocket = testing::SingleStageRocket("Test", motor, 0.030);
  rocket.stages[0].counts = {2, 0, 0};
  FixedConstants constants;
  Simulation sim;
  RecoveryContext before = MakeRecoveryContext(rocket, sim, constants);
  EXPECT_DOUBLE_EQ(before.landingMass, 0.030 + 2 * 0.012);
  EXPECT_EQ(before.delays, (std::vector<int>{3, 5}));
  EXPECT_EQ(before.airDensity, constants.airDensity);
  EXPECT_FALSE(before.recommended);
  EXPECT_FALSE(before.lastFlight);

  constants.calcPeriod = 1.0;  // ends with propellant left: more than the casings
  sim.RunSimulation(rocket, constants);
  const RecoveryContext after = MakeRecoveryContext(rocket, sim, constants);
  EXPECT_GT(after.landingMass, before.landingMass + 0.005);
  EXPECT_EQ(after.landingMass, sim.results().endMass);
  EXPECT_TRUE(after.recommended);

  constants.site.standardAtmosphere = true;
  constants.site.altitude = 1500.0;
  EXPECT_LT(MakeRecoveryContext(rocket, sim, constants).airDensity, 1.1);
}

}  // namespace
}  // namespace komet
