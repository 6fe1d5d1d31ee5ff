// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/canvas.h"
#include "plot/flight_view.h"
#include "plot/plot_switches.h"

namespace komet {

struct MeasuredOverlay;

// Geometry of the screen plot, kept by the main window. Origin, bottom and
// grid counts are recomputed on every paint; the scales on every paint with
// results, and they keep their values in between (the read-out uses them).
struct PlotState {
  int plotOriginX = 45;    // x of the value axis, px
  int plotOriginY = 0;     // y of the time axis, px
  int plotBottom = 0;      // lowest y of a curve point, px
  int gridCountX = 0;      // vertical grid lines right of the value axis, minus 1
  int gridCountY = 0;      // horizontal grid lines above the time axis, minus 1
  double scaleX = 0.0;     // px per second; 0 = none yet
  double scaleY = 0.0;     // px per value unit; 0 = none yet
  double startTime = 0.0;  // s at the value axis: 0 but in a zoomed view
};

// A part of the flight drawn across the whole plot: the times from `start`
// to `end`, the values from 0 up to `top` (0: the largest of the shown
// curves in that time). Below 0 the plot keeps its quarter.
struct PlotZoom {
  double start = 0.0, end = 0.0;  // s
  double top = 0.0;

  friend bool operator==(const PlotZoom&, const PlotZoom&) = default;
};

// The ascent: from launch until a fifth past the apogee or the recovery's
// opening, whichever is later.
PlotZoom AscentZoom(const FlightResults& results);

// What one paint reads besides the geometry.
struct PlotInputs {
  FlightView flight;
  const PlotSwitches& switches;
  std::array<std::int8_t, 4> delays{};  // of the main motor; see MainMotorDelays
  char decimalSeparator = ',';
  // A flight shown for comparison: the common scale takes in both.
  const FlightResults* comparison = nullptr;
  // A measured flight drawn over the plot: the common scale takes it in too.
  const MeasuredOverlay* measured = nullptr;
  // The part of the flight shown; none: the whole flight.
  std::optional<PlotZoom> zoom = std::nullopt;
  // The summary line's, from the flight without recovery; none: the flight's own.
  std::optional<double> recommendedDelay = std::nullopt;
};

inline constexpr int kPlotGridStep = 30;             // px
inline constexpr int kMaxPlotSurfaceSize = 1 << 20;  // larger sizes are taken as this

// What the empty rocket does to the plot: no scales until the next paint
// with results.
void ClearScales(PlotState& state);

// Axes, origin dot and grid on a W x H surface; sets origin, bottom and grid
// counts. Sizes are taken within 0..kMaxPlotSurfaceSize.
void PaintAxis(Canvas& canvas, int width, int height, PlotState& state);

// The switched-on curves with apogee, burnout and delay markers; sets the
// scales (to DrawnEndTime). Returns the summary line.
std::string PaintCurves(Canvas& canvas, int width, PlotState& state, const PlotInputs& in);

// The summary line of Panel2 for these results; the recommended delay is
// the flight's own unless given (that of its free ascent).
std::string SummaryLine(const FlightResults& results, char decimalSeparator,
                        std::optional<double> recommendedDelay = std::nullopt);

// Time and value labels; nothing while either scale is 0.
void PaintAx(Canvas& canvas, int width, int height, const PlotState& state, char decimalSeparator);

// A second flight over the scales of the first, for comparison: its
// switched-on curves dotted in their colours (the height in black), and
// `label` (UTF-8) at the top right. Nothing while either scale is 0.
void PaintComparison(Canvas& canvas, int width, const PlotState& state, const PlotSwitches& switches,
                     const FlightView& other, std::string_view label);

// The paint handler: font and background, PaintAxis, and with results the
// curves and labels. Returns the new text of Panel2, or nothing when it keeps
// its text (no results).
std::optional<std::string> PaintBox1Paint(Canvas& canvas, int width, int height, PlotState& state,
                                          const PlotInputs& in);

}  // namespace komet
