// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "common/canvas.h"
#include "flightlog/flight_log.h"
#include "plot/flight_plot.h"
#include "sim/simulation.h"

namespace komet {

// The colour of measured flights, apart from every curve's.
inline constexpr Color kMeasuredColor{230, 120, 0};

// A recording as the plot draws it: on the simulation's clock (set side by
// side where both pass 3 m), from launch to landing.
struct MeasuredOverlay {
  std::vector<double> time;      // s on the simulation's clock
  std::vector<double> height;    // m
  std::vector<double> velocity;  // m/s, local least-squares slope of the median
  double maxHeight = 0.0, maxVelocity = 0.0;
  double endTime = 0.0;  // s, the last point drawn
  std::string label;     // the legend: "Messflug: flug.csv (Höhenmesser meldet 2450 ft)"
};

// The points from launch until the recording is back below 3 m (or ends).
MeasuredOverlay MakeMeasuredOverlay(const FlightLog& log, const Simulation& simulation);

// Widens the common scale's range and end time to take in the recording.
void TakeInMeasured(const MeasuredOverlay& measured, const PlotSwitches& switches, double& range,
                    double& endTime);

// The recording's height as dots (and velocity, with its switch on, as a thin
// line) over the plot's scales, with its legend under the top right corner. Nothing while
// either scale is 0.
void PaintMeasured(Canvas& canvas, int width, const PlotState& state, const PlotSwitches& switches,
                   const MeasuredOverlay& measured);

}  // namespace komet
