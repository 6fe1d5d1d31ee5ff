// The safety rules: each fires at its threshold and stays quiet just
// below it, on figures built in the test.
#include "sim/flight_safety.h"

#include <gtest/gtest.h>

#include <functional>
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

std::vector<SafetyRuleId> Fired(const FlightFigures& f, const SafetyInputs& in = {}) {
  std::vector<SafetyRuleId> ids;
  for (const FlightWarning& w : JudgeFlight(f, in, ',')) ids.push_back(w.kind);
  return ids;
}

TEST(FlightSafety, AGoodFlightBreaksNoRule) {
  EXPECT_TRUE(Fired(Good()).empty());
  EXPECT_FALSE(WorstLevel({}).has_value());
}

TEST(FlightSafety, EachRuleFiresAtItsThresholdAndNotJustBelow) {
  using enum SafetyRuleId;
  using Change = std::function<void(FlightFigures&, SafetyInputs&)>;
  const double g100 = 100.0 * 9.80665;
  const struct {
    SafetyRuleId rule;
    Change fires, quiet;
  } cases[] = {
      {NoRailExit, [](auto& f, auto&) { f.railExitVelocity.reset(); },
       [](auto& f, auto&) { f.railExitVelocity = 15.0; }},
      {RailExitSpeed, [](auto& f, auto&) { f.railExitVelocity = 14.99; },
       [](auto& f, auto&) { f.railExitVelocity = 15.0; }},
      {NearSpeedOfSound, [](auto& f, auto&) { f.maxVelocity = 272.0; },
       [](auto& f, auto&) { f.maxVelocity = 271.99; }},
      {ApogeeNotReached, [](auto& f, auto&) { f.endVelocity = 0.01; },
       [](auto& f, auto&) { f.endVelocity = 0.0; }},
      {NoFittingDelay, [](auto& f, auto&) { f.bestDelay->difference = -1.51; },
       [](auto& f, auto&) { f.bestDelay->difference = -1.5; }},
      {NoFittingDelay, [](auto& f, auto&) { f.bestDelay.reset(); },
       [](auto& f, auto& in) {
         f.bestDelay.reset();
         in.otherDeployment = true;
       }},
      {PluggedTopStage,
       [](auto& f, auto&) {
         f.bestDelay.reset();
         f.ejectionCharge = false;
       },
       [](auto& f, auto& in) {
         f.bestDelay.reset();
         f.ejectionCharge = false;
         in.otherDeployment = true;
       }},
      {EjectionTooFast, [](auto& f, auto&) { f.bestDelay->ejectionVelocity = -20.01; },
       [](auto& f, auto&) { f.bestDelay->ejectionVelocity = -20.0; }},
      {NoBoosterBelow, [](auto& f, auto&) { f.nonBoosters.emplace_back(2, "C6 [Estes]"); },
       [](auto&, auto&) {}},
      {IgnitionAfterApogee,
       [](auto& f, auto&) {
         f.upperIgnitions.push_back({1, 7.01});
       },
       [](auto& f, auto&) {
         f.upperIgnitions.push_back({1, 7.0});
       }},
      {SeparationNotInFlight,
       [](auto& f, auto&) {
         f.lowerSeparations.push_back({2, 20.0});
       },
       [](auto& f, auto&) {
         f.lowerSeparations.push_back({2, 19.999});
       }},
      {ThrustToWeight, [](auto& f, auto&) { f.peakThrust = 4.99 * f.liftOffWeight; },
       [](auto& f, auto&) { f.peakThrust = 5.0 * f.liftOffWeight; }},
      {Acceleration, [&](auto& f, auto&) { f.maxAccel = g100 + 0.01; },
       [&](auto& f, auto&) { f.maxAccel = g100; }},
      {HeavyMotor, [](auto& f, auto&) { f.motorMass = 0.0501; }, [](auto& f, auto&) { f.motorMass = 0.05; }},
      {HeightLimit, [](auto&, auto& in) { in.heightLimit = 299.9; },
       [](auto&, auto& in) { in.heightLimit = 300.0; }},
      {DoubtfulData, [](auto& f, auto&) { f.doubtful.push_back("C6 [X]: Impuls passt nicht zur Kurve"); },
       [](auto&, auto&) {}},
  };
  std::set<SafetyRuleId> covered;
  for (const auto& c : cases) {
    const std::string name(RuleOf(c.rule).key);
    FlightFigures f = Good();
    SafetyInputs in;
    c.fires(f, in);
    const std::vector<FlightWarning> found = JudgeFlight(f, in, ',');
    ASSERT_EQ(found.size(), 1u) << name;
    EXPECT_EQ(found[0].kind, c.rule) << name;
    EXPECT_EQ(WorstLevel(found), RuleOf(c.rule).level) << name;
    EXPECT_FALSE(found[0].text.empty()) << name;
    f = Good();
    in = {};
    c.quiet(f, in);
    EXPECT_TRUE(Fired(f, in).empty()) << name << ": " << JudgeFlight(f, in, ',').front().text;
    covered.insert(c.rule);
  }
  EXPECT_EQ(covered.size(),
            SafetyRules().size() - 1);  // "kein Flug" is the guide's, for runs without a flight
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

TEST(FlightSafety, KeysAreUniqueAndRulesInTheirIdOrder) {
  std::set<std::string_view> keys;
  for (const SafetyRule& r : SafetyRules()) {
    EXPECT_TRUE(keys.insert(r.key).second) << r.key;
    EXPECT_EQ(&RuleOf(r.id), &r);
    EXPECT_FALSE(r.title.empty());
  }
}

}  // namespace
}  // namespace komet
