// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/flight_analysis.h"

#include <gtest/gtest.h>

#include <cmath>

#include "motors/motor_details.h"
#include "sim/sim_test_support.h"

namespace komet {
namespace {

using test::ConstantMotor;
using test::Fit;

class FlightAnalysisTest : public ::testing::Test {
 protected:
  FlightAnalysisTest() { InitRakete(rocket); }
  // A single-stage rocket: 40 g plus a motor of `thrust` N for 1.5 s.
  void SingleStage(double thrust, std::array<std::int8_t, 4> delays = {3, 5, 7, 0}) {
    rocket.stages[0].mass = 0.040;
    rocket.stages[0].diameter = 0.025;
    rocket.cw = 0.6;
    MotorRecord m = ConstantMotor(thrust, 1.5, 0.01, 0.025);
    m.delays = delays;
    Fit(rocket, 0, 0, m);
  }
  FlightAnalysis Run(const SimConstants& c = FixedConstants{}) {
    sim.RunSimulation(rocket, c);
    return AnalyseFlight(sim, ',');
  }
  bool Has(const FlightAnalysis& a, FlightWarning::Kind k) const {
    for (const auto& w : a.warnings)
      if (w.kind == k) return true;
    return false;
  }

  RocketRecord rocket;
  Simulation sim;
};

TEST_F(FlightAnalysisTest, DelayTableFollowsTheSeries) {
  SingleStage(8.0, {7, 3, 5, 0});  // stored unordered, listed ascending
  const FlightAnalysis a = Run();
  ASSERT_EQ(a.delays.size(), 3u);
  const FlightResults& r = sim.results();
  int bests = 0;
  for (const DelayCheck& c : a.delays) {
    EXPECT_DOUBLE_EQ(c.ejection.time, r.burnoutTime + c.delay);
    EXPECT_DOUBLE_EQ(c.fromApogee, c.ejection.time - r.maxHeightTime);
    const FlightSample& s = sim.samples()[static_cast<std::size_t>(std::lround(c.ejection.time * 200)) + 1];
    EXPECT_EQ(c.ejection.height, s.height) << c.delay;
    EXPECT_EQ(c.ejection.velocity, s.velocity) << c.delay;
    EXPECT_EQ(c.tooFast, std::fabs(s.velocity) > 20.0) << c.delay;
    bests += c.best;
  }
  EXPECT_EQ(a.delays[0].delay, 3);
  EXPECT_EQ(bests, 1);
  // The recommended delay decides the best choice.
  const DelayCheck* best = nullptr;
  for (const DelayCheck& c : a.delays)
    if (c.best) best = &c;
  for (const DelayCheck& c : a.delays)
    EXPECT_LE(std::fabs(best->delay - r.recommendedDelay()), std::fabs(c.delay - r.recommendedDelay()));
  // Near apogee the rocket is slow; a late ejection is fast and flagged.
  EXPECT_LT(std::fabs(best->ejection.velocity), std::fabs(a.delays.back().ejection.velocity) + 1e-9);
}

TEST_F(FlightAnalysisTest, EveryPublishedDelayIsChecked) {
  // Six delays on sale: the record holds four, the details all of them, and
  // the best choice may be one the four places could not take.
  SingleStage(8.0, {3, 5, 7, 15});
  MotorDetails d;
  d.delays = {3, 5, 7, 9, 11, 15};
  WriteMotorDetails(d, rocket.stages[0].motors[0]);
  const FlightAnalysis a = Run();
  std::vector<int> checked;
  for (const DelayCheck& c : a.delays) checked.push_back(c.delay);
  EXPECT_EQ(checked, d.delays);
}

TEST_F(FlightAnalysisTest, ToleranceBand) {
  const struct {
    int delay;
    double band;
  } cases[] = {{1, 1.5}, {5, 1.5}, {8, 1.6}, {10, 2.0}, {15, 3.0}, {20, 3.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(DelayTolerance(c.delay), c.band) << c.delay;
  SingleStage(8.0, {5, 0, 0, 0});
  const DelayCheck d = Run().delays.at(0);
  EXPECT_DOUBLE_EQ(d.early.time, d.ejection.time - 1.5);
  EXPECT_DOUBLE_EQ(d.late.time, d.ejection.time + 1.5);
  EXPECT_TRUE(d.early.inFlight && d.late.inFlight);
}

TEST_F(FlightAnalysisTest, EjectionAfterTheFlightShowsTheLastSample) {
  SingleStage(8.0, {90, 0, 0, 0});
  FixedConstants c;
  c.calcPeriod = 10;
  const DelayCheck d = Run(c).delays.at(0);
  EXPECT_FALSE(d.ejection.inFlight);
  EXPECT_EQ(d.ejection.height, sim.samples()[sim.lastSample()].height);
}

TEST_F(FlightAnalysisTest, WellFlyingRocketHasNoWarnings) {
  SingleStage(12.0);
  const FlightAnalysis a = Run();
  EXPECT_TRUE(a.warnings.empty()) << a.warnings.front().text;
}

TEST_F(FlightAnalysisTest, SlowRailExitAndLowThrust) {
  SingleStage(2.0);  // 65 g: weight 0.64 N, thrust 2 N
  const FlightAnalysis a = Run(test::NoFriction());
  ASSERT_TRUE(Has(a, FlightWarning::Kind::RailExitSpeed));
  ASSERT_TRUE(Has(a, FlightWarning::Kind::ThrustToWeight));
  for (const auto& w : a.warnings) {
    if (w.kind == FlightWarning::Kind::RailExitSpeed) {
      EXPECT_EQ(w.text.rfind("Startgeschwindigkeit zu gering", 0), 0u);
      EXPECT_LT(w.figure, 15.0);
      EXPECT_GT(w.figure, 0.0);
    } else {
      EXPECT_DOUBLE_EQ(w.figure, 2.0);
      EXPECT_NE(w.text.find("2,0 N"), std::string::npos) << w.text;
    }
  }
}

TEST_F(FlightAnalysisTest, RocketThatNeverLeavesTheRail) {
  SingleStage(0.3);
  const FlightAnalysis a = Run();
  ASSERT_TRUE(Has(a, FlightWarning::Kind::NoRailExit));
  EXPECT_FALSE(Has(a, FlightWarning::Kind::RailExitSpeed));
  EXPECT_EQ(a.warnings[0].figure, 0.0);
  EXPECT_EQ(a.warnings[0].level(), SafetyLevel::Red);
}

TEST_F(FlightAnalysisTest, UpperStageIgnitingAfterApogeeAndSeparationBeyondTheFlight) {
  SingleStage(12.0);
  // Booster 1 s, then a 30 s wait before stage 1 ignites.
  rocket.stages[1].mass = 0.02;
  rocket.stages[1].diameter = 0.025;
  rocket.stages[1].ignitionDelay = 30.0;
  Fit(rocket, 1, 0, ConstantMotor(12.0, 1.0, 0.01, 0.025));
  FixedConstants c;
  c.calcPeriod = 20;
  const FlightAnalysis a = Run(c);
  ASSERT_TRUE(Has(a, FlightWarning::Kind::IgnitionAfterApogee));
  ASSERT_TRUE(Has(a, FlightWarning::Kind::SeparationNotInFlight));
  for (const auto& w : a.warnings) {
    if (w.kind == FlightWarning::Kind::IgnitionAfterApogee ||
        w.kind == FlightWarning::Kind::SeparationNotInFlight) {
      EXPECT_DOUBLE_EQ(w.figure, 31.0);
      EXPECT_EQ(w.stage, w.kind == FlightWarning::Kind::IgnitionAfterApogee ? 1 : 2);
    }
  }
}

// Plugged, booster and doubtful data come from the motors' details; the
// field's limit and another deployment from the inputs.
TEST_F(FlightAnalysisTest, MotorDetailsAndInputsFeedTheRules) {
  SingleStage(12.0, {0, 0, 0, 0});
  MotorDetails plugged;
  plugged.plugged = true;
  plugged.dataCheck = "Impuls weicht ab";
  WriteMotorDetails(plugged, rocket.stages[0].motors[0]);
  FlightAnalysis a = Run();
  EXPECT_TRUE(Has(a, FlightWarning::Kind::PluggedTopStage));
  EXPECT_FALSE(Has(a, FlightWarning::Kind::NoFittingDelay));  // no charge: the delay does not matter
  EXPECT_TRUE(Has(a, FlightWarning::Kind::DoubtfulData));
  EXPECT_FALSE(Has(a, FlightWarning::Kind::HeightLimit));
  SafetyInputs in;
  in.otherDeployment = true;
  in.heightLimit = sim.results().maxHeight - 1.0;
  a = AnalyseFlight(sim, ',', in);
  EXPECT_FALSE(Has(a, FlightWarning::Kind::PluggedTopStage));
  EXPECT_TRUE(Has(a, FlightWarning::Kind::HeightLimit));

  // A booster below: red unless it is sold with a 0 delay.
  SingleStage(12.0);
  rocket.stages[1].mass = 0.02;
  rocket.stages[1].diameter = 0.025;
  Fit(rocket, 1, 0, ConstantMotor(12.0, 1.0, 0.01, 0.025));
  EXPECT_TRUE(Has(Run(), FlightWarning::Kind::NoBoosterBelow));
  MotorDetails booster;
  booster.booster = true;
  WriteMotorDetails(booster, rocket.stages[1].motors[0]);
  EXPECT_FALSE(Has(Run(), FlightWarning::Kind::NoBoosterBelow));
}

TEST_F(FlightAnalysisTest, ApogeeBeyondTheCalculationPeriod) {
  SingleStage(12.0);
  FixedConstants c;
  c.calcPeriod = 3.0;  // cut off while still climbing
  EXPECT_TRUE(Has(Run(c), FlightWarning::Kind::ApogeeNotReached));
  EXPECT_FALSE(Has(Run(), FlightWarning::Kind::ApogeeNotReached));
}

// Sound travels at sqrt(1.4 × 287.05 J/(kg K) × T): 312.6 m/s at -30 °C.
// Under the standard atmosphere the rule, its label and the figures take
// the site's, not the 340 m/s of the constant air.
TEST_F(FlightAnalysisTest, TheMachLimitTakesTheSitesTemperature) {
  SingleStage(8.0);
  FixedConstants cold;
  cold.site.standardAtmosphere = true;
  cold.site.temperature = -30.0;
  const FlightAnalysis a = Run(cold);
  const double sound = std::sqrt(1.4 * 287.05 * 243.15);
  EXPECT_NEAR(a.figures.speedOfSound, sound, 0.05);
  FlightFigures fast = a.figures;
  fast.maxVelocity = 0.8 * sound + 1.0;  // 251 m/s: fast for the cold air only
  bool fired = false;
  for (const FlightWarning& w : JudgeFlight(fast, {}, ','))
    fired = fired || w.kind == FlightWarning::Kind::NearSpeedOfSound;
  EXPECT_TRUE(fired);
  EXPECT_NE(RuleLabel(SafetyRuleId::NearSpeedOfSound, ',', a.figures.speedOfSound).find("250 m/s"),
            std::string::npos);
}

TEST_F(FlightAnalysisTest, NothingWithoutAFlight) {
  EXPECT_TRUE(AnalyseFlight(sim, '.').delays.empty());
  const FlightAnalysis a = Run();  // no motor: no present stage
  EXPECT_TRUE(a.delays.empty());
  EXPECT_TRUE(a.warnings.empty());
}

TEST_F(FlightAnalysisTest, LiftOffMassCountsClustersAndPresentStagesOnly) {
  SingleStage(8.0);
  Fit(rocket, 0, 1, ConstantMotor(8.0, 1.5, 0.01, 0.025), 2);
  Fit(rocket, 2, 0, ConstantMotor(8.0, 1.5, 0.01, 0.5));  // below an absent stage 2
  EXPECT_DOUBLE_EQ(LiftOffMass(MakeFlightPlan(rocket, FixedConstants{})), 0.040 + 3 * 0.025);
}

}  // namespace
}  // namespace komet
