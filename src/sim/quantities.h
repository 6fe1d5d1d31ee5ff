// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

#include "sim/flight_results.h"

namespace komet {

// The flight series as a table of quantities, once: the CSV writer iterates
// it in both its styles instead of repeating column lists.
struct SeriesQuantity {
  std::string_view key;     // machine name, as in komet-sim's CSV header
  std::string_view german;  // spreadsheet header without unit
  std::string_view unit;
  double FlightSample::*field;
};

inline constexpr std::array<SeriesQuantity, 7> kSeriesQuantities{{
    {"time", "Zeit", "s", &FlightSample::time},
    {"thrust", "Schub", "N", &FlightSample::thrust},
    {"height", "Höhe", "m", &FlightSample::height},
    {"force", "Kraft", "N", &FlightSample::force},
    {"accel", "Beschleunigung", "m/s²", &FlightSample::accel},
    {"velocity", "Geschwindigkeit", "m/s", &FlightSample::velocity},
    {"propellantUsed", "Treibstoffverbrauch", "kg", &FlightSample::propellantUsed},
}};

struct ResultQuantity {
  std::string_view key;
  std::string_view unit;
  double FlightResults::*field;
};

inline constexpr std::array<ResultQuantity, 9> kResultQuantities{{
    {"peakThrust", "N", &FlightResults::peakThrust},
    {"maxAccel", "m/s²", &FlightResults::maxAccel},
    {"maxVelocity", "m/s", &FlightResults::maxVelocity},
    {"maxVelocityTime", "s", &FlightResults::maxVelocityTime},
    {"maxHeight", "m", &FlightResults::maxHeight},
    {"maxHeightTime", "s", &FlightResults::maxHeightTime},
    {"maxForce", "N", &FlightResults::maxForce},
    {"flightEndTime", "s", &FlightResults::flightEndTime},
    {"burnoutTime", "s", &FlightResults::burnoutTime},
}};

}  // namespace komet
