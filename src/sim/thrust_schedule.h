// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/flight_plan.h"
#include "sim/flight_results.h"

namespace komet {

// Before a flight: the widest diameter of the stack while each stage is the
// lowest one attached (m), and in `r` every stage's masses, ignition and
// separation, the lift-off mass, the other areas, the powered end and the
// burnout time. A stage without a motor in slot 1 does not fly.
void PrepareStages(const FlightPlan& plan, FlightResults& r, std::array<double, kStageCount>& stackDiameter);

// The separation times of the stages on the millisecond grid.
std::array<std::int64_t, kStageCount> SeparationsMs(const FlightResults& r);

// What the schedule pass wrote.
struct ThrustSchedule {
  std::size_t end = 1;      // index of its end marker
  double peakThrust = 0.0;  // N
  bool gap = false;         // no stage fired at some time before the end: no flight
};

// The schedule pass: from sample 1 on, the thrust and propellant use of the
// firing stage's motors at each step up to the powered end; the flight pass
// fills the rest of each sample. Writes no end marker.
ThrustSchedule WriteThrustSchedule(const FlightPlan& plan, const FlightResults& r, double timeStep,
                                   std::span<FlightSample> samples);

}  // namespace komet
