// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "model/rocket_record.h"
#include "plot/plot_switches.h"
#include "sim/flight_safety.h"
#include "sim/simulation.h"

namespace komet {

// A picture komet-sim is asked for.
struct ExportRequest {
  enum class Kind { Png, Svg, Pdf } kind;
  std::filesystem::path path;
  int width = 639, height = 351;  // the plot's size (PNG and SVG)
  char decimalSeparator = '.';    // of the numbers in the picture
  SafetyInputs safety{};          // the field and the shape the report's rules judge by
};

// Draws plots and reports into files; the window layer implements it.
class CliExporter {
 public:
  virtual ~CliExporter() = default;
  // Throws KometError when the file cannot be written; writes nothing then.
  // `freeAscent`: the flight without recovery the delay advice reads.
  virtual void Export(const ExportRequest& request, const Simulation& simulation,
                      const Simulation& freeAscent, const RocketRecord& rocket,
                      const PlotSwitches& switches) = 0;
};

// What komet-sim finds around it.
struct SimCliEnvironment {
  std::function<std::string()> configuredDatabase;  // the desktop program's DBName; may be empty
  std::filesystem::path bundledDatabase;            // the example database, if found
  std::filesystem::path examplesDir;                // the sample rockets' folder, if found
  std::filesystem::path optionsFile;                // the desktop program's options file
  LaunchSite savedSite;                             // the desktop program's launch site
  LaunchField savedField;                           // and the field the rules judge by
  char decimalSeparator = '.';                      // the user's locale's
  CliExporter* exporter = nullptr;                  // none: pictures are refused
};

// komet-sim with its arguments (without the program name). Returns the exit
// status: 0 done, 1 an import with rejected entries, 2 bad input or output
// that could not be written (standard output included).
int RunKometSim(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
                std::ostream& err);

}  // namespace komet
