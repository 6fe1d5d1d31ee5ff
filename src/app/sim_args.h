// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/cli_options.h"
#include "app/flight_export.h"
#include "app/motor_guide.h"
#include "app/sim_cli.h"
#include "model/recovery.h"
#include "plot/plot_switches.h"
#include "sim/sim_constants.h"

namespace komet {

// --deploy: when the recovery opens.
struct DeployChoice {
  Recovery::Deployment deployment = Recovery::Deployment::Delay;
  double delay = 0.0;  // s after the main motor's burnout
};

// komet-sim's arguments for a flight.
struct SimArgs {
  std::filesystem::path rocket;
  std::optional<std::filesystem::path> db, options, csv, json;
  std::optional<CsvDialect> csvLocale;  // spreadsheet form of --csv
  bool raw = false;
  bool summaryLine = false;              // the main window's summary line instead of the summary
  std::optional<char> decimalSeparator;  // --locale; else the user's
  std::vector<ExportRequest> exports;
  std::optional<std::string> size;  // --size, for every picture however placed
  PlotSwitches switches;
  std::vector<std::pair<double ConstantValues::*, double>> overrides;  // in the order given
  std::optional<Recovery> recovery;  // --recovery: kind, sizes and cw; when it opens comes from elsewhere
  std::optional<DeployChoice> deploy;
  // The launch site: the saved one (the defaults with --no-site), with
  // --isa and --wind over it.
  bool noSite = false;
  std::optional<double> wind;
  std::optional<std::pair<double, double>> isa;  // altitude, ground temperature
  // The field the rules judge by: the saved one (the defaults with
  // --no-site), with --field-radius and --ceiling over it.
  std::optional<double> fieldRadius, ceiling;  // m; a ceiling of 0: none
};

// Throws UsageError for an unknown option, a missing or bad value, no rocket
// or two.
SimArgs ParseSimArgs(const std::vector<std::string>& args);

// The options file's constants (--options, else `defaultOptionsFile` when it
// is valid, else the defaults) with the command line's overrides. Throws
// UsageError when the file of --options is no options file.
ConstantValues ResolveConstants(const SimArgs& args, const std::filesystem::path& defaultOptionsFile);

// The launch site the flight takes: `saved` (komet's), or the defaults with
// --no-site, with --isa and --wind over it.
LaunchSite ResolveSite(const SimArgs& args, const LaunchSite& saved);

// The field the rules judge by: `saved` (komet's), or the defaults with
// --no-site, with --field-radius and --ceiling over it.
LaunchField ResolveField(const SimArgs& args, const LaunchField& saved);

// The recovery the flight takes: the rocket's own (`own`) with --recovery
// and --deploy over it; `own` when neither is given. Throws UsageError for
// --deploy without any recovery, --recovery on a rocket without one and
// without --deploy, and values outside the ranges (RecoveryProblem's text).
std::optional<Recovery> ResolveRecovery(const SimArgs& args, const std::optional<Recovery>& own);

// komet-sim guide: the motor guide's filter for a rocket.
struct GuideArgs {
  SimArgs sim;
  GuideFilter filter;
  bool diameterGiven = false;
  bool lengthGiven = false;
  std::optional<std::filesystem::path> csv, json;
  std::vector<std::string> rest;  // for the flight's own parse
};

// args[0] is "guide".
GuideArgs ParseGuideArgs(const std::vector<std::string>& args);

}  // namespace komet
