#include "plot/flight_plot.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/numbers.h"
#include "plot/curve_drawing.h"

namespace komet {
namespace {

using namespace curve_colors;

constexpr std::string_view kSummaryFormat =
    "Max v:%.1f [m/sec] %.1f [km/h] bei %.1f [sec]        Brennschluss bei: %.1f [sec]        "
    "empfohlene Verzögerung: %.1f [sec]";

int ClampSize(int size) {
  return std::clamp(size, 0, kMaxPlotSurfaceSize);
}

CurveFrame Frame(const PlotState& st) {
  return {st.plotOriginX, st.plotOriginY, st.plotBottom, st.scaleX, st.scaleY};
}

void DrawHeightWithApogee(Canvas& c, int width, const PlotState& st, const PlotInputs& in) {
  const FlightResults& r = in.flight.results;
  const char sep = in.decimalSeparator;
  const CurveFrame frame = Frame(st);
  const int ax = frame.X(r.maxHeightTime);
  const int ay = frame.UnclampedY(r.maxHeight);
  c.SetPen({kNavy, 1, PenStyle::Solid});
  DrawLine(c, ax, ay, ax, 0);
  c.TextOut(ax - 5, 0, Format(sep, "%.2f [sec]", r.maxHeightTime));
  DrawLine(c, ax, ay, width, ay);
  c.TextOut(width - 60, ay - 5, Format(sep, "%.2f [m]", r.maxHeight));
  DrawHeightSeries(c, frame, in.flight, {kBlack, 1, PenStyle::Solid}, {kRed, 5, PenStyle::Solid});
}

// A marker whose sample lies beyond the computed flight is left out: that
// slot holds no flight data.
void DrawMarkers(Canvas& c, const PlotState& st, const PlotInputs& in) {
  const CurveFrame frame = Frame(st);
  const MarkerSamples m = MarkerSampleTimes(in.flight, in.delays);
  c.SetPen({kTeal, 1, PenStyle::Solid});
  if (m.burnout) DrawLine(c, frame.X(*m.burnout), 0, frame.X(*m.burnout), st.plotBottom);
  c.SetPen({kMaroon, 1, PenStyle::Solid});
  std::array<std::optional<MarkerLabel>, 4> labels;
  for (std::size_t k = 0; k < m.delays.size(); ++k) {
    if (!m.delays[k]) continue;
    const int x = frame.X(*m.delays[k]);
    DrawLine(c, x, 0, x, st.plotBottom);
    labels[k] = MarkerLabel{x - 6, Format(in.decimalSeparator, "%d [sec]", static_cast<int>(in.delays[k]))};
  }
  DrawMarkerLabels(c, labels, st.plotBottom - 30);
  Font font = c.font();
  font.color = kBlack;
  c.SetFont(font);
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
  DrawLine(c, ox, 0, ox, h);
  DrawLine(c, 0, oy, w, oy);
  c.SetPen({kBlack, 5, PenStyle::Solid});
  DrawLine(c, ox, oy, ox, oy);

  c.SetPen({kGrey, 1, PenStyle::Dotted});
  int x = ox + kPlotGridStep;
  do {
    ++st.gridCountX;
    DrawLine(c, x, 0, x, h);
    x += kPlotGridStep;
  } while (x <= w);
  int y = oy + kPlotGridStep;
  do {
    DrawLine(c, ox, y, w, y);
    y += kPlotGridStep;
  } while (y <= h);
  y = oy - kPlotGridStep;
  do {
    ++st.gridCountY;
    DrawLine(c, ox, y, w, y);
    y -= kPlotGridStep;
  } while (y >= 0);
  --st.gridCountX;
  --st.gridCountY;
}

std::string PaintCurves(Canvas& c, int width, PlotState& st, const PlotInputs& in) {
  const int w = ClampSize(width);
  const FlightResults& r = in.flight.results;
  double range = VerticalRange(in.switches, r);
  double end = DrawnEndTime(r);
  if (in.comparison) {
    range = std::max(range, VerticalRange(in.switches, *in.comparison));
    end = std::max(end, in.comparison->flightEndTime);
  }
  st.scaleY = (st.gridCountY * kPlotGridStep) / range;
  st.scaleX = (st.gridCountX * kPlotGridStep) / end;

  const PlotSwitches& sw = in.switches;
  const CurveFrame frame = Frame(st);
  if (sw.IsOn(PlotSwitch::AnzS)) DrawSeries(c, frame, in.flight, SeriesField::Thrust, {kThrust, 1});
  if (sw.IsOn(PlotSwitch::AnzF)) DrawSeries(c, frame, in.flight, SeriesField::Force, {kForce, 1});
  if (sw.IsOn(PlotSwitch::AnzH)) DrawHeightWithApogee(c, w, st, in);
  if (sw.IsOn(PlotSwitch::AnzA)) DrawSeries(c, frame, in.flight, SeriesField::Accel, {kAccel, 1});
  if (sw.IsOn(PlotSwitch::Anzv)) DrawSeries(c, frame, in.flight, SeriesField::Velocity, {kRed, 1});
  if (sw.IsOn(PlotSwitch::AnzBrenn)) DrawMarkers(c, st, in);
  return SummaryLine(r, in.decimalSeparator);
}

void PaintComparison(Canvas& c, int width, const PlotState& st, const PlotSwitches& sw,
                     const FlightView& other, std::string_view label) {
  if (st.scaleX == 0.0 || st.scaleY == 0.0) return;
  const CurveFrame frame = Frame(st);
  const struct {
    PlotSwitch on;
    SeriesField field;
    Color color;
  } curves[] = {{PlotSwitch::AnzS, SeriesField::Thrust, kThrust},
                {PlotSwitch::AnzF, SeriesField::Force, kForce},
                {PlotSwitch::AnzH, SeriesField::Height, kBlack},
                {PlotSwitch::AnzA, SeriesField::Accel, kAccel},
                {PlotSwitch::Anzv, SeriesField::Velocity, kRed}};
  for (const auto& curve : curves)
    if (sw.IsOn(curve.on)) DrawSeries(c, frame, other, curve.field, {curve.color, 1, PenStyle::Dotted});
  const std::string text(label);
  c.TextOut(ClampSize(width) - c.TextWidth(text) - 4, 2, text);
}

std::string SummaryLine(const FlightResults& r, char sep) {
  return Format(sep, kSummaryFormat, r.maxVelocity, r.maxVelocity * kKmhPerMps, r.maxVelocityTime,
                r.burnoutTime, r.maxHeightTime - r.burnoutTime);
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
