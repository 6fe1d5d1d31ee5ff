#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>

#include "sim/simulation.h"
#include "sim_test_support.h"

namespace komet {
namespace {

using test::ConstantMotor;
using test::Fit;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

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

void ExpectSoundSeries(const Simulation& sim, const char* what) {
  const std::size_t last = sim.lastSample();
  ASSERT_LE(last, static_cast<std::size_t>(kMaxSteps)) << what;
  EXPECT_EQ(sim.samples()[last + 1].time, kEndMarkerTime) << what;
  for (std::size_t n = 1; n <= last; ++n) {
    const FlightSample& s = sim.samples()[n];
    for (double x : {s.time, s.thrust, s.height, s.force, s.accel, s.velocity, s.propellantUsed})
      ASSERT_TRUE(std::isfinite(x)) << what << ", sample " << n;
    ASSERT_EQ(s.time, static_cast<double>(5 * (n - 1)) / 1000.0) << what << ", sample " << n;
  }
  const FlightResults& r = sim.results();
  for (double x : {r.maxHeight, r.maxVelocity, r.maxAccel, r.maxForce, r.peakThrust, r.flightEndTime})
    EXPECT_TRUE(std::isfinite(x)) << what;
}

TEST(HostileRocket, EverySeriesStaysFiniteBoundedAndMarked) {
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
    ExpectSoundSeries(sim, c.what);
  }
}

TEST(HostileRocket, WithoutMassNothingAccelerates) {
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

TEST(HostileRocket, EndlessBurnStopsAtTheStepBound) {
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
