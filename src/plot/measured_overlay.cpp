// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/measured_overlay.h"

#include <algorithm>

#include "common/format.h"
#include "flightlog/cw_fit.h"
#include "plot/curve_drawing.h"

namespace komet {
namespace {

// A dot of 3 x 3 pixels.
void Dot(Canvas& c, int x, int y) {
  c.Rectangle(x - 1, y - 1, x + 1, y + 1);
}

}  // namespace

MeasuredOverlay MakeMeasuredOverlay(const FlightLog& log, const Simulation& simulation) {
  MeasuredOverlay m;
  m.label = "Messflug: " + log.fileName;
  if (log.reportedApogee)
    m.label +=
        Format('.', " (H\xC3\xB6henmesser meldet %.0f %s)", log.reportedValue, UnitText(log.reportedUnit));
  const double offset = SimulatedLaunchTime(simulation, log);
  const std::vector<double> v = MeasuredVelocity(log);
  std::size_t end = log.apogeeIndex;
  while (end + 1 < log.size() && log.smoothed[end] >= kLaunchRise) ++end;
  for (std::size_t i = log.launchIndex; i <= end; ++i) {
    const double t = log.time[i] + offset;
    if (t < 0.0) continue;
    m.time.push_back(t);
    m.height.push_back(log.height[i]);
    m.velocity.push_back(v[i]);
    m.maxHeight = std::max(m.maxHeight, log.height[i]);
    m.maxVelocity = std::max(m.maxVelocity, v[i]);
    m.endTime = t;
  }
  return m;
}

void TakeInMeasured(const MeasuredOverlay& m, const PlotSwitches& sw, double& range, double& endTime) {
  if (sw.IsOn(PlotSwitch::AnzH)) range = std::max(range, m.maxHeight);
  if (sw.IsOn(PlotSwitch::Anzv)) range = std::max(range, m.maxVelocity);
  endTime = std::max(endTime, m.endTime);
}

void PaintMeasured(Canvas& c, int width, const PlotState& st, const PlotSwitches& sw,
                   const MeasuredOverlay& m) {
  if (st.scaleX == 0.0 || st.scaleY == 0.0) return;
  const CurveFrame frame{st.plotOriginX, st.plotOriginY, st.plotBottom, st.scaleX, st.scaleY, st.startTime};
  const Pen before = c.pen();
  c.SetPen({kMeasuredColor, 1, PenStyle::Solid});
  // Left of the value axis in a zoomed view nothing is drawn.
  std::size_t first = 0;
  while (first < m.time.size() && m.time[first] < st.startTime) ++first;
  if (sw.IsOn(PlotSwitch::AnzH))
    for (std::size_t i = first; i < m.time.size(); ++i) Dot(c, frame.X(m.time[i]), frame.Y(m.height[i]));
  // The velocity as a thin line: dots of every sample would cover the
  // simulated curves it is held against.
  if (sw.IsOn(PlotSwitch::Anzv) && first < m.time.size()) {
    c.MoveTo(frame.X(m.time[first]), frame.Y(m.velocity[first]));
    for (std::size_t i = first + 1; i < m.time.size(); ++i) c.LineTo(frame.X(m.time[i]), frame.Y(m.velocity[i]));
  }
  // The legend: a dot and the file's name, one line below a comparison's label.
  const Font font = c.font();
  Font coloured = font;
  coloured.color = kMeasuredColor;
  c.SetFont(coloured);
  const int textWidth = c.TextWidth(m.label), y = 2 + c.Metrics().height;
  const int x = std::clamp(width, 0, kMaxPlotSurfaceSize) - textWidth - 4;
  c.TextOut(x, y, m.label);
  Dot(c, x - 7, y + c.Metrics().height / 2);
  c.SetFont(font);
  c.SetPen(before);
}

}  // namespace komet
