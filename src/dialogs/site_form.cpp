// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/site_form.h"

#include <cmath>

#include "common/format.h"
#include "common/numbers.h"
#include "common/text.h"

namespace komet {

SiteForm ShowSite(const LaunchSite& site, char sep) {
  return {site.standardAtmosphere, Format(sep, "%.0f", site.altitude), Format(sep, "%.1f", site.temperature),
          Format(sep, "%.1f", site.wind)};
}

SiteTake TakeSite(const SiteForm& form, const LaunchSite& previous, char sep) {
  struct Field {
    SiteField id;
    const std::string& text;
    double LaunchSite::*value;
    SiteRange range;
    std::string_view message;
    bool counts;
  };
  const bool standard = form.standardAtmosphere;
  const Field fields[] = {
      {SiteField::Altitude, form.altitude, &LaunchSite::altitude, kSiteAltitude,
       "Höhe des Startplatzes: %.0f bis %.0f m", standard},
      {SiteField::Temperature, form.temperature, &LaunchSite::temperature, kSiteTemperature,
       "Bodentemperatur: %.0f bis %.0f °C", standard},
      {SiteField::Wind, form.wind, &LaunchSite::wind, kSiteWind, "Windgeschwindigkeit: %.0f bis %.0f m/s",
       true},
  };
  SiteTake take;
  take.site = previous;
  take.site.standardAtmosphere = standard;
  for (const Field& f : fields) {
    const std::optional<double> v = ParseStrictNumber(f.text);
    if (v && *v >= f.range.min && *v <= f.range.max) {
      take.site.*f.value = *v;
    } else if (f.counts) {
      take.problem = Format(sep, f.message, f.range.min, f.range.max);
      take.field = f.id;
      return take;
    }
  }
  return take;
}

FieldForm ShowField(const LaunchField& field, char sep) {
  return {Format(sep, "%.0f", field.radius), field.ceiling > 0.0 ? Format(sep, "%.0f", field.ceiling) : ""};
}

FieldTake TakeField(const FieldForm& form, char sep) {
  FieldTake take;
  const std::optional<double> radius = ParseStrictNumber(form.radius);
  if (!radius || *radius < kFieldRadius.min || *radius > kFieldRadius.max) {
    take.problem = Format(sep, "Radius des Feldes: %.0f bis %.0f m", kFieldRadius.min, kFieldRadius.max);
    take.refused = SiteField::FieldRadius;
    return take;
  }
  take.field.radius = *radius;
  const std::optional<double> ceiling =
      Trim(form.ceiling).empty() ? std::optional<double>(0.0) : ParseStrictNumber(form.ceiling);
  if (!ceiling || *ceiling < kFieldCeiling.min || *ceiling > kFieldCeiling.max) {
    take.problem =
        Format(sep, "Höhengrenze: %.0f bis %.0f m, leer für keine", kFieldCeiling.min, kFieldCeiling.max);
    take.refused = SiteField::Ceiling;
    return take;
  }
  take.field.ceiling = *ceiling;
  return take;
}

}  // namespace komet
