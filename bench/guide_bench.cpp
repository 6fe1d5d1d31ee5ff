// SPDX-License-Identifier: GPL-3.0-or-later
// The motor guide over the whole bundled catalogue for the example
// single-stage rocket.
#include <benchmark/benchmark.h>

#include <thread>

#include "app/motor_guide.h"
#include "common/file_io.h"
#include "model/rocket_file.h"
#include "model/rocket_shape.h"
#include "sim/flight_analysis.h"

namespace {

using namespace komet;

// Arg 0: threads. Arg 1: 0 the example rocket; 1 the one with a 30 cm
// parachute on its motor's delay, in the standard atmosphere (two flights a
// motor: one without recovery, past the longest delay, gives its delay
// advice, one flies to a steady descent).
// Arg 2: 1 with the rocket's shape, so every flight's balance is judged too.
void BM_MotorGuideWholeCatalogue(benchmark::State& state) {
  const std::filesystem::path source = KOMET_SOURCE_DIR;
  const bool recovery = state.range(1) != 0;
  RocketRecord empty;
  InitRakete(empty);
  const RocketRecord rocket =
      ReadRocketFile(
          source / "examples/rockets" / (recovery ? "einstufig_c6_fallschirm.kmw" : "einstufig_c6.kmw"),
          empty)
          .record;
  std::optional<RocketShape> shape;
  if (state.range(2) != 0) {
    const std::vector<std::uint8_t> text =
        ReadFilePrefix(source / "examples/rockets/einstufig_c6.kmf", kMaxShapeFileBytes);
    shape = ParseShapeText(std::string(text.begin(), text.end()));
  }
  std::vector<MotorRecord> motors;
  std::vector<std::int32_t> numbers;
  GuideCandidates(source / "catalogue/motoren.kdb", GuideFilter{}, motors, numbers);
  FixedConstants constants;
  constants.site.standardAtmosphere = recovery;
  const unsigned threads = static_cast<unsigned>(state.range(0));
  const std::atomic<bool> never{false};
  for (auto _ : state) {
    MotorGuide guide(rocket, constants, motors, numbers, ',', {}, shape);
    guide.Run(threads, never);
    benchmark::DoNotOptimize(guide.done());
  }
  state.counters["motors"] = static_cast<double>(motors.size());
  state.counters["motors/s"] = benchmark::Counter(static_cast<double>(motors.size()) * state.iterations(),
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MotorGuideWholeCatalogue)
    ->Args({1, 0, 0})
    ->Args({2, 0, 0})
    ->Args({1, 1, 0})
    ->Args({2, 1, 0})
    ->Args({1, 0, 1})
    ->Args({1, 1, 1})
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
  for (auto _ : state) benchmark::DoNotOptimize(AnalyseFlight(sim, ',').warnings.size());
}
BENCHMARK(BM_GuideRulesPerFlight)->Unit(benchmark::kMicrosecond);

}  // namespace
