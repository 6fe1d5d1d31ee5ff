// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "sim/simulation.h"
#include "sim_test_support.h"
#include "support/published_motors.h"

namespace komet {
namespace {

using test::Fit;
using testing::A8;
using testing::B4;
using testing::C6;

// Three stages with drag, rail friction, a cluster and a second motor type.
RocketRecord ReferenceRocket() {
  RocketRecord rocket;
  rocket.cw = 0.6;
  const struct {
    std::size_t stage;
    double mass, diameter, otherArea, ignitionDelay;
  } stages[] = {{2, 0.025, 0.03, 0.0004, 0.4}, {1, 0.02, 0.025, 0.0002, 0.3}, {0, 0.03, 0.025, 0.0003, 0.0}};
  for (const auto& s : stages) {
    StageRecord& stage = rocket.stages[s.stage];
    stage.mass = s.mass;
    stage.diameter = s.diameter;
    stage.otherArea = s.otherArea;
    stage.ignitionDelay = s.ignitionDelay;
  }
  Fit(rocket, 2, 0, C6());
  Fit(rocket, 1, 0, B4());
  Fit(rocket, 0, 0, A8(), 2);
  Fit(rocket, 0, 1, B4());
  return rocket;
}

// FNV-1a over the bits of every field of the series.
std::uint64_t SeriesDigest(const Simulation& sim) {
  std::uint64_t hash = 14695981039346656037ull;
  auto mix = [&hash](double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    for (int i = 0; i < 8; ++i) hash = (hash ^ ((bits >> (8 * i)) & 0xff)) * 1099511628211ull;
  };
  for (std::size_t n = 1; n <= sim.lastSample(); ++n) {
    const FlightSample& s = sim.samples()[n];
    for (double x : {s.time, s.thrust, s.height, s.force, s.accel, s.velocity, s.propellantUsed}) mix(x);
  }
  return hash;
}

TEST(ReferenceFlight, SeriesAndResultsArePinned) {
  RocketRecord rocket = ReferenceRocket();
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  const FlightResults& r = sim.results();
  // Lands after 22.13 s from a 409 m apogee, three stages and a cluster.
  EXPECT_EQ(sim.lastSample(), 4426u);
  EXPECT_EQ(r.maxHeight, 409.12356670435946);
  EXPECT_EQ(r.maxHeightTime, 10.4);
  EXPECT_EQ(r.maxVelocity, 115.41426668632492);
  EXPECT_EQ(r.maxVelocityTime, 4.29);
  EXPECT_EQ(r.maxAccel, 300.7670385416949);
  EXPECT_EQ(r.maxForce, 23.693042463905872);
  EXPECT_EQ(r.peakThrust, 25.708571428571428);
  EXPECT_EQ(r.flightEndTime, 22.13);
  EXPECT_EQ(SeriesDigest(sim), 0xd1b1bf8e5b05bb68u);
  // After a longer schedule and flight have filled more of the table, the
  // same rocket gives the same series.
  RocketRecord longBurn;
  Fit(longBurn, 0, 0, test::ConstantMotor(1.0, 30.0, 0.01, 0.02));
  sim.RunSimulation(longBurn, FixedConstants{});
  RocketRecord again = ReferenceRocket();
  sim.RunSimulation(again, FixedConstants{});
  EXPECT_EQ(SeriesDigest(sim), 0xd1b1bf8e5b05bb68u);
}

}  // namespace
}  // namespace komet
