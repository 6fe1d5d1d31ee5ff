// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/flight_plot.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/numbers.h"
#include "plot/chart.h"
#include "plot/measured_overlay.h"

namespace komet {
namespace {

constexpr std::string_view kSummaryFormat =
    "Max v:%.1f [m/sec] %.1f [km/h] bei %.1f [sec]        Brennschluss bei: %.1f [sec]        "
    "empfohlene Verzögerung: %.1f [sec]";

int ClampSize(int size) {
  return std::clamp(size, 0, kMaxPlotSurfaceSize);
}

constexpr ChartStyle kScreenStyle{.labelsOnBounds = true,
                                  .textShift = 5,
                                  .valueLabelInset = 5,
                                  .timeLabelRise = 18.0,
                                  .markerLabelShift = 6,
                                  .apogeeHeightInset = 60,
                                  .apogeeLineWidth = 1,
                                  .apogeeSegmentWidth = 5,
                                  .curveWidths = {1, 1, 1, 1, 1}};

ChartFrame ScreenFrame(const PlotState& st, int width, int height) {
  return {.right = ClampSize(width),
          .bottom = ClampSize(height),
          .originX = st.plotOriginX,
          .originY = st.plotOriginY,
          .stepX = kPlotGridStep,
          .stepY = kPlotGridStep,
          .scaleX = st.scaleX,
          .scaleY = st.scaleY,
          .startTime = st.startTime};
}

}  // namespace

PlotZoom AscentZoom(const FlightResults& r) {
  const double deployment = r.deployed ? r.deploymentStep / kSamplesPerSecond : 0.0;
  return {0.0, 1.2 * std::max({r.maxHeightTime, deployment, 0.5}), 0.0};
}

void ClearScales(PlotState& state) {
  state.scaleX = state.scaleY = 0.0;
}

void PaintAxis(Canvas& c, int width, int height, PlotState& st) {
  st.plotOriginX = 45;
  st.plotBottom = ClampSize(height);
  st.plotOriginY = st.plotBottom - st.plotBottom / 4;
  const GridCounts counts = DrawChartGrid(c, ScreenFrame(st, width, height), kScreenStyle);
  st.gridCountX = counts.x;
  st.gridCountY = counts.y;
}

std::string PaintCurves(Canvas& c, int width, PlotState& st, const PlotInputs& in) {
  const FlightResults& r = in.flight.results;
  double range = VerticalRange(in.switches, r);
  double end = DrawnEndTime(r);
  if (in.comparison) {
    range = std::max(range, VerticalRange(in.switches, *in.comparison));
    end = std::max(end, in.comparison->flightEndTime);
  }
  if (in.measured) TakeInMeasured(*in.measured, in.switches, range, end);
  const bool zoomed = in.zoom && in.zoom->end > in.zoom->start;
  st.startTime = zoomed ? in.zoom->start : 0.0;
  if (zoomed) {
    range = in.zoom->top > 0.0 ? in.zoom->top
                               : VerticalRangeWithin(in.switches, in.flight, in.zoom->start, in.zoom->end);
    end = in.zoom->end - in.zoom->start;
  }
  ChartFrame frame = ScreenFrame(st, width, st.plotBottom);
  SetChartScales(frame, {st.gridCountX, st.gridCountY}, range, end);
  st.scaleX = frame.scaleX;
  st.scaleY = frame.scaleY;
  // Zoomed, the flight outside the view must not run over the value labels.
  if (zoomed) c.SetClip(std::array{st.plotOriginX, 0, ClampSize(width), st.plotBottom});
  DrawChartCurves(c, frame, kScreenStyle, {in.flight, in.switches, in.delays, in.decimalSeparator});
  if (zoomed) c.SetClip(std::nullopt);
  if (in.switches.IsOn(PlotSwitch::AnzBrenn)) {
    Font font = c.font();
    font.color = kBlack;
    c.SetFont(font);
  }
  return SummaryLine(r, in.decimalSeparator, in.recommendedDelay);
}

void PaintComparison(Canvas& c, int width, const PlotState& st, const PlotSwitches& sw,
                     const FlightView& other, std::string_view label) {
  if (st.scaleX == 0.0 || st.scaleY == 0.0) return;
  const CurveFrame frame = ScreenFrame(st, width, st.plotBottom).Curves();
  if (st.startTime > 0.0) c.SetClip(std::array{st.plotOriginX, 0, ClampSize(width), st.plotBottom});
  for (const ChartCurve& curve : kChartCurves)
    if (sw.IsOn(curve.on)) DrawSeries(c, frame, other, curve.field, {curve.color, 1, PenStyle::Dotted});
  c.SetClip(std::nullopt);
  const std::string text(label);
  c.TextOut(ClampSize(width) - c.TextWidth(text) - 4, 2, text);
}

std::string SummaryLine(const FlightResults& r, char sep, std::optional<double> recommendedDelay) {
  return Format(sep, kSummaryFormat, r.maxVelocity, r.maxVelocity * kKmhPerMps, r.maxVelocityTime,
                r.burnoutTime, recommendedDelay.value_or(r.maxHeightTime - r.burnoutTime));
}

void PaintAx(Canvas& c, int width, int height, const PlotState& st, char sep) {
  if (st.scaleX == 0.0 || st.scaleY == 0.0) return;
  DrawChartLabels(c, ScreenFrame(st, width, height), kScreenStyle, sep);
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
