// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/flight_safety.h"

namespace komet {

// The motor guide's settings that the rocket record has no field for: the
// mount's length and the field's height limit, in the user's QSettings
// ("Motorberater/Motorlaenge", "Motorberater/Hoehenlimit"); 0: none.
struct GuideSettings {
  double mountLengthMm = 0.0;
  double heightLimit = 0.0;  // m
};

GuideSettings LoadGuideSettings();
void SaveGuideSettings(const GuideSettings& settings);

// The rules' inputs from the settings: the height limit when one is set.
SafetyInputs SafetyInputsOf(const GuideSettings& settings);

}  // namespace komet
