#include "print/report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "common/format.h"
#include "common/komet_error.h"
#include "common/numbers.h"
#include "common/win1252.h"
#include "plot/flight_series.h"
#include "print/report_parts.h"

namespace komet {
namespace {

constexpr int kMaxPageSize = 1 << 20;  // device units; larger pages are taken as this

constexpr Color kGrey{128, 128, 128};
constexpr Color kGreen{0, 128, 0};
constexpr Color kPurple{128, 0, 128};
constexpr Color kRed{255, 0, 0};
constexpr Color kNavy{0, 0, 128};
constexpr Color kBlue{0, 0, 255};
constexpr Color kTeal{0, 128, 128};
constexpr Color kMaroon{128, 0, 0};

int Offset(int origin, double v) {
  return CanvasCoordinate(origin + std::trunc(v));
}

int CurveX(const ReportLayout& l, double t) {
  return Offset(l.printOriginX, t * l.printScaleX);
}

int CurveY(const ReportLayout& l, double value) {
  return std::min(CanvasCoordinate(l.printOriginY - std::trunc(value * l.printScaleY)), l.printBottom);
}

void PrintCurve(Canvas& c, const ReportLayout& l, const FlightView& flight, SeriesField f, const Pen& pen) {
  c.SetPen(pen);
  c.MoveTo(l.printOriginX, l.printOriginY);
  ForEachFlightSample(flight, [&](std::size_t i) {
    c.LineTo(CurveX(l, SeriesTime(flight, i, f)), CurveY(l, SeriesValue(flight.samples[i], f)));
  });
}

// The navy apogee lines keep the width the previous curve left on the pen.
void PrintApogee(Canvas& c, const ReportLayout& l, const ReportInputs& in) {
  const FlightResults& r = in.flight.results;
  const char sep = in.decimalSeparator;
  const int xa = CurveX(l, r.maxHeightTime);
  const int ya = CanvasCoordinate(l.printOriginY - std::trunc(r.maxHeight * l.printScaleY));
  c.SetPen({kNavy, c.pen().width, PenStyle::Solid});
  ReportLine(c, xa, ya, xa, l.printTop);
  c.TextOut(xa - l.printTextStep / 2, l.printTop + l.printTextStep,
            Format(sep, "%.2f [sec]", r.maxHeightTime));
  ReportLine(c, xa, ya, l.printRight, ya);
  c.TextOut(l.printRight - RoundToInt(1.5 * l.printStepX), ya - l.printTextStep / 2,
            Format(sep, "%.2f [m]", r.maxHeight));
}

void PrintHeight(Canvas& c, const ReportLayout& l, const ReportInputs& in) {
  const double apogeeTime = in.flight.results.maxHeightTime;
  const Pen normal{kBlack, 5, PenStyle::Solid};
  const Pen apogee{kRed, 7, PenStyle::Solid};
  c.MoveTo(l.printOriginX, l.printOriginY);
  ForEachFlightSample(in.flight, [&](std::size_t i) {
    const FlightSample& s = in.flight.samples[i];
    c.SetPen(s.time == apogeeTime ? apogee : normal);
    c.LineTo(CurveX(l, s.time), CurveY(l, s.height));
  });
}

// Markers whose sample lies beyond the computed flight are left out.
void PrintMarkers(Canvas& c, const ReportLayout& l, const ReportInputs& in) {
  const FlightResults& r = in.flight.results;
  c.SetPen({kTeal, 1, PenStyle::Solid});
  if (const auto ib = FlightIndexAt(in.flight, r.burnoutTime)) {
    const int x = CurveX(l, in.flight.samples[*ib].time);
    ReportLine(c, x, l.printTop, x, l.printBottom);
  }
  c.SetPen({kMaroon, 1, PenStyle::Solid});
  for (const std::int8_t d : MainMotorDelays(in.rocket)) {
    if (d <= 0) continue;
    const auto id = FlightIndexAt(in.flight, d + r.burnoutTime);
    if (!id || !(static_cast<double>(*id) / kSamplesPerSecond < r.flightEndTime)) continue;
    const int x = CurveX(l, in.flight.samples[*id].time);
    ReportLine(c, x, l.printTop, x, l.printBottom);
    c.TextOut(x - l.printTextStep / 2, l.printBottom - l.printStepY,
              Format(in.decimalSeparator, "%d [sec]", static_cast<int>(d)));
  }
}

double VerticalRange(const PlotSwitches& sw, const FlightResults& r) {
  const std::array<std::pair<PlotSwitch, double>, 5> maxima{{{PlotSwitch::Anzv, r.maxVelocity},
                                                             {PlotSwitch::AnzA, r.maxAccel},
                                                             {PlotSwitch::AnzH, r.maxHeight},
                                                             {PlotSwitch::AnzS, r.peakThrust},
                                                             {PlotSwitch::AnzF, r.maxForce}}};
  double ymax = 0.0;
  for (const auto& [s, m] : maxima)
    if (sw.IsOn(s) && ymax < m) ymax = m;
  return ymax == 0.0 ? 1.0 : ymax;
}

void SetScales(ReportLayout& l, FlightResults& r, const PlotSwitches& sw) {
  l.printScaleY = static_cast<double>(l.printGridCountY) * l.printStepY / VerticalRange(sw, r);
  if (r.flightEndTime == 0.0) r.flightEndTime = 1.0;
  l.printScaleX = static_cast<double>(l.printGridCountX) * l.printStepX / r.flightEndTime;
}

void PrintCurves(Canvas& c, const ReportLayout& l, const ReportInputs& in) {
  const PlotSwitches& sw = in.switches;
  if (sw.IsOn(PlotSwitch::AnzS)) PrintCurve(c, l, in.flight, SeriesField::Thrust, {kGreen, 1});
  if (sw.IsOn(PlotSwitch::AnzF)) PrintCurve(c, l, in.flight, SeriesField::Force, {kPurple, 2});
  if (sw.IsOn(PlotSwitch::AnzH)) {
    PrintApogee(c, l, in);
    PrintHeight(c, l, in);
  }
  if (sw.IsOn(PlotSwitch::AnzA)) PrintCurve(c, l, in.flight, SeriesField::Accel, {kBlue, 4});
  if (sw.IsOn(PlotSwitch::Anzv)) PrintCurve(c, l, in.flight, SeriesField::Velocity, {kRed, 3});
  if (sw.IsOn(PlotSwitch::AnzBrenn)) PrintMarkers(c, l, in);
}

void FrameAndAxes(Canvas& c, const ReportLayout& l) {
  c.SetPen({kBlack, 1, PenStyle::Solid});
  c.Rectangle(l.printLeft, l.printBottom, l.printRight, l.printTop);
  ReportLine(c, l.printOriginX, l.printTop, l.printOriginX, l.printBottom);
  ReportLine(c, l.printLeft, l.printOriginY, l.printRight, l.printOriginY);
  c.SetPen({kBlack, 5, PenStyle::Solid});
  ReportLine(c, l.printOriginX, l.printOriginY, l.printOriginX, l.printOriginY);
}

void Grid(Canvas& c, ReportLayout& l) {
  c.SetPen({kGrey, 1, PenStyle::Dotted});
  RepeatStepping(
      l.printOriginX + l.printStepX, l.printStepX, [&](int x) { return x <= l.printRight; },
      [&](int x) {
        ++l.printGridCountX;
        ReportLine(c, x, l.printTop, x, l.printBottom);
      });
  RepeatStepping(
      l.printOriginY + l.printStepY, l.printStepY, [&](int y) { return y <= l.printBottom; },
      [&](int y) { ReportLine(c, l.printOriginX, y, l.printRight, y); });
  RepeatStepping(
      l.printOriginY - l.printStepY, -l.printStepY, [&](int y) { return y >= l.printTop; },
      [&](int y) {
        ++l.printGridCountY;
        ReportLine(c, l.printOriginX, y, l.printRight, y);
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
  SetReportFont(c, 18.0);
  // The whole name: cutting the title to 59 characters lost the last one of a 50-character name.
  c.TextOut(l.printLeft, l.printTop - l.printStepY, "\tRakete : " + Cp1252ToUtf8(in.rocket.name.view()));
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
