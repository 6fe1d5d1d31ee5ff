// SPDX-License-Identifier: GPL-3.0-or-later
// The run splits its passes into stretches (firing stage, powered or
// coasting, on the rail or free) and remembers curve segments. These tests
// fly the same rockets with one plain loop per pass, every rule applied at
// every step, and demand the same bits: a stretch that starts a step early
// or late, or a rule left out where it still matters, shows up here.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/numbers.h"
#include "sim/forces.h"
#include "sim/motor_thrust.h"
#include "sim/quantities.h"
#include "sim/simulation.h"
#include "sim_test_support.h"

namespace komet {
namespace {

using test::ConstantMotor;
using test::Fit;
using test::MakeMotor;

struct PlainRun {
  std::vector<FlightSample> samples = std::vector<FlightSample>(kSampleTableSize);
  FlightResults results;
  std::size_t end = 0;  // index of the end marker
  double runMass = 0.0;
};

std::int64_t Ms(double seconds) {
  return RoundHalfEven(seconds * 1000.0);
}

double DragFactorOf(const RocketRecord& rocket, const RunConstants& c, std::size_t k) {
  const double radius = c.stackDiameter[k] / 2.0;
  return c.airDensity * c.cwValue * (radius * radius * kPi + rocket.runArea) / 2.0;
}

// The working values the stage preparation starts the flight with; the
// times, casing masses and powered end are those the run prepared.
RocketRecord AsPrepared(RocketRecord rocket, const FlightResults& prepared) {
  for (std::size_t i = 0; i < kStageCount; ++i) {
    rocket.stages[i].runIgnitionTime = prepared.stages[i].ignitionTime;
    rocket.stages[i].runSeparationTime = prepared.stages[i].separationTime;
    rocket.stages[i].runCasingMass = prepared.stages[i].casingMass;
  }
  rocket.runPoweredEnd = prepared.poweredEnd;
  rocket.runMass = rocket.runArea = 0.0;
  for (StageRecord& stage : rocket.stages) stage.absent = stage.counts[0] == 0 ? 1 : 0;
  for (std::size_t i = 0; i < kStageCount && !rocket.stages[i].absent; ++i)
    rocket.runArea += rocket.stages[i].otherArea;
  for (std::size_t i = kStageCount; i-- > 0;) {
    StageRecord& stage = rocket.stages[i];
    if (stage.absent) continue;
    stage.runPropellantMass = 0.0;
    for (std::size_t j = 0; j < kSlotCount; ++j)
      if (stage.counts[j] != 0) stage.runPropellantMass += stage.counts[j] * stage.motors[j].propellantMass;
    rocket.runMass += stage.mass + stage.runCasingMass + stage.runPropellantMass;
  }
  return rocket;
}

void PlainSchedule(PlainRun& run, const RocketRecord& rocket, const RunConstants& c) {
  double t = 0.0;
  std::int64_t tMs = 0;
  std::size_t n = 1;
  do {
    std::size_t k = 0;
    while (k < kStageCount &&
           !(Ms(rocket.stages[k].runIgnitionTime) <= tMs && tMs <= Ms(rocket.stages[k].runSeparationTime)))
      ++k;
    ASSERT_LT(k, kStageCount) << "these rockets have no gap in their schedule";
    double thrust = 0.0;
    double propellant = 0.0;
    for (std::size_t j = 0; j < kSlotCount; ++j) {
      if (rocket.stages[k].counts[j] == 0) continue;
      thrust += MotorThrust(rocket.stages[k], j, t);
      propellant += MotorPropellantUse(rocket.stages[k], j, t, c.timeStep);
    }
    run.samples[n] = FlightSample{t, Finite(thrust), 0.0, 0.0, 0.0, 0.0, Finite(propellant)};
    run.results.peakThrust = std::max(run.results.peakThrust, run.samples[n].thrust);
    tMs += 5;
    t = static_cast<double>(tMs) / 1000.0;
    ++n;
  } while (t <= rocket.runPoweredEnd && n <= static_cast<std::size_t>(kMaxSteps));
  run.samples[n].time = kEndMarkerTime;
}

// "The schedule is exhausted": a sample time at or above this is the
// schedule's end marker, since the schedule only writes grid times below
// 350 s. The simulation keeps the marker's index instead of testing every
// step; this model tests the time, as a plain reading of the rule would.
constexpr double kScheduleEndTime = 9999.0;

// The flight's state between the steps of the plain model.
struct PlainState {
  std::size_t k = 0;  // the lowest stage still attached
  double t = 0.0, h = 0.0, v = 0.0, R = 0.0, K = 0.0;
  std::int64_t tMs = 0;
  bool grounded = true, rising = true, powered = true;
};

// Drops stage k when its separation time has come.
void PlainSeparation(PlainState& s, RocketRecord& rocket, const RunConstants& c) {
  if (s.k == 0 || Ms(rocket.stages[s.k].runSeparationTime) > s.tMs) return;
  StageRecord& stage = rocket.stages[s.k];
  rocket.runMass -= stage.mass + stage.runPropellantMass + stage.runCasingMass;
  rocket.runArea -= stage.otherArea;
  s.K = DragFactorOf(rocket, c, --s.k);
}

// Burns the step's propellant while the schedule supplies thrust.
void PlainBurn(PlainState& s, FlightSample& sample, RocketRecord& rocket) {
  if (sample.time >= kScheduleEndTime) s.powered = false;
  if (s.powered) {
    const double burnt = std::min(sample.propellantUsed, rocket.stages[s.k].runPropellantMass);
    rocket.stages[s.k].runPropellantMass -= burnt;
    rocket.runMass -= burnt;
    if (!s.rising) sample.thrust = -sample.thrust;
  } else {
    sample.propellantUsed = sample.thrust = 0.0;
  }
}

void PlainMaxima(FlightResults& r, const PlainState& s, double F, double a) {
  if (a > r.maxAccel) r.maxAccel = a;
  if (s.v > r.maxVelocity) r.maxVelocity = s.v, r.maxVelocityTime = s.t;
  if (s.h > r.maxHeight) r.maxHeight = s.h, r.maxHeightTime = s.t;
  if (F > r.maxForce) r.maxForce = F;
}

// One step's motion; false once the rocket falls below the ground.
bool PlainMotion(PlainState& s, FlightSample& sample, FlightResults& r, double m, const RunConstants& c) {
  double F = Finite(NetForce(sample.thrust, Drag(s.K, s.v), Weight(m, c.gravity), s.R));
  double a = Finite(Acceleration(F, m));
  s.v = Finite(NextVelocity(s.v, a, c.timeStep));
  double hNew = Finite(NextHeight(s.h, s.v, c.timeStep));
  if (s.grounded) {
    if (hNew < 0.0) hNew = 0.0;
    if (s.v < 0.0) s.v = 0.0;
    if (a < 0.0) a = 0.0;
    if (hNew > 0.0) s.grounded = false;
  }
  if (hNew < 0.0) return false;
  if (hNew > c.railLength) s.R = 0.0;
  if (hNew < s.h) s.rising = false;
  s.h = hNew;
  PlainMaxima(r, s, F, a);
  sample.time = s.t;
  sample.force = F;
  sample.accel = a;
  sample.velocity = s.v;
  sample.height = s.h;
  return true;
}

void PlainFlight(PlainRun& run, RocketRecord& rocket, const RunConstants& c) {
  PlainState s;
  s.k = kStageCount;
  while (rocket.stages[s.k - 1].absent) --s.k;
  --s.k;
  s.R = c.railFriction;
  s.K = DragFactorOf(rocket, c, s.k);
  std::size_t n = 1;
  do {
    FlightSample& sample = run.samples[n];
    PlainSeparation(s, rocket, c);
    PlainBurn(s, sample, rocket);
    if (!PlainMotion(s, sample, run.results, rocket.runMass, c)) break;
    s.tMs += 5;
    s.t = static_cast<double>(s.tMs) / 1000.0;
    ++n;
  } while (s.t <= c.calcPeriod && n <= static_cast<std::size_t>(kMaxSteps));
  run.results.flightEndTime = s.t;
  run.samples[n].time = kEndMarkerTime;
  run.end = n;
  run.runMass = rocket.runMass;
}

bool Same(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

void ExpectSameFlight(const RocketRecord& rocket, const FixedConstants& constants) {
  Simulation sim;
  sim.RunSimulation(rocket, constants);
  ASSERT_FALSE(sim.results().noFlight);
  RocketRecord plainRocket = AsPrepared(rocket, sim.results());
  PlainRun plain;
  PlainSchedule(plain, plainRocket, sim.constants());
  PlainFlight(plain, plainRocket, sim.constants());
  ASSERT_EQ(sim.lastSample() + 1, plain.end);
  for (std::size_t n = 1; n <= sim.lastSample(); ++n) {
    const FlightSample& a = sim.samples()[n];
    const FlightSample& b = plain.samples[n];
    for (const SeriesQuantity& q : kSeriesQuantities)
      ASSERT_TRUE(Same(a.*q.field, b.*q.field)) << q.key << " of sample " << n;
  }
  // (The burnout time comes from the stage preparation, not from the passes.)
  plain.results.burnoutTime = sim.results().burnoutTime;
  for (const ResultQuantity& q : kResultQuantities)
    EXPECT_TRUE(Same(sim.results().*q.field, plain.results.*q.field)) << q.key;
  EXPECT_TRUE(Same(sim.results().endMass, plain.runMass));
}

RocketRecord TwoStages(double upperDelay) {
  RocketRecord rocket;
  rocket.cw = 0.5;
  rocket.stages[1].mass = 0.04;
  rocket.stages[1].diameter = 0.03;
  rocket.stages[1].otherArea = 0.0003;
  rocket.stages[1].ignitionDelay = upperDelay;
  Fit(rocket, 1, 0, MakeMotor({{0.0, 0.0}, {0.1, 20.0}, {0.7, 8.0}, {1.0, 0.0}}, 1.0, 0.012, 0.025), 2);
  rocket.stages[0].mass = 0.03;
  rocket.stages[0].diameter = 0.025;
  rocket.stages[0].otherArea = 0.0002;
  Fit(rocket, 0, 0, MakeMotor({{0.0, 0.0}, {0.05, 12.0}, {1.6, 4.0}, {1.7, 0.0}}, 1.7, 0.01, 0.02));
  Fit(rocket, 0, 1, ConstantMotor(1.5, 2.5, 0.004, 0.01));
  return rocket;
}

TEST(StepByStepFlight, TwoStagesThatLand) {
  FixedConstants constants;
  ExpectSameFlight(TwoStages(0.3), constants);
}

TEST(StepByStepFlight, UpperStageStillBurningAfterApogee) {
  // Ignites long after apogee: its thrust pushes downwards, stored negative.
  FixedConstants constants;
  ExpectSameFlight(TwoStages(9.0), constants);
}

TEST(StepByStepFlight, RailLongerThanTheFlightIsHigh) {
  FixedConstants constants;
  constants.railLength = 1.0e6;
  ExpectSameFlight(TwoStages(0.3), constants);
}

TEST(StepByStepFlight, RailBelowThePadAndFrictionOfNegativeZero) {
  // Heavy enough to wait on the pad while the thrust builds up; the rail's
  // friction is gone from the first step.
  RocketRecord heavy = TwoStages(0.3);
  heavy.stages[1].mass = 1.5;
  FixedConstants constants;
  constants.railLength = -1.0;
  ExpectSameFlight(heavy, constants);
  constants.railLength = 1.0;
  constants.railFriction = -0.0;
  ExpectSameFlight(heavy, constants);
}

TEST(StepByStepFlight, NeverLiftsOff) {
  FixedConstants constants;
  constants.railFriction = 50.0;
  ExpectSameFlight(TwoStages(0.3), constants);
}

TEST(StepByStepFlight, LandsWhileTheScheduleStillRuns) {
  // A weak motor burns for a minute: the rocket is back down long before.
  RocketRecord rocket;
  rocket.stages[0].mass = 0.02;
  Fit(rocket, 0, 0,
      MakeMotor({{0.0, 0.0}, {0.02, 30.0}, {0.3, 30.0}, {0.31, 0.1}, {60.0, 0.1}}, 60.0, 0.01, 0.02));
  FixedConstants constants;
  ExpectSameFlight(rocket, constants);
}

TEST(StepByStepFlight, StageDropsAfterTheScheduleEnded) {
  // A negative burn time in stage 1 ends the schedule before stage 2's
  // separation time, which the coasting rocket then reaches.
  RocketRecord rocket = TwoStages(0.5);
  rocket.stages[0].motors[0].burnTime = -1.0;
  rocket.stages[0].counts[1] = 0;
  FixedConstants constants;
  ExpectSameFlight(rocket, constants);
}

}  // namespace
}  // namespace komet
