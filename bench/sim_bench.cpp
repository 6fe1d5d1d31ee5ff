// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "model/rocket_file.h"
#include "model/rocket_record.h"
#include "sim/forces.h"
#include "sim/sim_constants.h"
#include "sim/sim_test_support.h"
#include "sim/simulation.h"
#include "support/published_motors.h"

namespace komet {
namespace {

using testing::C6;

// Published D12 figures.
MotorRecord D12() {
  return test::MakeMotor(
      {{0, 0},         {0.049, 2.569},  {0.116, 9.369}, {0.184, 17.275}, {0.237, 24.258}, {0.282, 29.73},
       {0.297, 27.01}, {0.311, 22.589}, {0.322, 17.99}, {0.348, 14.126}, {0.386, 12.099}, {0.442, 10.808},
       {0.546, 9.876}, {0.718, 9.306},  {0.879, 9.105}, {1.066, 8.901},  {1.257, 8.698},  {1.436, 8.31},
       {1.59, 8.294},  {1.612, 4.613},  {1.65, 0}},
      1.65, 0.0211, 0.0426);
}

void SetStage(StageRecord& stage, double massKg, double diameter, double delay, const MotorRecord& motor,
              int count) {
  stage.mass = massKg;
  stage.diameter = diameter;
  stage.otherArea = 0.0002;
  stage.ignitionDelay = delay;
  stage.motors[0] = motor;
  stage.counts[0] = count;
}

// Three stages that are still airborne after 50 s.
RocketRecord ThreeStageRocket() {
  RocketRecord rocket;
  rocket.cw = 0.3;
  SetStage(rocket.stages[2], 0.05, 0.05, 0.2, D12(), 5);
  SetStage(rocket.stages[1], 0.03, 0.03, 0.3, D12(), 3);
  SetStage(rocket.stages[0], 0.03, 0.025, 0.0, C6(), 1);
  rocket.stages[0].motors[1] = D12();
  rocket.stages[0].counts[1] = 3;
  return rocket;
}

void BM_RunSimulation(benchmark::State& state) {
  Simulation sim;
  const FixedConstants constants;
  RocketRecord rocket = ThreeStageRocket();
  sim.RunSimulation(rocket, constants);
  if (sim.lastSample() != 10001) {
    state.SkipWithError("the rocket lands before 50 s");
    return;
  }
  for (auto _ : state) {
    sim.RunSimulation(rocket, constants);
    // Not the double result: GCC read it back clobbered from DoNotOptimize.
    benchmark::DoNotOptimize(sim.lastSample());
    benchmark::ClobberMemory();
  }
  // Time per flight step: a run's whole time over its 10,001 flight steps.
  state.counters["per_flight_step"] =
      benchmark::Counter(static_cast<double>(sim.lastSample()),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["apogee_m"] = sim.results().maxHeight;
}
BENCHMARK(BM_RunSimulation)->Unit(benchmark::kMicrosecond);

// Flights to landing under a parachute, to set against the 50 s flight
// above, and what the standard atmosphere adds to them.
RocketRecord ExampleWithChute() {
  RocketRecord empty;
  InitRakete(empty);
  return ReadRocketFile(
             std::filesystem::path(KOMET_SOURCE_DIR) / "examples/rockets/einstufig_c6_fallschirm.kmw", empty)
      .record;
}

// Arg 0: constant air density; 1: the standard atmosphere at 500 m, 20 °C.
void BM_RecoveryFlightToLanding(benchmark::State& state) {
  Simulation sim;
  FixedConstants constants;
  constants.site.standardAtmosphere = state.range(0) != 0;
  constants.site.altitude = 500.0;
  constants.site.temperature = 20.0;
  RocketRecord rocket = ExampleWithChute();
  sim.RunSimulation(rocket, constants);
  if (!sim.results().landed) {
    state.SkipWithError("the rocket does not land");
    return;
  }
  for (auto _ : state) {
    sim.RunSimulation(rocket, constants);
    benchmark::DoNotOptimize(sim.lastSample());
    benchmark::ClobberMemory();
  }
  state.counters["steps"] = static_cast<double>(sim.lastSample());
  state.counters["flight_s"] = sim.results().flightEndTime;
}
BENCHMARK(BM_RecoveryFlightToLanding)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The value, which the compiler cannot see through. Read back from a
// volatile rather than passed through DoNotOptimize, which leaves the
// value's address escaped: every sample store would then force a reload.
double Opaque(double x) {
  volatile double v = x;
  return v;
}

// The floor of BM_RunSimulation: the serial chain of a flight step that no
// rearrangement may shorten without changing the results (velocity, drag,
// net force, acceleration by a division, velocity), with the height it
// moves and the grid time, writing the same 56-byte samples for the same
// 10,001 steps. The run's own flight should take little more than this.
void BM_FlightChainLoop(benchmark::State& state) {
  constexpr std::size_t kFlightSteps = 10001;
  std::vector<FlightSample> samples(kSampleTableSize);
  // Values near the three-stage rocket's, opaque so none folds away.
  const double dragFactor = Opaque(0.00035);
  const double mass = Opaque(0.35);
  const double thrust = Opaque(12.0);
  const double friction = Opaque(0.0);
  const double propellant = Opaque(0.0);
  const double weight = Weight(mass, 9.81);
  for (auto _ : state) {
    double velocity = 0.0;
    double height = 0.0;
    std::int64_t tMs = 0;
    for (std::size_t n = 1; n <= kFlightSteps; ++n) {
      const double drag = Drag(dragFactor, velocity);
      const double force = NetForce(thrust, drag, weight, friction);
      const double accel = Acceleration(force, mass);
      velocity = NextVelocity(velocity, accel, kTimeStep);
      height = NextHeight(height, velocity, kTimeStep);
      const double t = static_cast<double>(tMs) / 1000.0;  // the grid time, as the run gets it
      samples[n] = FlightSample{t, thrust, height, force, accel, velocity, propellant};
      tMs += 5;
    }
    benchmark::DoNotOptimize(samples.data());
    benchmark::ClobberMemory();
  }
  state.counters["per_flight_step"] =
      benchmark::Counter(static_cast<double>(kFlightSteps),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FlightChainLoop)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace komet
