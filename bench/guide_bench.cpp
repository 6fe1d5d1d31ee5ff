// SPDX-License-Identifier: GPL-3.0-or-later
// The motor guide over the whole bundled catalogue for the example
// single-stage rocket.
#include <benchmark/benchmark.h>

#include <thread>

#include "app/motor_guide.h"
#include "model/recovery.h"
#include "model/rocket_file.h"
#include "sim/flight_analysis.h"

namespace {

using namespace komet;

void BM_MotorGuideWholeCatalogue(benchmark::State& state) {
  const std::filesystem::path source = KOMET_SOURCE_DIR;
  RocketRecord empty;
  InitRakete(empty);
  const RocketRecord rocket = ReadRocketFile(source / "examples/rockets/einstufig_c6.kmw", empty).record;
  std::vector<MotorRecord> motors;
  std::vector<std::int32_t> numbers;
  GuideCandidates(source / "catalogue/motoren.kdb", GuideFilter{}, motors, numbers);
  const FixedConstants constants;
  const unsigned threads = static_cast<unsigned>(state.range(0));
  const std::atomic<bool> never{false};
  for (auto _ : state) {
    MotorGuide guide(rocket, constants, motors, numbers, ',');
    guide.Run(threads, never);
    benchmark::DoNotOptimize(guide.done());
  }
  state.counters["motors"] = static_cast<double>(motors.size());
  state.counters["motors/s"] = benchmark::Counter(static_cast<double>(motors.size()) * state.iterations(),
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MotorGuideWholeCatalogue)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The same with the example rocket's 300 mm parachute on its motor's best
// delay (two flights per motor: one finds the delay, one flies to landing)
// in the standard atmosphere.
void BM_MotorGuideWithRecovery(benchmark::State& state) {
  const std::filesystem::path source = KOMET_SOURCE_DIR;
  RocketRecord empty;
  InitRakete(empty);
  RocketRecord rocket = ReadRocketFile(source / "examples/rockets/einstufig_c6.kmw", empty).record;
  Recovery chute;
  chute.diameterMm = 300.0;
  chute.cw = kDefaultChuteCw;
  chute.delay = 5.0;
  WriteRecovery(rocket, chute);
  std::vector<MotorRecord> motors;
  std::vector<std::int32_t> numbers;
  GuideCandidates(source / "catalogue/motoren.kdb", GuideFilter{}, motors, numbers);
  FixedConstants constants;
  constants.site.standardAtmosphere = true;
  const std::atomic<bool> never{false};
  for (auto _ : state) {
    MotorGuide guide(rocket, constants, motors, numbers, ',');
    guide.Run(static_cast<unsigned>(state.range(0)), never);
    benchmark::DoNotOptimize(guide.done());
  }
  state.counters["motors"] = static_cast<double>(motors.size());
}
BENCHMARK(BM_MotorGuideWithRecovery)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// What the safety rules add to each of the guide's flights: the delay
// table, the motors' facts and every rule, on the example rocket's flight.
void BM_GuideRulesPerFlight(benchmark::State& state) {
  const std::filesystem::path source = KOMET_SOURCE_DIR;
  RocketRecord empty;
  InitRakete(empty);
  RocketRecord rocket = ReadRocketFile(source / "examples/rockets/einstufig_c6.kmw", empty).record;
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  for (auto _ : state) benchmark::DoNotOptimize(AnalyseFlight(sim, rocket, ',').warnings.size());
}
BENCHMARK(BM_GuideRulesPerFlight)->Unit(benchmark::kMicrosecond);

}  // namespace
