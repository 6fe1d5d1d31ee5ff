// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace komet {

// The motor guide's setting that the rocket record has no field for: the
// mount's length in the user's QSettings ("Motorberater/Motorlaenge"); 0:
// none. The field's ceiling is a setting of the launch site (site_settings).
struct GuideSettings {
  double mountLengthMm = 0.0;
};

GuideSettings LoadGuideSettings();
void SaveGuideSettings(const GuideSettings& settings);

}  // namespace komet
