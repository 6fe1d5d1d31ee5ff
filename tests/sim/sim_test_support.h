// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

#include "model/rocket_record.h"
#include "motors/motor_record.h"
#include "sim/sim_constants.h"

namespace komet::test {

// A motor with the given (time s, thrust N) points; the points after them
// stay at time 0, as the database leaves them.
inline MotorRecord MakeMotor(std::initializer_list<std::pair<double, double>> curve, double burnTime,
                             double propellantKg = 0.0, double totalKg = 0.0) {
  MotorRecord m;
  m.name.assign("T");
  m.burnTime = burnTime;
  m.propellantMass = propellantKg;
  m.totalMass = totalKg;
  std::size_t p = 0;
  for (const auto& [time, thrust] : curve) {
    m.curveTime[p] = time;
    m.curveThrust[p] = thrust;
    ++p;
  }
  return m;
}

// Constant thrust from 0 to curveEnd (the burn time unless given).
inline MotorRecord ConstantMotor(double thrust, double burnTime, double propellantKg = 0.0,
                                 double totalKg = 0.0, double curveEnd = 0.0) {
  const double end = curveEnd > 0.0 ? curveEnd : burnTime;
  return MakeMotor({{0.0, thrust}, {end, thrust}}, burnTime, propellantKg, totalKg);
}

// Puts `count` motors into slot `slot` (0..2) of stage `stage` (0 = stage 1).
inline void Fit(RocketRecord& rocket, std::size_t stage, std::size_t slot, const MotorRecord& motor,
                int count = 1) {
  rocket.stages[stage].motors[slot] = motor;
  rocket.stages[stage].counts[slot] = count;
}

// Curves whose segments a 5 ms pass enters, skips and leaves in every way.
inline std::vector<MotorRecord> AwkwardMotors() {
  MotorRecord zigzag, stepped, nanInside, dense;
  for (std::size_t p = 0; p < 30; ++p) {
    const double x = static_cast<double>(p);
    zigzag.curveTime[p] = p % 3 == 0 ? 0.05 * x : 0.1 * x;
    stepped.curveTime[p] = 0.2 * static_cast<double>(p / 2);
    nanInside.curveTime[p] = p == 7 ? std::numeric_limits<double>::quiet_NaN() : 0.04 * x;
    zigzag.curveThrust[p] = stepped.curveThrust[p] = nanInside.curveThrust[p] = 1.0 + x;
  }
  // Points closer than a step: a step crosses several segments at once.
  for (std::size_t p = 0; p < MotorRecord::kCurvePoints; ++p) {
    dense.curveTime[p] = 0.0013 * static_cast<double>(p);
    dense.curveThrust[p] = static_cast<double>(p % 7);
  }
  return {zigzag,
          stepped,
          nanInside,
          dense,
          MakeMotor({{0.0, 5.0}}, 1.0),
          MakeMotor({{0.0, 0.0}, {0.5, 10.0}, {1.0, 500.0}}, 1.0)};
}

// The default settings without rail friction.
inline FixedConstants NoFriction() {
  FixedConstants c;
  c.railFriction = 0.0;
  return c;
}

}  // namespace komet::test
