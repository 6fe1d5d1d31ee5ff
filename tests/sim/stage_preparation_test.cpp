// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "sim/simulation.h"
#include "sim_test_support.h"

namespace komet {
namespace {

using test::ConstantMotor;
using test::Fit;

struct Timing {
  double ignition[3];
  double separation[3];
  double poweredEnd;
  double burnout;
};

void ExpectTiming(const Simulation& sim, const Timing& want) {
  const FlightResults& r = sim.results();
  for (std::size_t i = 0; i < kStageCount; ++i) {
    EXPECT_DOUBLE_EQ(r.stages[i].ignitionTime, want.ignition[i]) << "stage " << i + 1;
    EXPECT_DOUBLE_EQ(r.stages[i].separationTime, want.separation[i]) << "stage " << i + 1;
  }
  EXPECT_DOUBLE_EQ(r.poweredEnd, want.poweredEnd);
  EXPECT_DOUBLE_EQ(sim.results().burnoutTime, want.burnout);
}

TEST(StagePreparation, TwoStagesWithTwoMainStageMotors) {
  RocketRecord rocket;
  Fit(rocket, 1, 0, ConstantMotor(20.0, 1.6));
  rocket.stages[1].ignitionDelay = 0.5;
  Fit(rocket, 0, 0, ConstantMotor(10.0, 0.8));
  Fit(rocket, 0, 1, ConstantMotor(10.0, 1.2));
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  ExpectTiming(sim, {{2.1, 0.0, 0.0}, {3.3, 2.1, 0.0}, 3.3, 2.9});
  EXPECT_TRUE(sim.results().stages[2].absent);
}

TEST(StagePreparation, ThreeStagesChainTheirDelays) {
  RocketRecord rocket;
  Fit(rocket, 2, 0, ConstantMotor(30.0, 1.0));
  rocket.stages[2].ignitionDelay = 0.5;
  Fit(rocket, 1, 0, ConstantMotor(20.0, 2.0));
  rocket.stages[1].ignitionDelay = 0.25;
  Fit(rocket, 0, 0, ConstantMotor(10.0, 3.0));
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  ExpectTiming(sim, {{3.75, 1.5, 0.0}, {6.75, 3.75, 1.5}, 6.75, 6.75});
}

TEST(StagePreparation, LowerStagesTimeBySlotOneTheMainStageByItsLongestMotor) {
  RocketRecord rocket;
  Fit(rocket, 1, 0, ConstantMotor(20.0, 1.0));
  Fit(rocket, 1, 1, ConstantMotor(20.0, 3.0));
  rocket.stages[1].ignitionDelay = 0.5;
  Fit(rocket, 0, 0, ConstantMotor(10.0, 1.0));
  Fit(rocket, 0, 2, ConstantMotor(10.0, 2.0));
  Fit(rocket, 0, 1, ConstantMotor(10.0, 9.0), 0);  // unused slot: no say
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  ExpectTiming(sim, {{1.5, 0.0, 0.0}, {3.5, 1.5, 0.0}, 3.5, 2.5});
}

TEST(StagePreparation, MassesAreCountTimesTheMotorAndUnusedSlotsAddNothing) {
  RocketRecord rocket;
  rocket.stages[1].mass = 0.05;
  Fit(rocket, 1, 0, ConstantMotor(20.0, 1.0, 0.01, 0.03), 2);
  rocket.stages[0].mass = 0.02;
  Fit(rocket, 0, 0, ConstantMotor(10.0, 1.0, 0.004, 0.016));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Fit(rocket, 0, 1, ConstantMotor(10.0, 1.0, nan, nan), 0);
  // Slot 1 empty: the stage is absent whatever its other slots hold.
  Fit(rocket, 2, 1, ConstantMotor(10.0, 1.0, 1.0, 2.0), 4);
  rocket.stages[2].mass = 5.0;
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  EXPECT_DOUBLE_EQ(sim.results().stages[1].casingMass, 0.04);
  EXPECT_DOUBLE_EQ(sim.results().stages[0].casingMass, 0.012);
  EXPECT_EQ(sim.results().stages[2].propellantMass, 0.0);
  EXPECT_EQ(sim.results().stages[2].casingMass, 0.0);
  // Lift-off mass, seen in the first step's weight (no drag yet, on the rail).
  const double liftOff = 0.05 + 0.06 + 0.02 + 0.016;
  const double burntFirstStep = 2 * 0.005 * 0.01;
  const double weight = (liftOff - burntFirstStep) * 9.81;
  EXPECT_NEAR(sim.samples()[1].force, 40.0 - weight - 3.0, 1e-12);
  // Both motors of stage 2 burn their propellant within its first second.
  double burnt = 0.0;
  for (std::size_t n = 1; n <= 200; ++n) burnt += sim.samples()[n].propellantUsed;
  EXPECT_NEAR(burnt, 0.02, 1e-12);
}

TEST(StagePreparation, StackDiameterIsTheWidestOfTheStagesAbove) {
  RocketRecord rocket;
  const double diameters[] = {0.02, 0.04, 0.03};
  for (std::size_t i = 0; i < kStageCount; ++i) {
    Fit(rocket, i, 0, ConstantMotor(10.0, 1.0));
    rocket.stages[i].diameter = diameters[i];
    rocket.stages[i].otherArea = 0.001 * static_cast<double>(i + 1);
  }
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  EXPECT_EQ(sim.constants().stackDiameter[0], 0.02);
  EXPECT_EQ(sim.constants().stackDiameter[1], 0.04);
  EXPECT_EQ(sim.constants().stackDiameter[2], 0.04);
  // Stages 2 and 3 have dropped by the end, taking their other areas along.
  EXPECT_NEAR(sim.results().endArea, 0.001, 1e-15);
  EXPECT_TRUE(sim.results().stages[1].absent);
  EXPECT_TRUE(sim.results().stages[2].absent);
}

}  // namespace
}  // namespace komet
