// SPDX-License-Identifier: GPL-3.0-or-later
// An altimeter's recording: read in either assumed unit; what reads is a
// recording with a launch, and anything else is one German error, never a
// crash or a read past the text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/komet_error.h"
#include "flightlog/flight_log.h"
#include "fuzz_support.h"

namespace komet::fuzz {
namespace {

void CheckLog(const FlightLog& log) {
  Require(log.size() >= 3, "fewer than three samples");
  Require(log.height.size() == log.size() && log.smoothed.size() == log.size(), "columns differ in length");
  for (std::size_t i = 0; i < log.size(); ++i) {
    Require(std::isfinite(log.time[i]) && std::isfinite(log.height[i]), "a sample is not finite");
    Require(i == 0 || log.time[i] > log.time[i - 1], "time does not run forwards");
  }
  Require(log.launchIndex <= log.apogeeIndex && log.apogeeIndex < log.size(), "apogee before launch");
  Require(log.time[log.launchIndex] == 0.0, "launch is not time 0");
  Require(log.apogee >= kLaunchRise, "apogee below the launch rise");
  const std::vector<double> v = MeasuredVelocity(log);
  Require(v.size() == log.size(), "velocity length");
  for (double x : v) Require(std::isfinite(x), "a velocity is not finite");
  Require(!log.reportedApogee || std::isfinite(*log.reportedApogee), "reported apogee not finite");
  Require(log.riseTime >= 0.0 && std::isfinite(log.riseTime), "rise before launch");
  Require(!ShapeText(log).empty(), "no shape text");
}

void Read(std::string_view text, std::optional<HeightUnit> unit) {
  try {
    CheckLog(ParseFlightLog(text, "flug.csv", unit));
  } catch (const KometError& e) {
    Require(std::string_view(e.what()).starts_with("flug.csv, Zeile "), "error names no file and line");
  }
}

}  // namespace
}  // namespace komet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  komet::fuzz::Read(text, std::nullopt);
  komet::fuzz::Read(text, komet::HeightUnit::Foot);
  return 0;
}
