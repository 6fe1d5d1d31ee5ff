// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/printer_device.h"
#include "common/version.h"
#include "model/rocket_record.h"
#include "plot/flight_view.h"
#include "plot/plot_switches.h"
#include "sim/flight_safety.h"
#include "sim/recovery_figures.h"

namespace komet {

// Page geometry of the printed report, printer device units. Kept apart
// from the screen plot's, so printing leaves the screen untouched.
struct ReportLayout {
  int printLeft = 0, printRight = 0;  // plot frame
  int printTop = 0, printBottom = 0;
  int printStepX = 0, printStepY = 0;  // grid step, a tenth of the frame
  int printOriginX = 0;                // x of the time-zero axis
  int printOriginY = 0;                // y of the value-zero line
  int printGridCountX = 0;             // vertical grid lines right of the axis, minus 1
  int printGridCountY = 0;             // horizontal grid lines above the zero line, minus 1
  double printScaleX = 0.0;            // units per second
  double printScaleY = 0.0;            // units per value unit
  int printTextStep = 0;               // line step of the current text size
  int printTextY = 0;                  // y of the next text line
  int printTableTop = 0;               // y of the stage table's header row
};

// What the report prints.
struct ReportInputs {
  FlightView flight;
  const RocketRecord& rocket;
  const PlotSwitches& switches;
  std::string_view dateTimeText;  // the footer's print date and time, UTF-8
  char decimalSeparator = ',';
  // What the recovery did (MeasureRecovery); none: the rocket has none, and
  // the results block keeps its three lines.
  std::optional<RecoveryFigures> recovery = std::nullopt;
  // Every rule that fired for the flight, as the evaluation lists them.
  std::span<const FlightWarning> warnings = {};
  // The free ascent's (FlightFigures::recommendedDelay); none: the flight's own.
  std::optional<double> recommendedDelay = std::nullopt;
  // The balance over the boost; none: the rocket has no shape.
  std::optional<FlightFigures::Stability> stability = std::nullopt;
};

// The report's one typeface, set with every size (never the line printer's).
inline constexpr std::string_view kReportFace = "Arial";
// The footers' version text.
inline const std::string kProgramVersion = "Komet V.: " + std::string(kVersionNumber);

// The line step of a font size: points plus the character height in device
// units (6 pt at 600 dpi: 56).
int PrintTextStep(double points, int dpiY);

// Frame, axes and grid; sets the layout fields from the printable area.
void PrintAxis(PrinterDevice& printer, ReportLayout& layout);

// Scales (to DrawnEndTime), curves, markers, result lines, stage table,
// air, wind and warnings, constants line, footer and table grid.
void PrintReport(PrinterDevice& printer, ReportLayout& layout, const ReportInputs& in);

// Title and axis labels; nothing while either scale is 0.
void PrintAx(PrinterDevice& printer, ReportLayout& layout, const ReportInputs& in);

// The print command's page: begins a job, prints the three parts in 6 pt
// and ends the job. Returns false, printing nothing, without results.
// Throws KometError (Kind::Printer) when the job cannot begin or end.
bool PrintFlightReport(PrinterDevice& printer, ReportLayout& layout, const ReportInputs& in);

}  // namespace komet
