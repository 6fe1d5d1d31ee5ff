// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

#include "common/canvas.h"
#include "plot/curve_drawing.h"
#include "plot/flight_view.h"
#include "plot/plot_switches.h"

// The flight chart as the screen plot and the printed report both draw it:
// axes, grid, labels, curves, apogee lines and markers.
namespace komet {

// Where the chart lies on its surface. Axes and grid reach the bounds; the
// scales are set once the grid is counted.
struct ChartFrame {
  int left = 0, top = 0, right = 0, bottom = 0;
  int originX = 0, originY = 0;  // where time and value are 0
  int stepX = 0, stepY = 0;      // grid step
  double scaleX = 0.0;           // units per second
  double scaleY = 0.0;           // units per value unit
  double startTime = 0.0;        // s at originX; 0 but in a zoomed view

  CurveFrame Curves() const { return {originX, originY, bottom, scaleX, scaleY, startTime}; }
};

// What differs between screen and paper: frame, label offsets and pens.
struct ChartStyle {
  bool framed = false;          // a rectangle around the bounds
  bool labelsOnBounds = false;  // the screen also labels the grid lines on its edges
  int textShift = 0;            // texts start this far left of / above their point
  int valueLabelInset = 0;      // value labels start this far right of `left`
  double timeLabelRise = 0.0;   // time labels stand this far above `bottom`
  int markerLabelShift = 0;     // delay labels start this far left of their line
  int apogeeTimeDrop = 0;       // the apogee's time text stands this far below `top`
  int apogeeHeightInset = 0;    // the apogee's height text ends this far left of `right`
  int apogeeLineWidth = 0;      // 0: the width the previous curve left on the pen
  int apogeeSegmentWidth = 1;   // the height curve's segment that ends at the apogee
  std::array<int, kChartCurves.size()> curveWidths{};  // in kChartCurves' order
};

// What the curves are drawn from.
struct ChartInputs {
  const FlightView& flight;
  const PlotSwitches& switches;
  std::array<std::int8_t, 4> delays{};  // of the main motor
  char decimalSeparator = ',';
};

// Grid lines right of and above the origin, each count minus 1: the scales
// put the largest value on the second line from the far end.
struct GridCounts {
  int x = 0, y = 0;
};

// Axes, origin dot and dotted grid.
GridCounts DrawChartGrid(Canvas& c, const ChartFrame& frame, const ChartStyle& style);

// Scales for the counted grid: the range and the end time on the second
// grid line from the far end.
void SetChartScales(ChartFrame& frame, const GridCounts& counts, double range, double endTime);

// Time and value labels on the grid lines.
void DrawChartLabels(Canvas& c, const ChartFrame& frame, const ChartStyle& style, char decimalSeparator);

// The switched-on curves in kChartCurves' order, the height with its apogee
// lines, then the burnout and delay markers (when switched on) and the
// recovery's deployment marker (when the run opened one).
void DrawChartCurves(Canvas& c, const ChartFrame& frame, const ChartStyle& style, const ChartInputs& in);

}  // namespace komet
