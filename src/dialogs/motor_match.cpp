// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/motor_match.h"

namespace komet {

namespace {

// The item for one slot's motor: by name, of several the last one equal to
// the stored copy, else the last one; without a name match, the last entry
// equal to the copy (a rocket saved before the names carried the maker).
int MatchSlot(const MotorList& list, const MotorRecord& stored) {
  const std::uint64_t key = MotorFlightKey(stored);
  int byName = -1, exact = -1, sameFlight = -1;
  for (const MotorListEntry& entry : list) {
    const bool same = entry.flightKey == key;
    if (same) sameFlight = entry.itemIndex;
    if (CompareMotorNames(entry.name, stored.name.view()) != 0) continue;
    byName = entry.itemIndex;
    if (same) exact = entry.itemIndex;
  }
  return exact >= 0 ? exact : byName >= 0 ? byName : sameFlight;
}

}  // namespace

MotorSelections MatchRocketMotors(const MotorList& list, const RocketRecord& rocket) {
  MotorSelections selected;
  selected.fill(-1);
  for (std::size_t s = 0; s < kStageCount; ++s) {
    for (std::size_t j = 0; j < kSlotCount; ++j) {
      const StageRecord& stage = rocket.stages[s];
      if (stage.counts[j] > 0) selected[s * kSlotCount + j] = MatchSlot(list, stage.motors[j]);
    }
  }
  return selected;
}

}  // namespace komet
