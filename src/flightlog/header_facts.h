// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "flightlog/flight_log.h"

namespace komet {

// What the lines before the numbers say about the heights, gathered line
// by line and weighed once the columns are known.
struct HeaderFacts {
  std::optional<HeightUnit> keyUnit;  // heights with a unit in "Key: value" lines
  bool keyUnitsDisagree = false;
  std::string keyLine;                    // the line that named keyUnit
  std::optional<HeightUnit> productUnit;  // an altimeter family that writes feet
  std::string product;
  bool fahrenheit = false;  // a temperature in °F anywhere in the header
  // The apogee the altimeter reported, in reportedUnit (none: the file's).
  std::optional<double> reportedApogee;
  std::optional<HeightUnit> reportedUnit;
  bool reportedAboveSea = false;
  std::optional<double> groundElevation;  // above sea, in groundUnit (none: the file's)
  std::optional<HeightUnit> groundUnit;
};

// A "Key: value" line of the header.
void TakeKeyValue(std::string_view key, std::string_view value, std::string_view line, HeaderFacts& facts);

// Any line before the numbers: an altimeter's product line names its family.
void TakeProductLine(std::string_view line, HeaderFacts& facts);

// The unit a column's name gives its numbers: "altitude_ft", "Höhe [m]".
std::optional<HeightUnit> UnitInName(std::string_view name);

// "Temperature (F)", "temp_f", "Temp (°F)".
bool NamesFahrenheit(std::string_view columnName);

// A field such as "59.5F" or "59.5 °F".
bool IsFahrenheitValue(std::string_view field);

}  // namespace komet
