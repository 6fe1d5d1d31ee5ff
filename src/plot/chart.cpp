// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/chart.h"

#include <cmath>
#include <optional>
#include <string>

#include "common/format.h"

namespace komet {
namespace {

using namespace curve_colors;

// body(v) for v = first, first + step, ... while more(v); the body always runs
// at least once, and only once when the step is 0 (a page too small for a grid).
template <typename More, typename Body>
void RepeatStepping(int first, int step, More more, Body body) {
  long long v = first;
  do {
    body(static_cast<int>(v));
    if (step == 0) return;
    v += step;
  } while (v >= -kCanvasCoordinateLimit && v <= kCanvasCoordinateLimit && more(static_cast<int>(v)));
}

void DrawApogee(Canvas& c, const ChartFrame& f, const ChartStyle& style, const ChartInputs& in) {
  const FlightResults& r = in.flight.results;
  const char sep = in.decimalSeparator;
  const int x = f.Curves().X(r.maxHeightTime);
  const int y = f.Curves().UnclampedY(r.maxHeight);
  c.SetPen({kNavy, style.apogeeLineWidth == 0 ? c.pen().width : style.apogeeLineWidth, PenStyle::Solid});
  DrawLine(c, x, y, x, f.top);
  c.TextOut(x - style.textShift, f.top + style.apogeeTimeDrop, Format(sep, "%.2f [sec]", r.maxHeightTime));
  DrawLine(c, x, y, f.right, y);
  c.TextOut(f.right - style.apogeeHeightInset, y - style.textShift, Format(sep, "%.2f [m]", r.maxHeight));
}

// Burnout and delays with their switch, the deployment whenever the run
// opened a device. A marker whose sample lies beyond the computed flight is
// left out: that slot holds no flight data.
void DrawMarkers(Canvas& c, const ChartFrame& f, const ChartStyle& style, const ChartInputs& in) {
  const bool timeMarkers = in.switches.IsOn(PlotSwitch::AnzBrenn);
  const MarkerSamples m = MarkerSampleTimes(in.flight, in.delays);
  if (!timeMarkers && !m.deployment) return;
  const CurveFrame curves = f.Curves();
  std::array<std::optional<MarkerLabel>, kMaxMarkerLabels> labels;
  if (timeMarkers) {
    c.SetPen({kTeal, 1, PenStyle::Solid});
    if (m.burnout) DrawLine(c, curves.X(*m.burnout), f.top, curves.X(*m.burnout), f.bottom);
    c.SetPen({kMaroon, 1, PenStyle::Solid});
    for (std::size_t k = 0; k < m.delays.size(); ++k) {
      if (!m.delays[k]) continue;
      const int x = curves.X(*m.delays[k]);
      DrawLine(c, x, f.top, x, f.bottom);
      labels[k] = MarkerLabel{x - style.markerLabelShift,
                              Format(in.decimalSeparator, "%d [sec]", static_cast<int>(in.delays[k]))};
    }
  }
  if (m.deployment) {
    const int x = curves.X(*m.deployment);
    c.SetPen({kOlive, 1, PenStyle::Solid});
    DrawLine(c, x, f.top, x, f.bottom);
    // Last, so that the delays keep their lines and this one moves up.
    labels.back() = MarkerLabel{x - style.markerLabelShift, "Bergung"};
  }
  DrawMarkerLabels(c, labels, f.bottom - f.stepY);
}

}  // namespace

GridCounts DrawChartGrid(Canvas& c, const ChartFrame& f, const ChartStyle& style) {
  c.SetPen({kBlack, 1, PenStyle::Solid});
  if (style.framed) c.Rectangle(f.left, f.bottom, f.right, f.top);
  DrawLine(c, f.originX, f.top, f.originX, f.bottom);
  DrawLine(c, f.left, f.originY, f.right, f.originY);
  c.SetPen({kBlack, 5, PenStyle::Solid});
  DrawLine(c, f.originX, f.originY, f.originX, f.originY);

  GridCounts n;
  c.SetPen({kGrey, 1, PenStyle::Dotted});
  RepeatStepping(
      f.originX + f.stepX, f.stepX, [&](int x) { return x <= f.right; },
      [&](int x) {
        ++n.x;
        DrawLine(c, x, f.top, x, f.bottom);
      });
  RepeatStepping(
      f.originY + f.stepY, f.stepY, [&](int y) { return y <= f.bottom; },
      [&](int y) { DrawLine(c, f.originX, y, f.right, y); });
  RepeatStepping(
      f.originY - f.stepY, -f.stepY, [&](int y) { return y >= f.top; },
      [&](int y) {
        ++n.y;
        DrawLine(c, f.originX, y, f.right, y);
      });
  return {n.x - 1, n.y - 1};
}

void SetChartScales(ChartFrame& f, const GridCounts& counts, double range, double endTime) {
  f.scaleY = static_cast<double>(counts.y) * f.stepY / range;
  f.scaleX = static_cast<double>(counts.x) * f.stepX / endTime;
}

void DrawChartLabels(Canvas& c, const ChartFrame& f, const ChartStyle& style, char sep) {
  // Paper labels only the grid lines inside its frame.
  const int edge = style.labelsOnBounds ? 0 : 1;
  const int timeY = CanvasCoordinate(std::trunc(f.bottom - style.timeLabelRise));
  const auto value = [&](int y) {
    c.TextOut(f.left + style.valueLabelInset, y - style.textShift,
              Format(sep, "%.1f", (f.originY - y) / f.scaleY));
  };
  RepeatStepping(
      f.originX + f.stepX, f.stepX, [&](int x) { return x <= f.right - edge; },
      [&](int x) {
        const std::string text = Format(sep, "%.1f", f.startTime + (x - f.originX) / f.scaleX);
        // The screen leaves out a label its right edge would cut.
        if (style.labelsOnBounds && x - style.textShift + c.TextWidth(text) > f.right) return;
        c.TextOut(x - style.textShift, timeY, text);
      });
  RepeatStepping(
      f.originY + f.stepY, f.stepY, [&](int y) { return y <= f.bottom - edge; }, value);
  RepeatStepping(
      f.originY - f.stepY, -f.stepY, [&](int y) { return y >= f.top + edge; }, value);
}

void DrawChartCurves(Canvas& c, const ChartFrame& f, const ChartStyle& style, const ChartInputs& in) {
  const CurveFrame curves = f.Curves();
  for (std::size_t k = 0; k < kChartCurves.size(); ++k) {
    const ChartCurve& curve = kChartCurves[k];
    if (!in.switches.IsOn(curve.on)) continue;
    const Pen pen{curve.color, style.curveWidths[k], PenStyle::Solid};
    if (curve.field != SeriesField::Height) {
      DrawSeries(c, curves, in.flight, curve.field, pen);
      continue;
    }
    DrawApogee(c, f, style, in);
    DrawHeightSeries(c, curves, in.flight, pen, {kRed, style.apogeeSegmentWidth, PenStyle::Solid});
  }
  DrawMarkers(c, f, style, in);
}

}  // namespace komet
