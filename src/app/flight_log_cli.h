// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/sim_args.h"
#include "flightlog/cw_fit.h"
#include "flightlog/flight_log.h"

namespace komet {

// komet-sim flight LOG and fit ROCKET.kmw --flight LOG.
struct FlightLogArgs {
  std::filesystem::path log;
  std::optional<HeightUnit> units;  // --units
  std::optional<std::filesystem::path> json;
  SimArgs sim;  // fit: the rocket and the flight's options
};

// args[0] is "flight" or "fit". Throws UsageError for a bad option or value,
// a missing recording (or rocket, for fit).
FlightLogArgs ParseFlightLogArgs(const std::vector<std::string>& args);

// Reads the recording; a file without a stated unit is read in --units or
// metres, with a warning on `err`. Throws UsageError naming the file.
FlightLog ReadCliFlightLog(const FlightLogArgs& args, std::ostream& err);

// What was read, in German, and as JSON.
std::string FlightLogText(const FlightLog& log, char decimalSeparator);
std::string FlightLogJson(const FlightLog& log);

// The fit, in German, and as JSON (SI units).
std::string CwFitText(const CwFit& fit, char decimalSeparator);
std::string CwFitJson(const CwFit& fit);

}  // namespace komet
