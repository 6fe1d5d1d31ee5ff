// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <random>
#include <string>

#include "common/format.h"
#include "flightlog/cw_fit.h"
#include "flightlog/flight_log.h"
#include "model/rocket_file.h"
#include "model/rocket_record.h"
#include "sim/simulation.h"

namespace komet::testing {

// The sample C6 rocket as stored, with its own motor.
inline RocketRecord ExampleRocket() {
  RocketRecord base;
  InitRakete(base);
  return ReadRocketFile(KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6.kmw", base).record;
}

// How a made-up altimeter writes what it measured.
struct RecordingStyle {
  FlightLogShape shape = FlightLogShape::ColumnsWithHeader;
  char separator = ',';
  char decimal = '.';
  HeightUnit unit = HeightUnit::Metre;
  std::string header;          // the column names' line (ColumnsWithHeader)
  double rateHz = 20.0;        // samples per second
  double noiseM = 0.3;         // uniform, ± this
  double clockAtLaunch = 0.0;  // the altimeter's clock at ignition, s
  double groundM = 0.0;        // what it reads on the pad, m
};

// A recording of `sim`'s last flight, from 1 s before ignition to landing
// (at most 30 s), in the given style; the noise is the same on every call.
inline std::string WriteRecording(const Simulation& sim, const RecordingStyle& s) {
  std::mt19937 random(24);
  std::uniform_real_distribution<double> noise(-s.noiseM, s.noiseM);
  const double perM = s.unit == HeightUnit::Foot ? 1.0 / kMetresPerFoot : 1.0;
  const char sep = s.separator;
  std::string text;
  switch (s.shape) {
    case FlightLogShape::Columns:
      break;
    case FlightLogShape::ColumnsWithHeader:
      text = s.header + "\n";
      break;
    case FlightLogShape::KeyValueBlock:
      text = Format('.', "Apogee: %.0f\nGround Elevation: %.0f\nUnits: %s\n", sim.results().maxHeight * perM,
                    s.groundM * perM, UnitText(s.unit));
      text += "Data: (Time, Altitude, Velocity, Temperature)\n";
      break;
    case FlightLogShape::Telemetry:
      text = "#version,serial,flight,state,state_name,time,pressure,altitude,height,temperature\n";
      break;
  }
  const double end = std::min(sim.results().flightEndTime, 30.0);
  for (int k = 0;; ++k) {
    const double t = -1.0 + k / s.rateHz;  // since ignition
    if (t > end) break;
    const double h = (t <= 0.0 ? 0.0 : SimulatedHeightAt(sim, t)) + noise(random);
    const double shown = (h + s.groundM) * perM, clock = s.clockAtLaunch + t;
    std::string row;
    switch (s.shape) {
      case FlightLogShape::Columns:
      case FlightLogShape::ColumnsWithHeader:
        row = Format(s.decimal, "%.3f%s%.2f\n", clock, std::string(1, sep), shown);
        break;
      case FlightLogShape::KeyValueBlock:
        row = Format('.', "%.2f,%.1f,0.0,58.7F\n", clock, shown);
        break;
      case FlightLogShape::Telemetry:
        row = Format('.', "2,4711,7,3,boost,%.3f,98000.0,%.2f,%.2f,21.5\n", clock, h + 412.0, h);
        break;
    }
    text += row;
  }
  return text;
}

}  // namespace komet::testing
