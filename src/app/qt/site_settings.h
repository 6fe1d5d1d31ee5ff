// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/sim_constants.h"

namespace komet {

// The launch site (standard atmosphere, altitude, ground temperature, wind)
// in the user's QSettings under "Startplatz/"; values outside their ranges
// read as the defaults.
LaunchSite LoadLaunchSite();
void SaveLaunchSite(const LaunchSite& site);

}  // namespace komet
