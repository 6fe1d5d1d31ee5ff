// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/guide_settings.h"

#include <cmath>

#include "common/qt/komet_settings.h"

namespace komet {
namespace {

constexpr const char* kMountLength = "Motorberater/Motorlaenge";

double NonNegative(const QSettings& s, const char* key) {
  bool ok = false;
  const double v = s.value(QLatin1String(key)).toDouble(&ok);
  return ok && std::isfinite(v) && v > 0.0 ? v : 0.0;
}

}  // namespace

GuideSettings LoadGuideSettings() {
  const std::unique_ptr<QSettings> s = OpenKometSettings();
  return {NonNegative(*s, kMountLength)};
}

void SaveGuideSettings(const GuideSettings& settings) {
  const std::unique_ptr<QSettings> s = OpenKometSettings();
  s->setValue(QLatin1String(kMountLength), settings.mountLengthMm);
}

}  // namespace komet
