// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/site_settings.h"

#include <cmath>

#include "common/qt/komet_settings.h"

namespace komet {
namespace {

constexpr const char* kStandard = "Startplatz/Normatmosphaere";
constexpr const char* kAltitude = "Startplatz/Hoehe";
constexpr const char* kTemperature = "Startplatz/Temperatur";
constexpr const char* kWind = "Startplatz/Wind";
constexpr const char* kFieldRadiusKey = "Startplatz/Feldradius";
constexpr const char* kCeilingKey = "Startplatz/Hoehengrenze";
constexpr const char* kGuideHeightLimit = "Motorberater/Hoehenlimit";

double InRange(const QSettings& s, const char* key, SiteRange range, double fallback) {
  bool ok = false;
  const double v = s.value(QLatin1String(key)).toDouble(&ok);
  return ok && std::isfinite(v) && v >= range.min && v <= range.max ? v : fallback;
}

}  // namespace

LaunchSite LoadLaunchSite() {
  const std::unique_ptr<QSettings> settings = OpenKometSettings();
  const QSettings& s = *settings;
  LaunchSite site;
  site.standardAtmosphere = s.value(QLatin1String(kStandard), false).toBool();
  site.altitude = InRange(s, kAltitude, kSiteAltitude, site.altitude);
  site.temperature = InRange(s, kTemperature, kSiteTemperature, site.temperature);
  site.wind = InRange(s, kWind, kSiteWind, site.wind);
  return site;
}

void SaveLaunchSite(const LaunchSite& site) {
  const std::unique_ptr<QSettings> s = OpenKometSettings();
  s->setValue(QLatin1String(kStandard), site.standardAtmosphere);
  s->setValue(QLatin1String(kAltitude), site.altitude);
  s->setValue(QLatin1String(kTemperature), site.temperature);
  s->setValue(QLatin1String(kWind), site.wind);
}

LaunchField LoadLaunchField() {
  const std::unique_ptr<QSettings> s = OpenKometSettings();
  if (!s->contains(QLatin1String(kCeilingKey)) && s->contains(QLatin1String(kGuideHeightLimit))) {
    s->setValue(QLatin1String(kCeilingKey), s->value(QLatin1String(kGuideHeightLimit)));
    s->remove(QLatin1String(kGuideHeightLimit));
  }
  LaunchField field;
  field.radius = InRange(*s, kFieldRadiusKey, kFieldRadius, field.radius);
  field.ceiling = InRange(*s, kCeilingKey, kFieldCeiling, field.ceiling);
  return field;
}

void SaveLaunchField(const LaunchField& field) {
  const std::unique_ptr<QSettings> s = OpenKometSettings();
  s->setValue(QLatin1String(kFieldRadiusKey), field.radius);
  s->setValue(QLatin1String(kCeilingKey), field.ceiling);
}

}  // namespace komet
