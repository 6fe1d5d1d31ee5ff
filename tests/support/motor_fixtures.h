// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "model/rocket_record.h"
#include "motors/motor_database.h"
#include "motors/motor_record.h"

namespace komet::testing {

// A motor with a rectangular thrust curve: `thrust` N from 0 to `burnTime` s,
// then 0 one millisecond later.
inline MotorRecord BoxMotor(std::string_view name, double thrust, double burnTime, double propellant = 0.01,
                            double total = 0.02) {
  MotorRecord m;
  m.name.assign(name);
  m.propellantMass = propellant;
  m.totalMass = total;
  m.burnTime = burnTime;
  m.maxThrust = thrust;
  m.curveTime[1] = 0.0005, m.curveThrust[1] = thrust;
  m.curveTime[2] = burnTime, m.curveThrust[2] = thrust;
  m.curveTime[3] = burnTime + 0.001, m.curveThrust[3] = 0.0;
  m.delays = {3, 5, 0, 0};
  return m;
}

// Writes a database of the motors in the given order; returns its path.
inline std::filesystem::path WriteDatabase(const std::filesystem::path& dir,
                                           const std::vector<MotorRecord>& motors) {
  const auto path = dir / "motoren.kdb";
  WriteMotorDatabase(path, motors);
  return path;
}

// A single-stage rocket as the stage dialog makes it: 25 mm across, cw 0.6,
// one `motor` in slot 1, the stages above absent.
inline RocketRecord SingleStageRocket(std::string_view name, const MotorRecord& motor, double massKg = 0.03) {
  RocketRecord r;
  InitRakete(r);
  r.name.assign(name);
  r.cw = 0.6;
  r.stages[0].mass = massKg;
  r.stages[0].diameter = 0.025;
  r.stages[0].counts = {1, 0, 0};
  r.stages[0].motors[0] = motor;
  r.stages[1].absent = r.stages[2].absent = 1;
  return r;
}

}  // namespace komet::testing
