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

}  // namespace komet
