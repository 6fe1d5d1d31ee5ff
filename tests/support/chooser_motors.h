// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

#include "motors/motor_details.h"
#include "support/motor_fixtures.h"

namespace komet::testing {

// A box-curve motor with a details block: `thrust` N for `burnTime` s.
inline MotorRecord DetailedMotor(std::string_view name, std::string_view maker, std::string_view designation,
                                 double diameterMm, double thrust, double burnTime, std::vector<int> delays,
                                 bool booster = false) {
  MotorRecord m = BoxMotor(name, thrust, burnTime, 0.01, 0.025);
  MotorDetails d;
  d.maker = maker;
  d.designation = designation;
  d.diameterMm = diameterMm;
  d.lengthMm = diameterMm * 4;
  d.totalImpulse = thrust * burnTime;
  d.type = MotorDetails::Type::SingleUse;
  d.delays = std::move(delays);
  d.booster = booster;
  WriteMotorDetails(d, m);
  return m;
}

// The chooser's small database, in file order; sorted by name it reads
// A8, Alt F, C6, D12, E9, G40, Z0.
inline std::vector<MotorRecord> ChooserMotors() {
  MotorRecord bare = BoxMotor("Alt F", 50, 1.2);  // an old record: no details
  MotorRecord empty = BoxMotor("Z0", 0, 0);       // no curve, so no class
  return {DetailedMotor("D12 [Estes]", "Estes", "D12-5", 24, 12, 1.6, {3, 5, 7}, true),
          DetailedMotor("A8 [Estes]", "Estes", "A8-3", 18, 3, 0.7, {3, 5}),
          DetailedMotor("G40 [AeroTech]", "AeroTech", "G40-10W", 29, 40, 2.5, {4, 7, 10}),
          DetailedMotor("C6 [Estes]", "Estes", "C6-5", 18, 5.5, 1.6, {3, 5, 7}),
          DetailedMotor("E9 [Klima]", "Klima", "E9-4", 24, 9, 3.0, {4, 6, 8}),
          bare,
          empty};
}

}  // namespace komet::testing
