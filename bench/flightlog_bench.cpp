// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <algorithm>
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

// A telemetry altimeter's CSV of 1.6 MB: 70 columns, the time repeated
// whenever several packets share an instant, heights above the pad from
// 0.3 s before boost to landing.
std::string TelemetryRecording() {
  std::string text =
      "#version,serial,flight,call,time,state,state_name,acceleration,pressure,altitude,height,speed,"
      "temperature,drogue_voltage,main_voltage,battery_voltage,connected,locked,nsat,latitude,longitude,"
      "altitude,"
      "year,month,day,hour,minute,second,pad_dist,pad_range,pad_az,pad_el,pdop,hdop,vdop";
  for (int k = 1; k <= 32; ++k) text += Format('.', ",sat%02d", k);
  text += "\n";
  for (int k = 0; text.size() < 1600000; ++k) {
    const double t = 0.01 * (k - k / 5) - 0.3;  // every fifth row repeats its time
    const double h =
        t < 0 ? 0.0 : (t < 13 ? 116.0 * t - 4.46 * t * t : std::max(754.0 - 9.0 * (t - 13), 0.0));
    text += Format('.',
                   "6, 1018, 3,KC1QJA, %8.2f, 3,   coast, -9.81, 99208.33, %7.2f, %7.2f, 0.00, 32.6, 3.70,"
                   " 3.71, 4.12, 1, 1,  8,  42.6303850, -88.1741900,    33.0, 2023, 10,  1, 20, 16, 12,"
                   "        0,        0,   0,   0,2147483647.0,2147483647.0,2147483647.0",
                   t, h + 177.7, h);
    for (int s = 0; s < 32; ++s) text += ",  0";
    text += "\n";
  }
  return text;
}

void BM_ReadTelemetry1_6MB(benchmark::State& state) {
  const std::string text = TelemetryRecording();
  for (auto _ : state) benchmark::DoNotOptimize(ParseFlightLog(text, "telemetrie.csv").apogee);
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ReadTelemetry1_6MB)->Unit(benchmark::kMillisecond);

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
