// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "common/format.h"
#include "common/komet_error.h"
#include "common/numbers.h"
#include "common/win1252.h"
#include "plot/chart.h"
#include "print/report_parts.h"

namespace komet {
namespace {

constexpr int kMaxPageSize = 1 << 20;  // device units; larger pages are taken as this
constexpr double kTitlePoints = 18.0;
constexpr double kMinTitlePoints = 6.0;  // the report's smallest print

ChartFrame PaperFrame(const ReportLayout& l) {
  return {l.printLeft,    l.printTop,   l.printRight, l.printBottom, l.printOriginX,
          l.printOriginY, l.printStepX, l.printStepY, l.printScaleX, l.printScaleY};
}

// Offsets follow the current text size; lines are thicker than on screen,
// since a printer's dot is far smaller than a pixel.
ChartStyle PaperStyle(const ReportLayout& l) {
  return {.framed = true,
          .textShift = l.printTextStep / 2,
          .valueLabelInset = l.printTextStep / 2,
          .timeLabelRise = 0.6 * l.printStepY,
          .markerLabelShift = l.printTextStep / 2,
          .apogeeTimeDrop = l.printTextStep,
          .apogeeHeightInset = RoundToInt(1.5 * l.printStepX),
          .apogeeSegmentWidth = 7,
          .curveWidths = {1, 2, 5, 4, 3}};
}

}  // namespace

int PrintTextStep(double points, int dpiY) {
  return RoundToInt(points) + RoundToInt(points * dpiY / 72.0);
}

void PrintAxis(PrinterDevice& printer, ReportLayout& l) {
  const int w = std::clamp(printer.PageWidth(), 0, kMaxPageSize);
  const int h = std::clamp(printer.PageHeight(), 0, kMaxPageSize);
  l.printRight = w - RoundToInt(w / 10.0);
  l.printLeft = RoundToInt(w / 10.0);
  l.printBottom = h - RoundToInt(h / 2.0);
  l.printTop = RoundToInt(h / 10.0);
  l.printStepX = (l.printRight - l.printLeft) / 10;
  l.printStepY = (l.printBottom - l.printTop) / 10;
  l.printOriginX = l.printLeft + l.printStepX;
  l.printOriginY = l.printBottom - (l.printBottom - l.printTop) / 4;
  const GridCounts counts = DrawChartGrid(printer.canvas(), PaperFrame(l), PaperStyle(l));
  l.printGridCountX = counts.x;
  l.printGridCountY = counts.y;
}

void PrintReport(PrinterDevice& printer, ReportLayout& l, const ReportInputs& in) {
  Canvas& c = printer.canvas();
  ChartFrame frame = PaperFrame(l);
  SetChartScales(frame, {l.printGridCountX, l.printGridCountY}, VerticalRange(in.switches, in.flight.results),
                 DrawnEndTime(in.flight.results));
  l.printScaleX = frame.scaleX;
  l.printScaleY = frame.scaleY;
  DrawChartCurves(c, frame, PaperStyle(l),
                  {in.flight, in.switches, MainMotorDelays(in.rocket), in.decimalSeparator});
  PrintResultLines(printer, l, in);
  PrintStageTable(printer, l, in);
  PrintConditions(c, l, in);
  PrintConstantsAndFooter(c, l, in);
  PrintTableGrid(c, l);
}

void PrintAx(PrinterDevice& printer, ReportLayout& l, const ReportInputs& in) {
  if (l.printScaleX == 0.0 || l.printScaleY == 0.0) return;
  Canvas& c = printer.canvas();
  const double size = c.font().pointSize;
  // The whole name: cutting the title to 59 characters lost the last one of
  // a 50-character name. A title wider than the plot is set smaller instead.
  const std::string title = "\tRakete : " + Cp1252ToUtf8(in.rocket.name.view());
  double titlePoints = kTitlePoints;
  SetReportFont(c, titlePoints);
  while (titlePoints > kMinTitlePoints && c.TextWidth(title) > l.printRight - l.printLeft)
    SetReportFont(c, --titlePoints);
  c.TextOut(l.printLeft, l.printTop - l.printStepY, title);
  SetReportFont(c, size);

  DrawChartLabels(c, PaperFrame(l), PaperStyle(l), in.decimalSeparator);
}

bool PrintFlightReport(PrinterDevice& printer, ReportLayout& l, const ReportInputs& in) {
  if (!in.flight.results.resultsValid) return false;
  if (!printer.BeginJob(""))
    throw KometError(KometError::Kind::Printer, "Der Druckauftrag konnte nicht begonnen werden");
  Canvas& c = printer.canvas();
  c.SetTextBackground(kWhite);
  SetReportFont(c, 6.0);
  l.printTextStep = PrintTextStep(6.0, printer.DpiY());
  PrintAxis(printer, l);
  PrintReport(printer, l, in);
  PrintAx(printer, l, in);
  if (!printer.EndJob())
    throw KometError(KometError::Kind::Printer, "Der Druckauftrag konnte nicht abgeschlossen werden");
  return true;
}

}  // namespace komet
