// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/canvas.h"
#include "plot/flight_series.h"
#include "plot/plot_switches.h"

namespace komet {

// The colours of the curves and markers, shared by screen and paper.
namespace curve_colors {
inline constexpr Color kGrey{128, 128, 128};
inline constexpr Color kThrust{0, 128, 0};
inline constexpr Color kForce{128, 0, 128};
inline constexpr Color kRed{255, 0, 0};  // velocity, and the apogee stroke of the height
inline constexpr Color kNavy{0, 0, 128};
inline constexpr Color kAccel{0, 0, 255};
inline constexpr Color kTeal{0, 128, 128};
inline constexpr Color kMaroon{128, 0, 0};
inline constexpr Color kOlive{128, 128, 0};  // the recovery's deployment
}  // namespace curve_colors

// A curve of the chart: the switch that shows it, its series and colour.
struct ChartCurve {
  PlotSwitch on;
  SeriesField field;
  Color color;
  double FlightResults::*maximum;  // what the vertical range takes in
};

inline constexpr std::array<ChartCurve, 5> kChartCurves{{
    {PlotSwitch::AnzS, SeriesField::Thrust, curve_colors::kThrust, &FlightResults::peakThrust},
    {PlotSwitch::AnzF, SeriesField::Force, curve_colors::kForce, &FlightResults::maxForce},
    {PlotSwitch::AnzH, SeriesField::Height, kBlack, &FlightResults::maxHeight},
    {PlotSwitch::AnzA, SeriesField::Accel, curve_colors::kAccel, &FlightResults::maxAccel},
    {PlotSwitch::Anzv, SeriesField::Velocity, curve_colors::kRed, &FlightResults::maxVelocity},
}};

inline void DrawLine(Canvas& c, int x0, int y0, int x1, int y1) {
  c.MoveTo(x0, y0);
  c.LineTo(x1, y1);
}

// Where the points of a curve land: x = originX + trunc(t × scaleX),
// y = originY − trunc(value × scaleY), never below `bottom`, never clipped
// at the top.
struct CurveFrame {
  int originX = 0, originY = 0, bottom = 0;
  double scaleX = 0.0, scaleY = 0.0;
  double startTime = 0.0;  // s at originX; 0 but in a zoomed view

  int X(double t) const;
  int Y(double value) const;           // clamped to bottom
  int UnclampedY(double value) const;  // for the apogee lines
};

// One curve as a polyline from the origin through the series.
void DrawSeries(Canvas& c, const CurveFrame& frame, const FlightView& flight, SeriesField field,
                const Pen& pen);

// The height curve; the segment ending at the apogee sample is drawn with
// `apogee`, every other with `normal`.
void DrawHeightSeries(Canvas& c, const CurveFrame& frame, const FlightView& flight, const Pen& normal,
                      const Pen& apogee);

// The largest maximum of the shown curves; 1 when none is positive.
double VerticalRange(const PlotSwitches& switches, const FlightResults& results);

// The largest value of the shown curves at the samples from `start` to
// `end` (s); 1 when none is positive.
double VerticalRangeWithin(const PlotSwitches& switches, const FlightView& flight, double start, double end);

// Times of the samples under the burnout, delay and deployment markers, for
// the markers that lie on the computed flight (delays also only before
// DrawnEndTime). The deployment is the first sample with the device's drag,
// and only when the run opened one.
struct MarkerSamples {
  std::optional<double> burnout;
  std::array<std::optional<double>, 4> delays;  // in the motor's order
  std::optional<double> deployment;
};
MarkerSamples MarkerSampleTimes(const FlightView& flight, const std::array<std::int8_t, 4>& delays);

// One marker's text with its top-left corner on the label line.
struct MarkerLabel {
  int x = 0;
  std::string text;
};

// The most marker texts one chart writes: four delays and the deployment.
inline constexpr std::size_t kMaxMarkerLabels = 5;

// Writes the markers' texts on the line at `y`. A text that would run into
// one already written (less than a blank apart) goes one line higher, and
// higher again while it still would, so that each stays readable.
void DrawMarkerLabels(Canvas& c, std::span<const std::optional<MarkerLabel>> labels, int y);

}  // namespace komet
