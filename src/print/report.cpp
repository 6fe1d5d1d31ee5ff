#include "print/report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "common/format.h"
#include "common/komet_error.h"
#include "common/numbers.h"
#include "common/win1252.h"
#include "plot/curve_drawing.h"
#include "print/report_parts.h"

namespace komet {
namespace {

constexpr int kMaxPageSize = 1 << 20;  // device units; larger pages are taken as this
constexpr double kTitlePoints = 18.0;
constexpr double kMinTitlePoints = 6.0;  // the report's smallest print

using namespace curve_colors;

CurveFrame Frame(const ReportLayout& l) {
  return {l.printOriginX, l.printOriginY, l.printBottom, l.printScaleX, l.printScaleY};
}

// The navy apogee lines keep the width the previous curve left on the pen.
void PrintApogee(Canvas& c, const ReportLayout& l, const ReportInputs& in) {
  const FlightResults& r = in.flight.results;
  const char sep = in.decimalSeparator;
  const int xa = Frame(l).X(r.maxHeightTime);
  const int ya = Frame(l).UnclampedY(r.maxHeight);
  c.SetPen({kNavy, c.pen().width, PenStyle::Solid});
  DrawLine(c, xa, ya, xa, l.printTop);
  c.TextOut(xa - l.printTextStep / 2, l.printTop + l.printTextStep,
            Format(sep, "%.2f [sec]", r.maxHeightTime));
  DrawLine(c, xa, ya, l.printRight, ya);
  c.TextOut(l.printRight - RoundToInt(1.5 * l.printStepX), ya - l.printTextStep / 2,
            Format(sep, "%.2f [m]", r.maxHeight));
}

// Markers whose sample lies beyond the computed flight are left out.
void PrintMarkers(Canvas& c, const ReportLayout& l, const ReportInputs& in) {
  const CurveFrame frame = Frame(l);
  const auto delays = MainMotorDelays(in.rocket);
  const MarkerSamples m = MarkerSampleTimes(in.flight, delays);
  c.SetPen({kTeal, 1, PenStyle::Solid});
  if (m.burnout) DrawLine(c, frame.X(*m.burnout), l.printTop, frame.X(*m.burnout), l.printBottom);
  c.SetPen({kMaroon, 1, PenStyle::Solid});
  std::array<std::optional<MarkerLabel>, 4> labels;
  for (std::size_t k = 0; k < m.delays.size(); ++k) {
    if (!m.delays[k]) continue;
    const int x = frame.X(*m.delays[k]);
    DrawLine(c, x, l.printTop, x, l.printBottom);
    labels[k] = MarkerLabel{x - l.printTextStep / 2,
                            Format(in.decimalSeparator, "%d [sec]", static_cast<int>(delays[k]))};
  }
  DrawMarkerLabels(c, labels, l.printBottom - l.printStepY);
}

void SetScales(ReportLayout& l, const FlightResults& r, const PlotSwitches& sw) {
  l.printScaleY = static_cast<double>(l.printGridCountY) * l.printStepY / VerticalRange(sw, r);
  l.printScaleX = static_cast<double>(l.printGridCountX) * l.printStepX / DrawnEndTime(r);
}

void PrintCurves(Canvas& c, const ReportLayout& l, const ReportInputs& in) {
  const PlotSwitches& sw = in.switches;
  const CurveFrame frame = Frame(l);
  if (sw.IsOn(PlotSwitch::AnzS)) DrawSeries(c, frame, in.flight, SeriesField::Thrust, {kThrust, 1});
  if (sw.IsOn(PlotSwitch::AnzF)) DrawSeries(c, frame, in.flight, SeriesField::Force, {kForce, 2});
  if (sw.IsOn(PlotSwitch::AnzH)) {
    PrintApogee(c, l, in);
    DrawHeightSeries(c, frame, in.flight, {kBlack, 5, PenStyle::Solid}, {kRed, 7, PenStyle::Solid});
  }
  if (sw.IsOn(PlotSwitch::AnzA)) DrawSeries(c, frame, in.flight, SeriesField::Accel, {kAccel, 4});
  if (sw.IsOn(PlotSwitch::Anzv)) DrawSeries(c, frame, in.flight, SeriesField::Velocity, {kRed, 3});
  if (sw.IsOn(PlotSwitch::AnzBrenn)) PrintMarkers(c, l, in);
}

void FrameAndAxes(Canvas& c, const ReportLayout& l) {
  c.SetPen({kBlack, 1, PenStyle::Solid});
  c.Rectangle(l.printLeft, l.printBottom, l.printRight, l.printTop);
  DrawLine(c, l.printOriginX, l.printTop, l.printOriginX, l.printBottom);
  DrawLine(c, l.printLeft, l.printOriginY, l.printRight, l.printOriginY);
  c.SetPen({kBlack, 5, PenStyle::Solid});
  DrawLine(c, l.printOriginX, l.printOriginY, l.printOriginX, l.printOriginY);
}

void Grid(Canvas& c, ReportLayout& l) {
  c.SetPen({kGrey, 1, PenStyle::Dotted});
  RepeatStepping(
      l.printOriginX + l.printStepX, l.printStepX, [&](int x) { return x <= l.printRight; },
      [&](int x) {
        ++l.printGridCountX;
        DrawLine(c, x, l.printTop, x, l.printBottom);
      });
  RepeatStepping(
      l.printOriginY + l.printStepY, l.printStepY, [&](int y) { return y <= l.printBottom; },
      [&](int y) { DrawLine(c, l.printOriginX, y, l.printRight, y); });
  RepeatStepping(
      l.printOriginY - l.printStepY, -l.printStepY, [&](int y) { return y >= l.printTop; },
      [&](int y) {
        ++l.printGridCountY;
        DrawLine(c, l.printOriginX, y, l.printRight, y);
      });
}

void ValueLabel(Canvas& c, const ReportLayout& l, int y, char sep) {
  c.TextOut(l.printLeft + l.printTextStep / 2, y - l.printTextStep / 2,
            Format(sep, "%.1f", (l.printOriginY - y) / l.printScaleY));
}

}  // namespace

int PrintTextStep(double points, int dpiY) {
  return RoundToInt(points) + RoundToInt(points * dpiY / 72.0);
}

void PrintAxis(PrinterDevice& printer, ReportLayout& l) {
  const int w = std::clamp(printer.PageWidth(), 0, kMaxPageSize);
  const int h = std::clamp(printer.PageHeight(), 0, kMaxPageSize);
  l.printGridCountX = l.printGridCountY = 0;
  l.printRight = w - RoundToInt(w / 10.0);
  l.printLeft = RoundToInt(w / 10.0);
  l.printBottom = h - RoundToInt(h / 2.0);
  l.printTop = RoundToInt(h / 10.0);
  l.printStepX = (l.printRight - l.printLeft) / 10;
  l.printStepY = (l.printBottom - l.printTop) / 10;
  l.printOriginX = l.printLeft + l.printStepX;
  l.printOriginY = l.printBottom - (l.printBottom - l.printTop) / 4;
  Canvas& c = printer.canvas();
  FrameAndAxes(c, l);
  Grid(c, l);
  --l.printGridCountX;
  --l.printGridCountY;
}

void PrintReport(PrinterDevice& printer, ReportLayout& l, const ReportInputs& in) {
  Canvas& c = printer.canvas();
  SetScales(l, in.flight.results, in.switches);
  PrintCurves(c, l, in);
  PrintResultLines(printer, l, in);
  PrintStageTable(printer, l, in);
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

  const char sep = in.decimalSeparator;
  const int yl = CanvasCoordinate(std::trunc(l.printBottom - 0.6 * l.printStepY));
  RepeatStepping(
      l.printOriginX + l.printStepX, l.printStepX, [&](int x) { return x < l.printRight; },
      [&](int x) {
        c.TextOut(x - l.printTextStep / 2, yl, Format(sep, "%.1f", (x - l.printOriginX) / l.printScaleX));
      });
  RepeatStepping(
      l.printOriginY + l.printStepY, l.printStepY, [&](int y) { return y < l.printBottom; },
      [&](int y) { ValueLabel(c, l, y, sep); });
  RepeatStepping(
      l.printOriginY - l.printStepY, -l.printStepY, [&](int y) { return y > l.printTop; },
      [&](int y) { ValueLabel(c, l, y, sep); });
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
