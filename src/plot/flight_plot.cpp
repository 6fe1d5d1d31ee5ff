#include "plot/flight_plot.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/numbers.h"
#include "plot/flight_series.h"

namespace komet {
namespace {

constexpr Color kGrey{128, 128, 128};
constexpr Color kThrustGreen{0, 128, 0};
constexpr Color kForcePurple{128, 0, 128};
constexpr Color kApogeeRed{255, 0, 0};
constexpr Color kNavy{0, 0, 128};
constexpr Color kAccelBlue{0, 0, 255};
constexpr Color kVelocityRed{255, 0, 0};
constexpr Color kTeal{0, 128, 128};
constexpr Color kMaroon{128, 0, 0};

constexpr std::string_view kSummaryFormat =
    "Max v:%.1f [m/sec] %.1f [km/h] bei %.1f [sec]        Brennschluss bei: %.1f [sec]        "
    "empfohlene Verzögerung: %.1f [sec]";

int ClampSize(int size) {
  return std::clamp(size, 0, kMaxPlotSurfaceSize);
}

void Line(Canvas& c, int x0, int y0, int x1, int y1) {
  c.MoveTo(x0, y0);
  c.LineTo(x1, y1);
}

// origin + trunc(v): the mapping of a time or a value to a pixel.
int Offset(int origin, double v) {
  return CanvasCoordinate(origin + std::trunc(v));
}

int PointX(const PlotState& st, double t) {
  return Offset(st.plotOriginX, t * st.scaleX);
}

int PointY(const PlotState& st, double value) {
  return std::min(CanvasCoordinate(st.plotOriginY - std::trunc(value * st.scaleY)), st.plotBottom);
}

void DrawCurve(Canvas& c, const PlotState& st, const FlightView& flight, SeriesField f, const Pen& pen) {
  c.SetPen(pen);
  c.MoveTo(st.plotOriginX, st.plotOriginY);
  ForEachFlightSample(flight, [&](std::size_t i) {
    c.LineTo(PointX(st, SeriesTime(flight, i, f)), PointY(st, SeriesValue(flight.samples[i], f)));
  });
}

void DrawHeightWithApogee(Canvas& c, int width, const PlotState& st, const PlotInputs& in) {
  const FlightResults& r = in.flight.results;
  const char sep = in.decimalSeparator;
  const int ax = PointX(st, r.maxHeightTime);
  const int ay = CanvasCoordinate(st.plotOriginY - std::trunc(r.maxHeight * st.scaleY));
  c.SetPen({kNavy, 1, PenStyle::Solid});
  Line(c, ax, ay, ax, 0);
  c.TextOut(ax - 5, 0, Format(sep, "%.2f [sec]", r.maxHeightTime));
  Line(c, ax, ay, width, ay);
  c.TextOut(width - 60, ay - 5, Format(sep, "%.2f [m]", r.maxHeight));

  const Pen normal{kBlack, 1, PenStyle::Solid};
  const Pen apogee{kApogeeRed, 5, PenStyle::Solid};
  c.MoveTo(st.plotOriginX, st.plotOriginY);
  ForEachFlightSample(in.flight, [&](std::size_t i) {
    const FlightSample& s = in.flight.samples[i];
    c.SetPen(s.time == r.maxHeightTime ? apogee : normal);
    c.LineTo(PointX(st, s.time), PointY(st, s.height));
  });
}

void MarkerLine(Canvas& c, const PlotState& st, double sampleTime) {
  const int x = PointX(st, sampleTime);
  Line(c, x, 0, x, st.plotBottom);
}

// A marker whose sample lies beyond the computed flight is left out: that
// slot holds no flight data.
void DrawMarkers(Canvas& c, const PlotState& st, const PlotInputs& in) {
  const FlightResults& r = in.flight.results;
  c.SetPen({kTeal, 1, PenStyle::Solid});
  if (const auto n = FlightIndexAt(in.flight, r.burnoutTime)) MarkerLine(c, st, in.flight.samples[*n].time);

  c.SetPen({kMaroon, 1, PenStyle::Solid});
  for (const std::int8_t d : in.delays) {
    if (d <= 0) continue;
    const auto index = FlightIndexAt(in.flight, d + r.burnoutTime);
    if (!index || !(static_cast<double>(*index) / kSamplesPerSecond < r.flightEndTime)) continue;
    const int x = PointX(st, in.flight.samples[*index].time);
    Line(c, x, 0, x, st.plotBottom);
    c.TextOut(x - 6, st.plotBottom - 30, Format(in.decimalSeparator, "%d [sec]", static_cast<int>(d)));
  }
  Font font = c.font();
  font.color = kBlack;
  c.SetFont(font);
}

// The largest maximum of the shown curves; 1 when none is positive.
double VerticalRange(const PlotSwitches& sw, const FlightResults& r) {
  const std::array<std::pair<PlotSwitch, double>, 5> maxima{{{PlotSwitch::Anzv, r.maxVelocity},
                                                             {PlotSwitch::AnzA, r.maxAccel},
                                                             {PlotSwitch::AnzH, r.maxHeight},
                                                             {PlotSwitch::AnzS, r.peakThrust},
                                                             {PlotSwitch::AnzF, r.maxForce}}};
  double ymax = 0.0;
  for (const auto& [s, m] : maxima)
    if (sw.IsOn(s) && m > ymax) ymax = m;
  return ymax == 0.0 ? 1.0 : ymax;
}

}  // namespace

void ClearScales(PlotState& state) {
  state.scaleX = state.scaleY = 0.0;
}

void PaintAxis(Canvas& c, int width, int height, PlotState& st) {
  const int w = ClampSize(width), h = ClampSize(height);
  st.gridCountX = st.gridCountY = 0;
  st.plotOriginX = 45;
  st.plotOriginY = h - h / 4;
  st.plotBottom = h;
  const int ox = st.plotOriginX, oy = st.plotOriginY;

  c.SetPen({kBlack, 1, PenStyle::Solid});
  Line(c, ox, 0, ox, h);
  Line(c, 0, oy, w, oy);
  c.SetPen({kBlack, 5, PenStyle::Solid});
  Line(c, ox, oy, ox, oy);

  c.SetPen({kGrey, 1, PenStyle::Dotted});
  int x = ox + kPlotGridStep;
  do {
    ++st.gridCountX;
    Line(c, x, 0, x, h);
    x += kPlotGridStep;
  } while (x <= w);
  int y = oy + kPlotGridStep;
  do {
    Line(c, ox, y, w, y);
    y += kPlotGridStep;
  } while (y <= h);
  y = oy - kPlotGridStep;
  do {
    ++st.gridCountY;
    Line(c, ox, y, w, y);
    y -= kPlotGridStep;
  } while (y >= 0);
  --st.gridCountX;
  --st.gridCountY;
}

std::string PaintCurves(Canvas& c, int width, PlotState& st, const PlotInputs& in) {
  const int w = ClampSize(width);
  FlightResults& r = in.flight.results;
  st.scaleY = (st.gridCountY * kPlotGridStep) / VerticalRange(in.switches, r);
  if (r.flightEndTime == 0.0) r.flightEndTime = 1.0;
  st.scaleX = (st.gridCountX * kPlotGridStep) / r.flightEndTime;

  const PlotSwitches& sw = in.switches;
  if (sw.IsOn(PlotSwitch::AnzS)) DrawCurve(c, st, in.flight, SeriesField::Thrust, {kThrustGreen, 1});
  if (sw.IsOn(PlotSwitch::AnzF)) DrawCurve(c, st, in.flight, SeriesField::Force, {kForcePurple, 1});
  if (sw.IsOn(PlotSwitch::AnzH)) DrawHeightWithApogee(c, w, st, in);
  if (sw.IsOn(PlotSwitch::AnzA)) DrawCurve(c, st, in.flight, SeriesField::Accel, {kAccelBlue, 1});
  if (sw.IsOn(PlotSwitch::Anzv)) DrawCurve(c, st, in.flight, SeriesField::Velocity, {kVelocityRed, 1});
  if (sw.IsOn(PlotSwitch::AnzBrenn)) DrawMarkers(c, st, in);
  return SummaryLine(r, in.decimalSeparator);
}

std::string SummaryLine(const FlightResults& r, char sep) {
  return Format(sep, kSummaryFormat, r.maxVelocity, r.maxVelocity * 3.6, r.maxVelocityTime, r.burnoutTime,
                r.maxHeightTime - r.burnoutTime);
}

void PaintAx(Canvas& c, int width, int height, const PlotState& st, char sep) {
  if (st.scaleX == 0.0 || st.scaleY == 0.0) return;
  const int w = ClampSize(width), h = ClampSize(height);
  const int ox = st.plotOriginX, oy = st.plotOriginY;
  int x = ox + kPlotGridStep;
  do {
    c.TextOut(x - 5, h - 18, Format(sep, "%.1f", (x - ox) / st.scaleX));
    x += kPlotGridStep;
  } while (x <= w);
  int y = oy + kPlotGridStep;
  do {
    c.TextOut(5, y - 5, Format(sep, "%.1f", (oy - y) / st.scaleY));
    y += kPlotGridStep;
  } while (y <= h);
  y = oy - kPlotGridStep;
  do {
    c.TextOut(5, y - 5, Format(sep, "%.1f", (oy - y) / st.scaleY));
    y -= kPlotGridStep;
  } while (y >= 0);
}

std::optional<std::string> PaintBox1Paint(Canvas& c, int width, int height, PlotState& st,
                                          const PlotInputs& in) {
  c.SetFont(Font{"Arial", 0.0, 11, kBlack, false});
  c.SetTextBackground(kWhite);
  PaintAxis(c, width, height, st);
  if (!in.flight.results.resultsValid) return std::nullopt;
  std::string summary = PaintCurves(c, width, st, in);
  PaintAx(c, width, height, st, in.decimalSeparator);
  return summary;
}

}  // namespace komet
