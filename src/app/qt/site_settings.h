// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/flight_safety.h"
#include "sim/sim_constants.h"

namespace komet {

// The launch site (standard atmosphere, altitude, ground temperature, wind)
// in the user's QSettings under "Startplatz/"; values outside their ranges
// read as the defaults.
LaunchSite LoadLaunchSite();
void SaveLaunchSite(const LaunchSite& site);

// The field beside it ("Startplatz/Feldradius", "Startplatz/Hoehengrenze").
// A height limit the motor guide kept before ("Motorberater/Hoehenlimit")
// becomes the ceiling once, while no ceiling is stored.
LaunchField LoadLaunchField();
void SaveLaunchField(const LaunchField& field);

}  // namespace komet
