// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/stage_form.h"
#include "model/rocket_record.h"

namespace komet {

// Whether the stage dialog's fields mean another rocket than `rocket`, as
// after an "Abbruch" with edits: the name, every number as the dialog shows
// it (so "30" and "30,0" agree), every count, and the motor of each used
// slot. The motor list must be the one the fields were filled from.
bool FormDiffersFromRocket(const StageForm& form, const RocketRecord& rocket, char decimalSeparator);

}  // namespace komet
