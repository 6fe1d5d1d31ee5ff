// SPDX-License-Identifier: GPL-3.0-or-later
// The safety rules: each fires at its threshold and stays quiet just
// below it, on figures built in the test.
#include "sim/flight_safety.h"

#include <gtest/gtest.h>

#include <set>

namespace komet {
namespace {

// A 100 g model that flies well: no rule fires.
FlightFigures Good() {
  FlightFigures f;
  f.railExitVelocity = 18.0;
  f.maxVelocity = 120.0;
  f.maxAccel = 150.0;
  f.maxHeight = 300.0;
  f.maxHeightTime = 7.0;
  f.flightEndTime = 20.0;
  f.endVelocity = -30.0;
  f.peakThrust = 12.0;
  f.liftOffMass = 0.1;
  f.liftOffWeight = 0.981;
  f.motorMass = 0.025;
  f.recommendedDelay = 5.2;
  f.bestDelay = FlightFigures::Delay{5, -0.2, 1.5, -2.0};
  return f;
}

// A parachute that opens at apogee and lands the model at 4.5 m/s.
RecoveryFigures GoodRecovery() {
  RecoveryFigures r;
  r.deployed = r.landed = true;
  r.deploymentTime = 7.0;
  r.deploymentSpeed = 0.1;
  r.poweredEnd = 1.8;
  r.descentRate = r.landingSpeed = 4.5;
  r.flightTime = 70.0;
  r.wind = 2.0;
  r.drift = 126.0;  // 2 m/s for the 63 s from apogee to landing
  return r;
}

void SetDescent(FlightFigures& f, SafetyInputs&, double rate) {
  f.recovery = GoodRecovery();
  f.recovery->descentRate = rate;
}

std::vector<SafetyRuleId> Fired(const FlightFigures& f, const SafetyInputs& in = {}) {
  std::vector<SafetyRuleId> ids;
  for (const FlightWarning& w : JudgeFlight(f, in, ',')) ids.push_back(w.kind);
  return ids;
}

TEST(FlightSafety, AGoodFlightBreaksNoRule) {
  EXPECT_TRUE(Fired(Good()).empty());
  EXPECT_FALSE(WorstLevel({}).has_value());
}

// Each case sets one figure to `x`: the first value fires the rule alone,
// the second (just below its threshold) fires nothing. Rules without a
// threshold take 1 and 0.
TEST(FlightSafety, EachRuleFiresAtItsThresholdAndNotJustBelow) {
  using enum SafetyRuleId;
  using Set = void (*)(FlightFigures&, SafetyInputs&, double x);
  const double g100 = 100.0 * 9.80665;
  const struct {
    SafetyRuleId rule;
    Set set;
    double fires, quiet;
  } cases[] = {
      {NoRailExit,
       [](auto& f, auto&, double x) { f.railExitVelocity = x ? std::nullopt : std::optional(15.0); }, 1, 0},
      {RailExitSpeed, [](auto& f, auto&, double x) { f.railExitVelocity = x; }, 14.99, 15.0},
      {NearSpeedOfSound, [](auto& f, auto&, double x) { f.maxVelocity = x; }, 272.0, 271.99},
      {ApogeeNotReached, [](auto& f, auto&, double x) { f.endVelocity = x; }, 0.01, 0.0},
      {NoFittingDelay, [](auto& f, auto&, double x) { f.bestDelay->difference = x; }, -1.51, -1.5},
      {NoFittingDelay,  // no delay at all, and no other deployment
       [](auto& f, auto& in, double x) {
         f.bestDelay.reset();
         in.otherDeployment = !x;
       },
       1, 0},
      {PluggedTopStage,
       [](auto& f, auto& in, double x) {
         f.bestDelay.reset();
         f.ejectionCharge = false;
         in.otherDeployment = !x;
       },
       1, 0},
      {EjectionTooFast, [](auto& f, auto&, double x) { f.bestDelay->ejectionVelocity = x; }, -20.01, -20.0},
      {NoBoosterBelow,
       [](auto& f, auto&, double x) {
         if (x) f.nonBoosters.emplace_back(2, "C6 [Estes]");
       },
       1, 0},
      {IgnitionAfterApogee,
       [](auto& f, auto&, double x) {
         f.upperIgnitions.push_back({1, x});
       },
       7.01, 7.0},
      {SeparationNotInFlight,
       [](auto& f, auto&, double x) {
         f.lowerSeparations.push_back({2, x});
       },
       20.0, 19.999},
      {ThrustToWeight, [](auto& f, auto&, double x) { f.peakThrust = x * f.liftOffWeight; }, 4.99, 5.0},
      {Acceleration, [](auto& f, auto&, double x) { f.maxAccel = x; }, g100 + 0.01, g100},
      {HeavyMotor, [](auto& f, auto&, double x) { f.motorMass = x; }, 0.0501, 0.05},
      {HeightLimit, [](auto&, auto& in, double x) { in.heightLimit = x; }, 299.9, 300.0},
      {DoubtfulData,
       [](auto& f, auto&, double x) {
         if (x) f.doubtful.push_back("C6 [X]: Impuls zu hoch");
       },
       1, 0},
      // A warm day moves the speed of sound, and the limit with it.
      {NearSpeedOfSound,
       [](auto& f, auto&, double x) {
         f.speedOfSound = 350.0;
         f.maxVelocity = x;
       },
       280.0, 279.99},
      // With recovery set its own opening is judged, not the best delay's.
      {EjectionTooFast,
       [](auto& f, auto&, double x) {
         f.bestDelay->ejectionVelocity = -25.0;
         if (!x) f.recovery = GoodRecovery();
       },
       1, 0},
      {NotDeployed,
       [](auto& f, auto&, double x) {
         f.recovery = GoodRecovery();
         f.recovery->deployed = !x;
       },
       1, 0},
      {DeploymentBeforeBurnout,
       [](auto& f, auto&, double x) {
         f.recovery = GoodRecovery();
         f.recovery->deploymentTime = x;
       },
       1.79, 1.8},
      {DeploymentTooFast,
       [](auto& f, auto&, double x) {
         f.recovery = GoodRecovery();
         f.recovery->deploymentSpeed = x;
       },
       20.01, 20.0},
      {DescentTooFast, SetDescent, 9.01, 4.5},  // just below, DescentFast fires (next test)
      {DescentFast, SetDescent, 6.01, 6.0},
      {DescentSlow, SetDescent, 1.99, 2.0},
      {LandingNotReached,
       [](auto& f, auto&, double x) {
         f.recovery = GoodRecovery();
         f.recovery->landed = !x;
       },
       1, 0},
      // Beyond the field's radius, not on it; only with recovery.
      {LandsOffField,
       [](auto& f, auto&, double x) {
         f.recovery = GoodRecovery();
         f.recovery->drift = x;
       },
       150.01, 150.0},
      {LandsOffField,
       [](auto& f, auto& in, double x) {
         f.recovery = GoodRecovery();
         in.fieldRadius = x;
       },
       125.99, 126.0},
      {LandsOffField,
       [](auto& f, auto& in, double x) {
         if (x) f.recovery = GoodRecovery();
         in.fieldRadius = 10.0;
       },
       1, 0},
      // Lowest margin while a motor burns: red below 1, amber below 1.5;
      // at lift-off above 4 it turns into the wind.
      {Unstable,
       [](auto& f, auto&, double x) {
         f.stability = {{0.2, 0.3, 2.0, x, 0.1}};
       },
       0.99, 1.5},
      {MarginallyStable,
       [](auto& f, auto&, double x) {
         f.stability = {{0.2, 0.3, 2.0, x, 0.1}};
       },
       1.49, 1.5},
      {MarginallyStable,
       [](auto& f, auto&, double x) {
         f.stability = {{0.2, 0.3, 2.0, x, 0.1}};
       },
       1.0, 1.5},
      {OverStable,
       [](auto& f, auto&, double x) {
         f.stability = {{0.2, 0.3, x, 3.0, 0.1}};
       },
       4.01, 4.0},
  };
  std::set<SafetyRuleId> covered;
  for (const auto& c : cases) {
    const std::string name(RuleOf(c.rule).key);
    FlightFigures f = Good();
    SafetyInputs in;
    c.set(f, in, c.fires);
    const std::vector<FlightWarning> found = JudgeFlight(f, in, ',');
    ASSERT_EQ(found.size(), 1u) << name;
    EXPECT_EQ(found[0].kind, c.rule) << name;
    EXPECT_EQ(WorstLevel(found), RuleOf(c.rule).level) << name;
    f = Good();
    in = {};
    c.set(f, in, c.quiet);
    EXPECT_TRUE(Fired(f, in).empty()) << name << ": " << JudgeFlight(f, in, ',').front().text;
    covered.insert(c.rule);
  }
  EXPECT_EQ(covered.size(),
            SafetyRules().size() - 1);  // "kein Flug" is the guide's, for runs without a flight
}

// The descent rate falls in one band at a time: red above 9 m/s, amber
// above 6, amber below 2.
TEST(FlightSafety, DescentRateBands) {
  using enum SafetyRuleId;
  const struct {
    double rate;
    std::vector<SafetyRuleId> fired;
  } cases[] = {{9.01, {DescentTooFast}}, {9.0, {DescentFast}}, {6.0, {}}, {2.0, {}}, {1.99, {DescentSlow}}};
  for (const auto& c : cases) {
    FlightFigures f = Good();
    SafetyInputs in;
    SetDescent(f, in, c.rate);
    EXPECT_EQ(Fired(f), c.fired) << c.rate;
  }
}

TEST(FlightSafety, RedOutweighsAmberAndTextsTakeTheSeparator) {
  FlightFigures f = Good();
  f.maxVelocity = 463.0;  // red
  f.motorMass = 0.174;    // amber
  const std::vector<FlightWarning> found = JudgeFlight(f, {}, ',');
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].kind, SafetyRuleId::NearSpeedOfSound);  // in the table's order
  EXPECT_EQ(WorstLevel(found), SafetyLevel::Red);
  EXPECT_EQ(found[0].text.rfind("Modell ungültig nahe Schallgeschwindigkeit: 463,0 m/s sind Mach 1,36", 0),
            0u)
      << found[0].text;
}

// The field's settings: its ceiling forbids the flight, its edge asks to
// check it; a flight whose landing was not computed is judged by the drift
// it reached, which only grows until touch-down.
TEST(FlightSafety, TheFieldsCeilingIsRedItsEdgeAmber) {
  using enum SafetyRuleId;
  FlightFigures f = Good();
  f.recovery = GoodRecovery();
  f.recovery->drift = 151.0;
  const SafetyInputs field = FieldInputs({150.0, 300.0});
  EXPECT_EQ(Fired(f, field), std::vector{LandsOffField});
  EXPECT_EQ(WorstLevel(JudgeFlight(f, field, ',')), SafetyLevel::Amber);
  f.maxHeight = 300.5;
  EXPECT_EQ(Fired(f, field), (std::vector{HeightLimit, LandsOffField}));
  EXPECT_EQ(WorstLevel(JudgeFlight(f, field, ',')), SafetyLevel::Red);
  EXPECT_TRUE(Fired(f, FieldInputs({200.0, 0.0})).empty()) << "a ceiling of 0 is none";
  f.recovery->landed = false;
  EXPECT_EQ(Fired(f, field), (std::vector{HeightLimit, LandingNotReached, LandsOffField}));
}

// The keys name the rules in JSON: one each.
TEST(FlightSafety, KeysAreUnique) {
  std::set<std::string_view> keys;
  for (const SafetyRule& r : SafetyRules()) EXPECT_TRUE(keys.insert(r.key).second) << r.key;
}

}  // namespace
}  // namespace komet
