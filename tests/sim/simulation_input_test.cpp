// SPDX-License-Identifier: GPL-3.0-or-later
// Rockets and constants no stage dialog would make, as rocket and options
// files can hold them: every double the simulation reads, counts far
// outside 0..20, curves out of order, the step bound. Whatever they hold,
// the flight stays one that every reader of it can take.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstddef>
#include <functional>
#include <limits>
#include <string>

#include "sim/simulation.h"
#include "sim_test_support.h"
#include "support/flight_invariants.h"

namespace komet {
namespace {

using test::ConstantMotor;
using test::Fit;
using test::MakeMotor;
using testing::FlightFault;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kBadValues[] = {kNaN, kInf, -kInf, -1.0, 0.0, 1e300, -1e300, 5e-324};

// Three present stages, so that every field of every stage is read.
RocketRecord ThreeStages() {
  RocketRecord r;
  r.cw = 0.6;
  for (std::size_t s = 0; s < kStageCount; ++s) {
    r.stages[s].mass = 0.02;
    r.stages[s].diameter = 0.025;
    r.stages[s].otherArea = 1e-4;
    r.stages[s].ignitionDelay = s == 0 ? 0.0 : 0.3;
    Fit(r, s, 0, MakeMotor({{0.0, 0.0}, {0.1, 15.0}, {0.8, 5.0}, {0.9, 0.0}}, 0.9, 0.008, 0.02));
    Fit(r, s, 1, ConstantMotor(3.0, 0.5, 0.002, 0.006), 2);
  }
  return r;
}

// An ordinary two-stage rocket for the cases to spoil.
RocketRecord BaseRocket() {
  RocketRecord rocket;
  rocket.cw = 0.5;
  rocket.stages[1].mass = 0.05;
  rocket.stages[1].diameter = 0.025;
  rocket.stages[1].ignitionDelay = 0.5;
  Fit(rocket, 1, 0, ConstantMotor(10.0, 1.0, 0.01, 0.02));
  rocket.stages[0].mass = 0.03;
  rocket.stages[0].diameter = 0.02;
  Fit(rocket, 0, 0, ConstantMotor(6.0, 1.0, 0.005, 0.015), 2);
  return rocket;
}

struct HostileCase {
  const char* what;
  std::function<void(RocketRecord&, FixedConstants&)> spoil;
};

using RocketField = double& (*)(RocketRecord&, std::size_t stage);

TEST(SimulationInputTest, EveryDoubleItReadsMayHoldAnything) {
  const struct {
    const char* name;
    RocketField field;
  } fields[] = {
      {"cw", [](RocketRecord& r, std::size_t) -> double& { return r.cw; }},
      {"mass", [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].mass; }},
      {"otherArea", [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].otherArea; }},
      {"diameter", [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].diameter; }},
      {"ignitionDelay", [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].ignitionDelay; }},
      {"propellantMass",
       [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].motors[0].propellantMass; }},
      {"totalMass",
       [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].motors[1].totalMass; }},
      {"burnTime", [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].motors[0].burnTime; }},
      {"burnTime slot 2",
       [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].motors[1].burnTime; }},
      {"curveTime",
       [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].motors[0].curveTime[2]; }},
      {"curveThrust",
       [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].motors[0].curveThrust[1]; }},
      {"curveTime 0",
       [](RocketRecord& r, std::size_t s) -> double& { return r.stages[s].motors[0].curveTime[0]; }},
  };
  Simulation sim;  // one table for all, so stale entries would show
  for (const auto& f : fields) {
    for (std::size_t stage = 0; stage < kStageCount; ++stage) {
      for (double bad : kBadValues) {
        RocketRecord rocket = ThreeStages();
        f.field(rocket, stage) = bad;
        sim.RunSimulation(rocket, FixedConstants{});
        EXPECT_EQ(FlightFault(sim), "")
            << std::string(f.name) + " of stage " + std::to_string(stage + 1) + " = " + std::to_string(bad);
      }
    }
  }
}

TEST(SimulationInputTest, EveryConstantMayHoldAnything) {
  using ConstantField = double FixedConstants::*;
  const ConstantField fields[] = {&FixedConstants::calcPeriod, &FixedConstants::gravity,
                                  &FixedConstants::airDensity, &FixedConstants::railLength,
                                  &FixedConstants::railFriction};
  Simulation sim;
  for (ConstantField field : fields) {
    for (double bad : kBadValues) {
      RocketRecord rocket = ThreeStages();
      FixedConstants constants;
      constants.*field = bad;
      sim.RunSimulation(rocket, constants);
      EXPECT_EQ(FlightFault(sim), "") << "constant = " + std::to_string(bad);
    }
  }
}

TEST(SimulationInputTest, NonFiniteBurnTimesLeaveAFiniteBurnout) {
  // An infinite burn or a NaN delay below the main stage made the burnout
  // time, and with it the recommended delay, infinite or NaN.
  const struct {
    const char* what;
    std::size_t stage;
    bool delay;
    double value;
  } cases[] = {{"infinite burn", 0, false, kInf},
               {"NaN burn", 0, false, kNaN},
               {"NaN delay", 1, true, kNaN},
               {"infinite delay", 2, true, kInf}};
  for (const auto& c : cases) {
    RocketRecord rocket = ThreeStages();
    StageRecord& s = rocket.stages[c.stage];
    (c.delay ? s.ignitionDelay : s.motors[0].burnTime) = c.value;
    Simulation sim;
    sim.RunSimulation(rocket, FixedConstants{});
    EXPECT_TRUE(std::isfinite(sim.results().burnoutTime)) << c.what;
    EXPECT_TRUE(std::isfinite(sim.results().recommendedDelay())) << c.what;
  }
}

TEST(SimulationInputTest, CountsFarOutsideTheSpinRange) {
  const int counts[] = {-1, 21, INT_MAX, INT_MIN, -INT_MAX};
  Simulation sim;
  for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
    for (int count : counts) {
      RocketRecord rocket = ThreeStages();
      rocket.stages[1].counts[slot] = count;
      rocket.stages[0].counts = {count, count, count};
      sim.RunSimulation(rocket, FixedConstants{});
      EXPECT_EQ(FlightFault(sim), "")
          << "count " + std::to_string(count) + " in slot " + std::to_string(slot + 1);
    }
  }
}

TEST(SimulationInputTest, CurvesWithDescendingOrRepeatedTimes) {
  const MotorRecord curves[] = {
      MakeMotor({{0.0, 0.0}, {1.0, 10.0}, {0.5, 20.0}, {1.5, 0.0}}, 1.5, 0.01, 0.02),
      MakeMotor({{0.0, 5.0}, {0.5, 10.0}, {0.5, 30.0}, {0.5, 0.0}, {1.0, 8.0}}, 1.0, 0.01, 0.02),
      MakeMotor({{2.0, 10.0}, {1.0, 10.0}}, 2.0, 0.01, 0.02),  // starts late and runs back
  };
  Simulation sim;
  for (const MotorRecord& m : curves) {
    RocketRecord rocket;
    rocket.stages[0].mass = 0.02;
    Fit(rocket, 0, 0, m);
    sim.RunSimulation(rocket, FixedConstants{});
    EXPECT_EQ(FlightFault(sim), "") << "curve " + std::to_string(&m - curves);
  }
  // A full curve whose points all share one time: up to it the first
  // segment, beyond it there is no point left to stop at, and the thrust
  // ends.
  MotorRecord wall = MakeMotor({{0.0, 7.0}}, 1.0);
  for (std::size_t k = 1; k < MotorRecord::kCurvePoints; ++k)
    wall.curveTime[k] = 0.5, wall.curveThrust[k] = 1e3;
  RocketRecord rocket;
  rocket.stages[0].mass = 1e3;  // stays on the pad
  Fit(rocket, 0, 0, wall);
  sim.RunSimulation(rocket, FixedConstants{});
  EXPECT_EQ(FlightFault(sim), "") << "wall";
  EXPECT_EQ(sim.samples()[1].thrust, 7.0);
  EXPECT_EQ(sim.samples()[101].thrust, 1e3);
  EXPECT_EQ(sim.samples()[102].thrust, 0.0);
}

TEST(SimulationInputTest, AnEndlessBurnFillsTheTableToItsLastSlot) {
  // Heavy enough never to lift off, so neither pass ends early.
  RocketRecord rocket;
  rocket.stages[0].mass = 1e6;
  Fit(rocket, 0, 0, ConstantMotor(10.0, 1e300));
  FixedConstants constants;
  constants.calcPeriod = 1e300;
  Simulation sim;
  sim.RunSimulation(rocket, constants);
  EXPECT_EQ(FlightFault(sim), "") << "endless";
  EXPECT_EQ(sim.lastSample(), static_cast<std::size_t>(kMaxSteps));
  EXPECT_EQ(sim.samples()[kSampleTableSize - 1].time, kEndMarkerTime);
}

// The stages' windows follow one another without a gap whatever the
// delays below the main stage; only a negative delay of the main stage
// itself (which the stage dialog never sets) ends its window before the
// thrust schedule does.
TEST(SimulationInputTest, AGapInTheScheduleMarksNoFlight) {
  for (double delay : {-0.1, -5.0, -1e300, -kInf}) {
    RocketRecord rocket = ThreeStages();
    rocket.stages[0].ignitionDelay = delay;
    Simulation sim;
    sim.RunSimulation(rocket, FixedConstants{});
    EXPECT_TRUE(sim.results().noFlight) << delay;
    EXPECT_FALSE(sim.results().resultsValid) << delay;
    EXPECT_EQ(FlightFault(sim), "") << "delay " + std::to_string(delay);
  }
}

TEST(SimulationInputTest, EverySeriesStaysFiniteBoundedAndMarked) {
  const auto motor1 = [](RocketRecord& r) -> MotorRecord& { return r.stages[0].motors[0]; };
  const HostileCase cases[] = {
      {"NaN stage mass", [](RocketRecord& r, FixedConstants&) { r.stages[0].mass = kNaN; }},
      {"infinite propellant", [&](RocketRecord& r, FixedConstants&) { motor1(r).propellantMass = kInf; }},
      {"negative masses",
       [](RocketRecord& r, FixedConstants&) { r.stages[0].mass = r.stages[1].mass = -1.0; }},
      {"zero burn time", [&](RocketRecord& r, FixedConstants&) { motor1(r).burnTime = 0.0; }},
      {"burn time 1e300", [&](RocketRecord& r, FixedConstants&) { motor1(r).burnTime = 1e300; }},
      {"NaN burn time", [](RocketRecord& r, FixedConstants&) { r.stages[1].motors[0].burnTime = kNaN; }},
      {"negative delay", [](RocketRecord& r, FixedConstants&) { r.stages[1].ignitionDelay = -5.0; }},
      {"NaN delay", [](RocketRecord& r, FixedConstants&) { r.stages[1].ignitionDelay = kNaN; }},
      {"huge counts",
       [](RocketRecord& r, FixedConstants&) {
         r.stages[0].counts = {INT_MAX, INT_MIN, 1000};
       }},
      {"negative count", [](RocketRecord& r, FixedConstants&) { r.stages[1].counts[0] = -3; }},
      {"NaN curve", [&](RocketRecord& r, FixedConstants&) { motor1(r).curveTime.fill(kNaN); }},
      {"overflowing thrust",
       [&](RocketRecord& r, FixedConstants&) {
         motor1(r).curveThrust.fill(1e308);
         r.stages[0].mass = 1e-300;
       }},
      {"NaN cw and diameter",
       [](RocketRecord& r, FixedConstants&) {
         r.cw = kNaN;
         r.stages[0].diameter = kInf;
       }},
      {"stage 2 missing under stage 3",
       [](RocketRecord& r, FixedConstants&) {
         Fit(r, 2, 0, ConstantMotor(20.0, 1.0));
         r.stages[1].counts[0] = 0;
       }},
      {"NaN gravity", [](RocketRecord&, FixedConstants& c) { c.gravity = kNaN; }},
      {"endless period", [](RocketRecord&, FixedConstants& c) { c.calcPeriod = kInf; }},
      {"NaN period", [](RocketRecord&, FixedConstants& c) { c.calcPeriod = kNaN; }},
      {"negative period", [](RocketRecord&, FixedConstants& c) { c.calcPeriod = -1.0; }},
      {"NaN rail", [](RocketRecord&, FixedConstants& c) { c.railLength = c.railFriction = kNaN; }},
      {"infinite density", [](RocketRecord&, FixedConstants& c) { c.airDensity = kInf; }},
  };
  Simulation sim;  // one table for all, so stale entries would show
  for (const auto& c : cases) {
    RocketRecord rocket = BaseRocket();
    FixedConstants constants;
    c.spoil(rocket, constants);
    sim.RunSimulation(rocket, constants);
    EXPECT_EQ(FlightFault(sim), "") << c.what;
  }
}

TEST(SimulationInputTest, WithoutMassNothingAccelerates) {
  RocketRecord rocket;
  Fit(rocket, 0, 0, ConstantMotor(10.0, 1.0));
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  ASSERT_EQ(sim.lastSample(), 10001u);
  for (std::size_t n = 1; n <= sim.lastSample(); ++n) {
    ASSERT_EQ(sim.samples()[n].accel, 0.0) << n;
    ASSERT_EQ(sim.samples()[n].height, 0.0) << n;
  }
  EXPECT_EQ(sim.samples()[1].force, 10.0 - 3.0);
}

TEST(SimulationInputTest, EndlessBurnStopsAtTheStepBound) {
  RocketRecord rocket = BaseRocket();
  rocket.stages[0].motors[0].burnTime = 1e300;
  FixedConstants constants;
  constants.calcPeriod = 1e300;
  Simulation sim;
  sim.RunSimulation(rocket, constants);
  EXPECT_LE(sim.lastSample(), static_cast<std::size_t>(kMaxSteps));
  EXPECT_EQ(sim.samples()[sim.lastSample() + 1].time, kEndMarkerTime);
}

}  // namespace
}  // namespace komet
