// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "sim/flight_safety.h"
#include "sim/sim_constants.h"

namespace komet {

// The launch-site fields of the settings dialog (UTF-8 texts).
struct SiteForm {
  bool standardAtmosphere = false;
  std::string altitude;     // m above sea level
  std::string temperature;  // °C at the ground
  std::string wind;         // m/s
};

// Which field a refusal is about.
enum class SiteField { None, Altitude, Temperature, Wind, FieldRadius, Ceiling };

SiteForm ShowSite(const LaunchSite& site, char decimalSeparator);

// The form's launch site, or the German refusal of the first field that is
// no number or lies outside its range. Altitude and temperature count only
// with the standard atmosphere on; while it is off, an unreadable one keeps
// the value of `previous`.
struct SiteTake {
  LaunchSite site;
  std::string problem;  // empty: taken
  SiteField field = SiteField::None;
};
SiteTake TakeSite(const SiteForm& form, const LaunchSite& previous, char decimalSeparator);

// The field's fields on the same page: its radius, and its ceiling, which
// shows empty while there is none.
struct FieldForm {
  std::string radius;   // m
  std::string ceiling;  // m; empty or 0: none
};

FieldForm ShowField(const LaunchField& field, char decimalSeparator);

// The form's field, or the German refusal of the first field that is no
// number or lies outside its range.
struct FieldTake {
  LaunchField field;
  std::string problem;  // empty: taken
  SiteField refused = SiteField::None;
};
FieldTake TakeField(const FieldForm& form, char decimalSeparator);

}  // namespace komet
