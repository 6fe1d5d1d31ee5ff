// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "model/rocket_record.h"
#include "motors/motor_database.h"

namespace komet {

// Nine motor lists: stage 1 slots 1..3, then stage 2, then stage 3.
inline constexpr std::size_t kMotorListCount = kStageCount * kSlotCount;
using MotorSelections = std::array<int, kMotorListCount>;  // item index, or -1 = none

// For each of the nine slots whose count is above 0, the itemIndex of the
// entry whose name equals the slot motor's name; else -1. Of several such
// entries the last one whose flight fields equal the slot's copy wins, and
// only when none does, the last one (the same name from several makers must
// not swap the motor a rocket was built with). A slot whose name is in no
// entry selects the last entry whose flight fields equal its copy (a rocket
// saved before the catalogue's names), if any.
MotorSelections MatchRocketMotors(const MotorList& list, const RocketRecord& rocket);

}  // namespace komet
