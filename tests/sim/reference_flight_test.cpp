#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "sim/simulation.h"
#include "sim_test_support.h"

namespace komet {
namespace {

using test::Fit;
using test::MakeMotor;

// Published figures (NAR certification data) with the implicit first point.
MotorRecord A8() {
  return MakeMotor(
      {{0, 0},         {0.041, 0.512}, {0.084, 2.115}, {0.127, 4.358}, {0.166, 6.794}, {0.192, 8.588},
       {0.206, 9.294}, {0.226, 9.73},  {0.236, 8.845}, {0.247, 7.179}, {0.261, 5.063}, {0.277, 3.717},
       {0.306, 3.205}, {0.351, 2.884}, {0.405, 2.499}, {0.467, 2.371}, {0.532, 2.307}, {0.589, 2.371},
       {0.632, 2.371}, {0.652, 2.243}, {0.668, 1.794}, {0.684, 1.153}, {0.703, 0.448}, {0.73, 0}},
      0.73, 0.0033, 0.01635);
}

MotorRecord B4() {
  return MakeMotor(
      {{0, 0},          {0.02, 0.418},  {0.04, 1.673},   {0.065, 4.076},  {0.085, 6.69},  {0.105, 9.304},
       {0.119, 11.496}, {0.136, 12.75}, {0.153, 11.916}, {0.173, 10.666}, {0.187, 9.304}, {0.198, 7.214},
       {0.207, 5.645},  {0.226, 4.809}, {0.258, 4.182},  {0.326, 3.763},  {0.422, 3.554}, {0.549, 3.345},
       {0.665, 3.345},  {0.776, 3.345}, {0.863, 3.345},  {0.94, 3.449},   {0.991, 3.449}, {1.002, 2.404},
       {1.01, 1.254},   {1.03, 0}},
      1.03, 0.006, 0.0189);
}

MotorRecord C6() {
  return MakeMotor({{0, 0},          {0.031, 0.946}, {0.092, 4.826}, {0.139, 9.936}, {0.192, 14.09},
                    {0.209, 11.446}, {0.231, 7.381}, {0.248, 6.151}, {0.292, 5.489}, {0.37, 4.921},
                    {0.475, 4.448},  {0.671, 4.258}, {0.702, 4.542}, {0.723, 4.164}, {0.85, 4.448},
                    {1.063, 4.353},  {1.211, 4.353}, {1.242, 4.069}, {1.303, 4.258}, {1.468, 4.353},
                    {1.656, 4.448},  {1.821, 4.448}, {1.834, 2.933}, {1.847, 1.325}, {1.86, 0}},
                   1.86, 0.0108, 0.0231);
}

// Three stages with drag, rail friction, a cluster and a second motor type.
RocketRecord ReferenceRocket() {
  RocketRecord rocket;
  rocket.cw = 0.6;
  StageRecord& booster = rocket.stages[2];
  booster.mass = 0.025;
  booster.diameter = 0.03;
  booster.otherArea = 0.0004;
  booster.ignitionDelay = 0.4;
  Fit(rocket, 2, 0, C6());
  StageRecord& middle = rocket.stages[1];
  middle.mass = 0.02;
  middle.diameter = 0.025;
  middle.otherArea = 0.0002;
  middle.ignitionDelay = 0.3;
  Fit(rocket, 1, 0, B4());
  StageRecord& top = rocket.stages[0];
  top.mass = 0.03;
  top.diameter = 0.025;
  top.otherArea = 0.0003;
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
