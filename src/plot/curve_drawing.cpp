// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/curve_drawing.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace komet {

int CurveFrame::X(double t) const {
  return CanvasCoordinate(originX + std::trunc((t - startTime) * scaleX));
}

int CurveFrame::Y(double value) const {
  return std::min(UnclampedY(value), bottom);
}

int CurveFrame::UnclampedY(double value) const {
  return CanvasCoordinate(originY - std::trunc(value * scaleY));
}

void DrawSeries(Canvas& c, const CurveFrame& frame, const FlightView& flight, SeriesField field,
                const Pen& pen) {
  c.SetPen(pen);
  c.MoveTo(frame.X(0.0), frame.Y(0.0));
  ForEachFlightSample(flight, [&](std::size_t i) {
    c.LineTo(frame.X(SeriesTime(flight, i, field)), frame.Y(SeriesValue(flight.samples[i], field)));
  });
}

void DrawHeightSeries(Canvas& c, const CurveFrame& frame, const FlightView& flight, const Pen& normal,
                      const Pen& apogee) {
  const double apogeeTime = flight.results.maxHeightTime;
  c.MoveTo(frame.X(0.0), frame.Y(0.0));
  ForEachFlightSample(flight, [&](std::size_t i) {
    const FlightSample& s = flight.samples[i];
    c.SetPen(s.time == apogeeTime ? apogee : normal);
    c.LineTo(frame.X(s.time), frame.Y(s.height));
  });
}

double VerticalRange(const PlotSwitches& sw, const FlightResults& r) {
  double ymax = 0.0;
  for (const ChartCurve& curve : kChartCurves)
    if (sw.IsOn(curve.on) && r.*curve.maximum > ymax) ymax = r.*curve.maximum;
  return ymax == 0.0 ? 1.0 : ymax;
}

double VerticalRangeWithin(const PlotSwitches& sw, const FlightView& flight, double start, double end) {
  double ymax = 0.0;
  ForEachFlightSample(flight, [&](std::size_t i) {
    for (const ChartCurve& curve : kChartCurves) {
      if (!sw.IsOn(curve.on)) continue;
      const double t = SeriesTime(flight, i, curve.field);
      if (t >= start && t <= end) ymax = std::max(ymax, SeriesValue(flight.samples[i], curve.field));
    }
  });
  return ymax > 0.0 ? ymax : 1.0;
}

MarkerSamples MarkerSampleTimes(const FlightView& flight, const std::array<std::int8_t, 4>& delays) {
  const FlightResults& r = flight.results;
  MarkerSamples m;
  if (const auto n = FlightIndexBefore(flight, r.burnoutTime)) m.burnout = flight.samples[*n].time;
  for (std::size_t k = 0; k < delays.size(); ++k) {
    if (delays[k] <= 0) continue;
    const auto n = FlightIndexBefore(flight, delays[k] + r.burnoutTime);
    if (n && static_cast<double>(*n) / kSamplesPerSecond < DrawnEndTime(r))
      m.delays[k] = flight.samples[*n].time;
  }
  if (r.deployed && r.deploymentStep >= 1 && r.deploymentStep <= LastFlightIndex(flight))
    m.deployment = flight.samples[r.deploymentStep].time;
  return m;
}

void DrawMarkerLabels(Canvas& c, std::span<const std::optional<MarkerLabel>> labels, int y) {
  struct Placed {
    int left, right, row;
  };
  std::array<Placed, kMaxMarkerLabels> placed{};
  std::size_t count = 0;
  const int gap = c.TextWidth(" ");
  for (const auto& label : labels.first(std::min(labels.size(), placed.size()))) {
    if (!label) continue;
    const int left = label->x, right = label->x + c.TextWidth(label->text);
    int row = 0;
    auto collides = [&](int r) {
      return std::any_of(placed.begin(), placed.begin() + count, [&](const Placed& p) {
        return p.row == r && left < p.right + gap && p.left < right + gap;
      });
    };
    while (collides(row)) ++row;
    placed[count++] = {left, right, row};
    c.TextOut(label->x, y - row * c.TextHeight(label->text), label->text);
  }
}

}  // namespace komet
