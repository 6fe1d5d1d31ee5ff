// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/stage_form.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "common/format.h"
#include "common/numbers.h"
#include "common/win1252.h"

namespace komet {
namespace {

constexpr int kNoChoice = -1;

std::size_t SlotIndex(std::size_t stage, std::size_t slot) {
  return stage * kSlotCount + slot;
}

// The record number chosen for each slot that takes part in the transfer.
std::array<int, kMotorListCount> Choices(const StageForm& form,
                                         const std::array<int, kMotorListCount>& counts) {
  std::array<int, kMotorListCount> choice;
  for (std::size_t i = 0; i < kMotorListCount; ++i) {
    const int item = form.motore[i];
    const bool listed = item >= 0 && static_cast<std::size_t>(item) < form.motorList.size();
    choice[i] = counts[i] > 0 && listed ? form.motorList[item].recordNo : kNoChoice;
  }
  return choice;
}

// Equal choices in adjacent slots become one slot: 3 into 2, then 2 into 1;
// slots 1 and 3 are never merged directly.
void MergeEqualChoices(std::array<int, kMotorListCount>& counts,
                       const std::array<int, kMotorListCount>& choice) {
  for (std::size_t s = 0; s < kStageCount; ++s) {
    for (std::size_t upper : {1u, 0u}) {
      const std::size_t a = SlotIndex(s, upper), b = a + 1;
      if (choice[a] != kNoChoice && choice[a] == choice[b] && counts[b] > 0) {
        // Both counts are positive; those of a file may be as large as an int.
        counts[a] = static_cast<int>(
            std::min<std::int64_t>(std::int64_t{counts[a]} + counts[b], std::numeric_limits<int>::max()));
        counts[b] = 0;
      }
    }
  }
}

// An absent stage holds nothing, and every stage after it is absent too.
void ApplyAbsentStages(RocketRecord& rocket) {
  for (std::size_t s = 0; s < kStageCount; ++s) {
    StageRecord& stage = rocket.stages[s];
    stage.absent = 0;
    for (std::size_t j = 1; j < kSlotCount; ++j)
      if (stage.counts[j] == 0) stage.motors[j].name.clear();
    if (stage.counts[0] != 0) continue;
    stage.absent = 1;
    stage.ignitionDelay = stage.otherArea = stage.diameter = stage.mass = 0.0;
    stage.runIgnitionTime = stage.runSeparationTime = 0.0;
    stage.counts = {};
    for (MotorRecord& m : stage.motors) m.name.clear();
    if (s + 1 < kStageCount) rocket.stages[s + 1].counts[0] = 0;
  }
}

}  // namespace

void GetNames(StageForm& form, const std::filesystem::path& database, const RocketRecord& rocket) {
  form.motorList = ReadMotorList(database);
  UpdateMotorLists(form, rocket);
}

void UpdateMotorLists(StageForm& form, const RocketRecord& rocket) {
  SortMotorList(form.motorList);
  form.motore = MatchRocketMotors(form.motorList, rocket);
}

void SetForm(StageForm& form, const RocketRecord& rocket, char sep) {
  if (form.shown) return;
  form.RakName = Cp1252ToUtf8(rocket.name.view());
  UpdateMotorLists(form, rocket);
  for (std::size_t s = 0; s < kStageCount; ++s) {
    const StageRecord& stage = rocket.stages[s];
    for (std::size_t j = 0; j < kSlotCount; ++j)
      form.anzmot[SlotIndex(s, j)] = std::to_string(stage.counts[j]);
    form.durch[s] = Format(sep, "%.1f", stage.diameter * 1000.0);
    form.ComboEdit[s] = Format(sep, "%.1f", stage.otherArea * 1000000.0);
    form.stmgr[s] = Format(sep, "%.1f", stage.mass * 1000.0);
  }
  form.Verz1 = Format(sep, "%.2f", rocket.stages[1].ignitionDelay);
  form.verz2 = Format(sep, "%.2f", rocket.stages[2].ignitionDelay);
  form.ecwwert = Format(sep, "%.2f", rocket.cw);
}

RocketRecord HoleDaten(const StageForm& form, const RocketRecord& current,
                       const std::filesystem::path& database) {
  RocketRecord rocket = current;
  rocket.name.assign(Utf8ToCp1252(form.RakName));
  rocket.cw = ParseNumber(form.ecwwert);
  for (std::size_t s = 0; s < kStageCount; ++s) {
    rocket.stages[s].mass = ParseNumber(form.stmgr[s]) / 1000.0;
    rocket.stages[s].otherArea = ParseNumber(form.ComboEdit[s]) / 1000000.0;
    rocket.stages[s].diameter = ParseNumber(form.durch[s]) / 1000.0;
  }
  rocket.stages[1].ignitionDelay = ParseNumber(form.Verz1);
  rocket.stages[2].ignitionDelay = ParseNumber(form.verz2);

  std::array<int, kMotorListCount> counts;
  for (std::size_t i = 0; i < kMotorListCount; ++i) counts[i] = ParseInteger(form.anzmot[i]);
  const std::array<int, kMotorListCount> choice = Choices(form, counts);
  MergeEqualChoices(counts, choice);
  for (std::size_t i = 0; i < kMotorListCount; ++i)
    rocket.stages[i / kSlotCount].counts[i % kSlotCount] = counts[i];
  ApplyAbsentStages(rocket);

  // Fresh copies of the chosen motors; a slot without a choice keeps the
  // copy it holds (a motor from a file that the database does not know).
  for (std::size_t i = 0; i < kMotorListCount; ++i) {
    StageRecord& stage = rocket.stages[i / kSlotCount];
    if (stage.counts[i % kSlotCount] != 0 && choice[i] != kNoChoice)
      ReadMotorRecord(database, choice[i], stage.motors[i % kSlotCount]);
  }
  return rocket;
}

}  // namespace komet
