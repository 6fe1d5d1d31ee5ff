// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "dialogs/motor_match.h"
#include "model/rocket_record.h"
#include "motors/motor_database.h"

namespace komet {

// The stage dialog's state as plain data: the texts of its fields (UTF-8),
// the nine count fields, the nine list selections and the motor list.
// Arrays run over stages 1..3 (index 0 is the main stage) and, for slots,
// stage 1 slots 1..3, then stage 2, stage 3.
struct StageForm {
  std::string RakName = "KeinName";
  std::string ecwwert;
  std::array<std::string, kStageCount> stmgr;      // mass without motors, g
  std::array<std::string, kStageCount> durch;      // diameter, mm
  std::array<std::string, kStageCount> ComboEdit;  // other frontal areas, mm²
  std::string Verz1;                               // stage 2 ignition delay, s
  std::string verz2;                               // stage 3 ignition delay, s
  std::array<std::string, kMotorListCount> anzmot{"0", "0", "0", "0", "0", "0", "0", "0", "0"};
  MotorSelections motore{-1, -1, -1, -1, -1, -1, -1, -1, -1};  // index into motorList, -1 = none

  MotorList motorList;  // sorted; entry i is item i of every motor list
  bool shown = false;   // while the dialog is shown, SetForm leaves the fields alone
};

// Reads the motor database into the form's list and refills the lists,
// selecting each used slot's motor by name. A missing database gives empty
// lists without a message.
void GetNames(StageForm& form, const std::filesystem::path& database, const RocketRecord& rocket);

// Sorts the list, clears every selection and selects each used slot's motor.
void UpdateMotorLists(StageForm& form, const RocketRecord& rocket);

// Loads the fields from the record, numbers with the given decimal
// separator; does nothing while the dialog is shown.
void SetForm(StageForm& form, const RocketRecord& rocket, char decimalSeparator);

// The transfer into the record: names, numbers, counts, merging of equal
// choices, absent stages and fresh copies of the chosen motors. Returns the
// new record and leaves `current` alone, so a failure changes nothing.
// Throws KometError for a count that is no integer or a failed database read.
RocketRecord HoleDaten(const StageForm& form, const RocketRecord& current,
                       const std::filesystem::path& database);

}  // namespace komet
