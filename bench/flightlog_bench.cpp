// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <string>

#include "common/format.h"
#include "flightlog/cw_fit.h"
#include "flightlog/flight_log.h"
#include "flightlog/recording_maker.h"

namespace komet {
namespace {

// 100,000 lines as a fast altimeter writes them: header, time, height in
// feet, two columns the reader skips.
std::string LongRecording() {
  std::string text = "Time (s),Altitude (ft),Velocity,Temp\n";
  for (int k = 0; k < 99999; ++k) {
    const double t = 0.01 * k - 5.0, h = t < 0 ? 0.0 : (t < 20 ? 80.0 * t - 2.0 * t * t : 800.0);
    text += Format('.', "%.2f,%.1f,%.1f,58.7F\n", t, h / kMetresPerFoot, 80.0 - 4.0 * t);
  }
  return text;
}

void BM_ReadRecording100000Lines(benchmark::State& state) {
  const std::string text = LongRecording();
  for (auto _ : state) benchmark::DoNotOptimize(ParseFlightLog(text, "lang.csv").apogee);
}
BENCHMARK(BM_ReadRecording100000Lines)->Unit(benchmark::kMillisecond);

// The example rocket against a recording of itself flown with another cw.
void BM_FitCwExampleRocket(benchmark::State& state) {
  RocketRecord rocket = testing::ExampleRocket();
  rocket.cw = 0.8;
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  const FlightLog log = ParseFlightLog(testing::WriteRecording(sim, {}), "flug.csv");
  const RocketRecord filed = testing::ExampleRocket();
  for (auto _ : state) benchmark::DoNotOptimize(FitCw(filed, FixedConstants{}, log).cwApogee);
}
BENCHMARK(BM_FitCwExampleRocket)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace komet
