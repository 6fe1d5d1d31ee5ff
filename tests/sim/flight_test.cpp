// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "common/numbers.h"
#include "sim/forces.h"
#include "sim/simulation.h"
#include "sim_test_support.h"

namespace komet {
namespace {

using test::ConstantMotor;
using test::Fit;
using test::MakeMotor;
using test::NoFriction;

constexpr double kG = 9.81;

RocketRecord OneStage(const MotorRecord& motor, double massKg, int count = 1) {
  RocketRecord rocket;
  rocket.stages[0].mass = massKg;
  Fit(rocket, 0, 0, motor, count);
  return rocket;
}

// The grid time of sample n.
double GridTime(std::size_t n) {
  return static_cast<double>(5 * (n - 1)) / 1000.0;
}

TEST(FlightSeries, FiftySecondsWithoutLandingFillSamplesOneTo10001) {
  const RocketRecord grounded = OneStage(ConstantMotor(1.0, 1.0), 1.0);
  const RocketRecord highFlier = OneStage(ConstantMotor(100.0, 2.0), 0.1);
  for (RocketRecord rocket : {grounded, highFlier}) {
    Simulation sim;
    sim.RunSimulation(rocket, FixedConstants{});
    ASSERT_EQ(sim.lastSample(), 10001u);
    EXPECT_EQ(sim.samples()[10002].time, kEndMarkerTime);
    EXPECT_EQ(sim.results().flightEndTime, 50.005);
    for (std::size_t n = 1; n <= 10001; ++n) ASSERT_EQ(sim.samples()[n].time, GridTime(n)) << n;
  }
}

TEST(FlightSeries, ThrustBelowWeightAndFrictionNeverLeavesTheGround) {
  RocketRecord rocket = OneStage(ConstantMotor(12.0, 1.0), 1.0);  // < 9.81 N + 3 N
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  for (std::size_t n = 1; n <= sim.lastSample(); ++n) {
    const FlightSample& s = sim.samples()[n];
    ASSERT_EQ(s.height, 0.0) << n;
    ASSERT_EQ(s.velocity, 0.0) << n;
    ASSERT_EQ(s.accel, 0.0) << n;
    ASSERT_LT(s.force, 0.0) << n;
  }
  EXPECT_EQ(sim.results().maxHeight, 0.0);
  EXPECT_EQ(sim.results().maxHeightTime, 0.0);
  EXPECT_EQ(sim.results().recommendedDelay(), -1.0);
  EXPECT_TRUE(sim.results().resultsValid);
}

TEST(FlightSeries, ScheduleEndsAtTheEndOfTheLastBurn) {
  RocketRecord rocket;  // stage 2 burns 1.6 s, waits 0.5 s; stage 1 burns 0.8 s and 1.2 s
  rocket.stages[1].mass = 0.1;
  Fit(rocket, 1, 0, ConstantMotor(30.0, 1.6, 0.0, 0.0, 4.0));
  rocket.stages[1].ignitionDelay = 0.5;
  rocket.stages[0].mass = 0.05;
  Fit(rocket, 0, 0, ConstantMotor(10.0, 0.8, 0.0, 0.0, 4.0));  // curves outlast the burn times
  Fit(rocket, 0, 1, ConstantMotor(10.0, 1.2, 0.0, 0.0, 4.0));
  Simulation sim;
  sim.RunSimulation(rocket, NoFriction());
  const auto samples = sim.samples();
  EXPECT_EQ(samples[661].time, 3.3);
  EXPECT_EQ(samples[661].thrust, 20.0);
  // From step 662 the flight runs unpowered.
  EXPECT_EQ(samples[662].time, 3.305);
  EXPECT_EQ(samples[662].thrust, 0.0);
  EXPECT_NEAR(samples[662].force, -0.05 * kG, 1e-12);
}

TEST(FlightSeries, LandingStepIsNotRecorded) {
  RocketRecord rocket = OneStage(ConstantMotor(5.0, 0.5), 0.05);
  rocket.cw = 0.5;
  rocket.stages[0].diameter = 0.025;
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  const std::size_t last = sim.lastSample();
  ASSERT_GT(last, 200u);
  ASSERT_LT(last, 10001u);
  EXPECT_EQ(sim.samples()[last + 1].time, kEndMarkerTime);
  EXPECT_EQ(sim.results().flightEndTime, GridTime(last + 1));
  EXPECT_GE(sim.samples()[last].height, 0.0);
  EXPECT_LT(sim.samples()[last].velocity, 0.0);
  EXPECT_GT(sim.results().maxHeight, 10.0);
}

TEST(FlightSeries, EqualHeightsKeepTheFirstTime) {
  // 1 kg: +10 m/s² in the first step, -10 m/s² in the second, so the
  // velocity returns to exactly 0 and the height repeats.
  RocketRecord rocket = OneStage(MakeMotor({{0.0, 20.0}, {0.005, 0.0}}, 0.01), 1.0);
  FixedConstants constants = NoFriction();
  constants.gravity = 10.0;
  Simulation sim;
  sim.RunSimulation(rocket, constants);
  ASSERT_GT(sim.samples()[1].height, 0.0);
  ASSERT_EQ(sim.samples()[2].height, sim.samples()[1].height);
  EXPECT_EQ(sim.results().maxHeight, sim.samples()[1].height);
  EXPECT_EQ(sim.results().maxHeightTime, 0.0);
}

TEST(FlightSeries, BurnoutTimeAndSampleIndices) {
  RocketRecord rocket = OneStage(ConstantMotor(5.0, 1.0), 0.05);
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  EXPECT_EQ(sim.results().burnoutTime, 1.0);
  EXPECT_EQ(sim.samples()[201].time, 1.0);
  const std::size_t last = sim.lastSample();
  const double lastTime = static_cast<double>(last) * 0.005;
  const struct {
    double t;
    std::optional<std::size_t> index;
  } cases[] = {{1.0, 200},
               {0.0, 0},
               {-0.001, 0},
               {-0.01, std::nullopt},
               {lastTime, last},
               {lastTime + 0.005, std::nullopt},
               {NAN, std::nullopt},
               {INFINITY, std::nullopt},
               {-INFINITY, std::nullopt},
               {1e300, std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(sim.SampleIndexAt(c.t), c.index) << c.t;
}

TEST(FlightSeries, SampleAtHoldsTheTimeAndReadersTakeTheSampleBefore) {
  const struct {
    double t;
    std::int64_t before;
  } grid[] = {{0.0, 0},    {1.0, 200},  {0.0024, 0},  {0.0026, 1},
              {0.0025, 0}, {0.0075, 2}, {-0.0024, 0}, {350.0, 70000}};
  for (const auto& c : grid) {
    EXPECT_EQ(SampleBefore(c.t), c.before) << c.t;
    EXPECT_EQ(SampleAt(c.t), c.before + 1) << c.t;
  }
  EXPECT_EQ(SampleAt(1e300), INT64_MAX);

  RocketRecord rocket = OneStage(ConstantMotor(5.0, 1.0), 0.05);
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  for (const std::size_t n : {std::size_t{1}, std::size_t{2}, std::size_t{201}, sim.lastSample()}) {
    const double t = sim.samples()[n].time;
    EXPECT_EQ(SampleAt(t), static_cast<std::int64_t>(n)) << t;
    EXPECT_EQ(SampleBefore(t), static_cast<std::int64_t>(n - 1)) << t;
  }
}

TEST(FlightSeries, NoPresentStageLeavesOneZeroSampleAndTheOldEndTime) {
  Simulation sim;
  RocketRecord flight = OneStage(ConstantMotor(5.0, 0.5), 0.05);
  sim.RunSimulation(flight, FixedConstants{});
  const double endTime = sim.results().flightEndTime;
  RocketRecord empty;
  sim.RunSimulation(empty, FixedConstants{});
  const FlightResults& r = sim.results();
  EXPECT_TRUE(r.noFlight);
  EXPECT_TRUE(r.resultsValid);
  EXPECT_EQ(r.flightEndTime, endTime);
  EXPECT_EQ(r.maxHeight + r.maxVelocity + r.maxAccel + r.maxForce + r.peakThrust, 0.0);
  ASSERT_EQ(sim.lastSample(), 1u);
  const FlightSample& s = sim.samples()[1];
  EXPECT_EQ(s.time + s.thrust + s.height + s.force + s.accel + s.velocity + s.propellantUsed, 0.0);
  EXPECT_EQ(sim.samples()[2].time, kEndMarkerTime);
  EXPECT_EQ(r.endMass, 0.0);
  EXPECT_EQ(r.poweredEnd, 0.0);
}

TEST(FlightSeries, GapBetweenFiringWindowsIsNoFlight) {
  RocketRecord rocket = OneStage(ConstantMotor(5.0, 1.0), 0.05);
  rocket.stages[0].ignitionDelay = -0.5;  // dropped at 0.5 s, schedule until 1.0 s
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  EXPECT_TRUE(sim.results().noFlight);
  EXPECT_FALSE(sim.results().resultsValid);
  EXPECT_EQ(sim.lastSample(), 101u);
  EXPECT_EQ(sim.samples()[102].time, kEndMarkerTime);
  EXPECT_EQ(sim.results().flightEndTime, 0.0);
}

TEST(FlightPhysics, RailFrictionActsUntilTheFirstStepAboveTheRail) {
  RocketRecord rocket = OneStage(ConstantMotor(20.0, 2.0), 1.0);
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});  // 1 m rail, 3 N
  const auto samples = sim.samples();
  std::size_t offRail = 1;
  while (samples[offRail].height <= 1.0) ++offRail;
  ASSERT_GT(offRail, 50u);
  for (std::size_t n = 1; n <= 400; ++n)
    ASSERT_EQ(samples[n].force, 20.0 - kG - (n <= offRail ? 3.0 : 0.0)) << n;
}

TEST(FlightPhysics, ConstantThrustWithoutDragFollowsTheEulerKinematics) {
  // 2 N on 0.1 kg for 1 s (steps 1..201), then ballistic until it lands.
  RocketRecord rocket = OneStage(ConstantMotor(2.0, 1.0), 0.1);
  Simulation sim;
  sim.RunSimulation(rocket, NoFriction());
  const double dt = 0.005;
  const double a = (2.0 - 0.1 * kG) / 0.1;
  const double burn = 201;
  const double vBurnout = burn * a * dt;
  const double hBurnout = a * dt * dt * burn * (burn + 1) / 2;
  for (std::size_t n = 1; n <= sim.lastSample(); ++n) {
    const double k = static_cast<double>(n);
    const double c = k - burn;  // coasting steps
    const double v = k <= burn ? k * a * dt : vBurnout - c * kG * dt;
    const double h = k <= burn ? a * dt * dt * k * (k + 1) / 2
                               : hBurnout + dt * (c * vBurnout - kG * dt * c * (c + 1) / 2);
    ASSERT_NEAR(sim.samples()[n].velocity, v, 1e-9 * std::max(1.0, std::abs(v))) << n;
    ASSERT_NEAR(sim.samples()[n].height, h, 1e-9 * std::max(1.0, h)) << n;
  }
  // Against the continuous solution for the 201 thrust steps (1.005 s),
  // within the scheme's first-order error.
  const double tBurn = burn * dt;
  EXPECT_NEAR(sim.results().maxHeight, a * tBurn * tBurn / 2 + vBurnout * vBurnout / (2 * kG), 0.01);
  EXPECT_NEAR(sim.results().maxVelocity, a * tBurn, 1e-9);
}

TEST(FlightPhysics, MotorsPushDownwardsOnceTheRocketFalls) {
  RocketRecord rocket;  // a short hop, then stage 1 ignites after apogee
  rocket.stages[1].mass = 0.1;
  Fit(rocket, 1, 0, ConstantMotor(3.0, 0.5));
  rocket.stages[1].ignitionDelay = 0.8;
  rocket.stages[0].mass = 0.05;
  Fit(rocket, 0, 0, ConstantMotor(1.0, 0.2));
  Simulation sim;
  sim.RunSimulation(rocket, NoFriction());
  ASSERT_LT(sim.results().maxHeightTime, 1.3);
  ASSERT_GT(sim.lastSample(), 280u);
  EXPECT_EQ(sim.samples()[1].thrust, 3.0);
  for (std::size_t n = 261; n <= 280; ++n) {
    EXPECT_EQ(sim.samples()[n].thrust, -1.0) << n;
    EXPECT_NEAR(sim.samples()[n].force, -1.0 - 0.05 * kG, 1e-12) << n;
  }
}

TEST(FlightPhysics, EveryMotorOfAClusterBurnsItsPropellant) {
  RocketRecord rocket = OneStage(ConstantMotor(10.0, 1.0, 0.01, 0.02), 0.05, 3);
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  double burnt = 0.0;
  for (std::size_t n = 1; n <= 201; ++n) burnt += sim.samples()[n].propellantUsed;
  EXPECT_NEAR(burnt, 0.03, 1e-12);
  EXPECT_NEAR(sim.results().stages[0].propellantMass, 0.0, 1e-12);
  EXPECT_NEAR(sim.results().endMass, 0.05 + 3 * 0.01, 1e-12);
}

TEST(FlightPhysics, TheEmptyingStepBurnsWhatIsLeftAndTheMassFollows) {
  // 0.0125 s burn time: three steps of 0.004 kg scheduled, 0.01 kg on board.
  RocketRecord rocket = OneStage(ConstantMotor(50.0, 0.0125, 0.01, 0.02), 0.05);
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  EXPECT_DOUBLE_EQ(sim.samples()[3].propellantUsed, 0.004);
  EXPECT_EQ(sim.results().stages[0].propellantMass, 0.0);
  EXPECT_NEAR(sim.results().endMass, 0.06, 1e-15);
  EXPECT_EQ(sim.samples()[3].accel, sim.samples()[3].force / sim.results().endMass);
}

TEST(FlightPhysics, StagesSeparateOnTheMillisecondGrid) {
  const struct {
    double burn, delay;
    std::size_t step;  // first step with the upper stage alone
  } cases[] = {{0.1, 0.2, 61}, {1.0, 0.0, 201}, {1.0, 0.0004, 201}, {1.0, 0.0006, 202}, {1.0, 0.0026, 202}};
  for (const auto& c : cases) {
    RocketRecord rocket;
    rocket.stages[1].mass = 0.2;
    Fit(rocket, 1, 0, ConstantMotor(20.0, c.burn, 0.0, 0.0, 5.0));
    rocket.stages[1].ignitionDelay = c.delay;
    rocket.stages[0].mass = 0.1;
    Fit(rocket, 0, 0, ConstantMotor(8.0, 1.0));
    Simulation sim;
    sim.RunSimulation(rocket, NoFriction());
    const auto s = sim.samples();
    EXPECT_TRUE(sim.results().stages[1].absent) << c.burn + c.delay;
    EXPECT_EQ(s[c.step - 1].thrust, 20.0) << c.burn + c.delay;
    EXPECT_EQ(s[c.step].thrust, 8.0) << c.burn + c.delay;
    EXPECT_NEAR(s[c.step - 1].accel, 20.0 / 0.3 - kG, 1e-9) << c.burn + c.delay;
    EXPECT_NEAR(s[c.step].accel, 8.0 / 0.1 - kG, 1e-9) << c.burn + c.delay;
  }
}

// A lower stage is timed by its slot-1 motor: a longer-burning motor beside
// it still holds propellant at separation. That propellant leaves with the
// stage, and its thrust ends there.
TEST(FlightPhysics, ALongerMotorOfALowerStageDropsWithItsPropellant) {
  RocketRecord rocket;
  rocket.stages[1].mass = 0.2;
  Fit(rocket, 1, 0, ConstantMotor(20.0, 0.5, 0.01, 0.02));
  Fit(rocket, 1, 1, ConstantMotor(10.0, 2.0, 0.04, 0.06));
  rocket.stages[0].mass = 0.1;
  Fit(rocket, 0, 0, ConstantMotor(8.0, 1.0));
  Simulation sim;
  sim.RunSimulation(rocket, NoFriction());
  const auto s = sim.samples();
  EXPECT_DOUBLE_EQ(sim.results().stages[1].separationTime, 0.5);
  // Both motors push and burn until the upper stage takes over at 0.5 s.
  EXPECT_EQ(s[100].thrust, 30.0);
  EXPECT_NEAR(s[100].propellantUsed, 0.0002, 1e-15);
  EXPECT_NEAR(s[100].accel, 30.0 / (0.38 - 100 * 0.0002) - kG, 1e-9);
  for (std::size_t n = 101; n <= 300; ++n) ASSERT_EQ(s[n].thrust, 8.0) << n;
  // 0.03 kg of the longer motor's propellant went with the stage.
  EXPECT_NEAR(sim.results().stages[1].propellantMass, 0.03, 1e-12);
  EXPECT_NEAR(s[101].accel, 8.0 / 0.1 - kG, 1e-9);
  EXPECT_NEAR(sim.results().endMass, 0.1, 1e-12);
}

TEST(FlightPhysics, ThrustEndsWithTheCurve) {
  RocketRecord rocket;  // stage 2's curve ends at 500 N; it waits 0.5 s for stage 1
  rocket.stages[1].mass = 1.0;
  Fit(rocket, 1, 0, MakeMotor({{0.0, 0.0}, {1.0, 500.0}}, 1.0));
  rocket.stages[1].ignitionDelay = 0.5;
  Fit(rocket, 0, 0, ConstantMotor(8.0, 1.0));
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  EXPECT_EQ(sim.samples()[201].thrust, 500.0);
  EXPECT_EQ(sim.samples()[202].thrust, 0.0);
  EXPECT_EQ(sim.samples()[251].thrust, 0.0);
}

}  // namespace
}  // namespace komet
