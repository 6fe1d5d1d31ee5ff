// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/canvas.h"
#include "plot/curve_drawing.h"
#include "print/report.h"

// The text parts of the report and the helpers its parts share.
namespace komet {

// The report's typeface at a size in points, black.
void SetReportFont(Canvas& c, double points);

// The three result lines, and a fourth on the recovery when the rocket has
// one: 8 pt text on the 12 pt line step.
void PrintResultLines(PrinterDevice& printer, ReportLayout& l, const ReportInputs& in);

// Headers, motor rows and data of the three stages, 6 pt and 8 pt.
void PrintStageTable(PrinterDevice& printer, ReportLayout& l, const ReportInputs& in);

// Under the stage table: the air and the wind the flight was computed with,
// then every warning with its level, set smaller when many must fit.
void PrintConditions(Canvas& c, ReportLayout& l, const ReportInputs& in);

// "Einstellungen:", the constants of the run and the footer with the date.
void PrintConstantsAndFooter(Canvas& c, ReportLayout& l, const ReportInputs& in);

// The rules and column lines of the stage table.
void PrintTableGrid(Canvas& c, const ReportLayout& l);

}  // namespace komet
