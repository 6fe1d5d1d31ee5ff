// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>

#include "plot/flight_view.h"

namespace komet {

// The quantities of a sample that the plot and the report draw as curves.
enum class SeriesField { Thrust, Force, Height, Accel, Velocity };

// The value of one quantity of a sample.
inline double SeriesValue(const FlightSample& s, SeriesField f) {
  switch (f) {
    case SeriesField::Thrust:
      return s.thrust;
    case SeriesField::Force:
      return s.force;
    case SeriesField::Height:
      return s.height;
    case SeriesField::Accel:
      return s.accel;
    case SeriesField::Velocity:
      return s.velocity;
  }
  return 0.0;
}

// The time at which sample i of a curve is drawn: thrust and force by their
// step number i × timeStep, the others by the sample's own time.
inline double SeriesTime(const FlightView& flight, std::size_t i, SeriesField f) {
  if (f == SeriesField::Thrust || f == SeriesField::Force)
    return static_cast<double>(i) * flight.constants.timeStep;
  return flight.samples[i].time;
}

// Calls visit(i) for i = 1, 2, ... until the next sample is the end marker
// (time 999 or more); sample 1 is always visited. Bounded by the table and by
// the computed flight, so a missing marker never runs into stale entries.
template <typename Visit>
void ForEachFlightSample(const FlightView& flight, Visit visit) {
  if (flight.samples.size() < 2) return;
  const std::size_t last = std::max<std::size_t>(LastFlightIndex(flight), 1);
  for (std::size_t i = 1;; ++i) {
    visit(i);
    if (i >= last || flight.samples[i + 1].time >= kSeriesEndTime) break;
  }
}

}  // namespace komet
