// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "dialogs/stage_form.h"
#include "model/rocket_shape.h"
#include "sim/flight_safety.h"
#include "sim/motor_fit.h"
#include "sim/stability.h"

namespace komet {

// What the stage dialog says about its motors: whether a chosen one goes
// into the stage's mount, and the rocket's balance with the motors chosen.

// The mount of `stage` (0-based) as the dialog has it now: the shape's,
// else the one its first list's motor sits in while that row counts motors.
StageMount FormStageMount(const StageForm& form, const RocketShape* shape, std::size_t stage);

// Why motor list entry `item` cannot go into `stage`: it is wider than the
// shape's mount or longer than the mount and its overhang (German, UTF-8,
// numbers with `sep`). Empty when it fits, when its size is not known and
// without a shape, where the mount would be the stage's own motor.
std::string MountRefusal(const StageForm& form, const RocketShape* shape, std::size_t stage, int item,
                         char sep);

// The balance over the boost of the rocket as the dialog's OK would make it
// from `current` (the stages' times from their schedule, which the flight
// does not change). None without a shape, for a shape with fewer stages
// than the rocket flies, without a motor in stage 1, or when the choices do
// not transfer (a motor the database no longer reads).
std::optional<StabilityFigures> FormStability(const StageForm& form, const RocketRecord& current,
                                              const RocketShape* shape,
                                              const std::filesystem::path& database);

// The line beside the motors, "Stabilität: 2,1 Kaliber (min. 1,8)", and
// the level of the balance rules it breaks (none: it breaks none).
struct StabilityNote {
  std::string text;
  std::optional<SafetyLevel> level;
};
StabilityNote StabilityNoteOf(const std::optional<StabilityFigures>& figures, bool hasShape, char sep);

}  // namespace komet
