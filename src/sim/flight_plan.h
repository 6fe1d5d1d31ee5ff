// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "model/recovery.h"
#include "model/rocket_record.h"
#include "motors/motor_record.h"
#include "sim/sim_constants.h"

namespace komet {

// One stage as a flight sees it. Masses in kg, lengths in m, areas in m².
struct StagePlan {
  double mass = 0.0;  // without motors
  double otherArea = 0.0;
  double ignitionDelay = 0.0;  // from this stage's burnout to the ignition of the stage above
  double diameter = 0.0;
  // Never null in a plan from MakeFlightPlan; they point at motors that
  // must outlive the run and every reader of its results.
  std::array<const MotorRecord*, kSlotCount> motors{};
  std::array<std::int32_t, kSlotCount> counts{};  // a stage with none in slot 1 does not fly
};

// What a flight reads: the rocket, its recovery and the constants of the
// run. A flight never writes it; the guide and the cw fit make one per trial
// instead of changing a copy of the rocket.
struct FlightPlan {
  std::array<StagePlan, kStageCount> stages{};
  double cw = 0.0;
  std::optional<Recovery> recovery;  // none: the flight ends with the calculation period
  ConstantValues constants;
  LaunchSite site;
};

// The plan of a rocket: its stages pointing at its own motors, its
// recovery block, the constants and the launch site read once.
FlightPlan MakeFlightPlan(const RocketRecord& rocket, const SimConstants& constants);

// Mass at lift-off of the stages that fly, kg.
double LiftOffMass(const FlightPlan& plan);

}  // namespace komet
