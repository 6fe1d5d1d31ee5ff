// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/pending_edits.h"

#include "common/format.h"
#include "common/komet_error.h"
#include "common/numbers.h"

namespace komet {
namespace {

bool SameNumber(const std::string& a, const std::string& b, const char* format, char sep) {
  return Format(sep, format, ParseNumber(a)) == Format(sep, format, ParseNumber(b));
}

// A count field that holds no integer differs from any stored count.
int CountOf(const std::string& text) {
  try {
    return ParseInteger(text);
  } catch (const KometError&) {
    return -1;
  }
}

}  // namespace

bool FormDiffersFromRocket(const StageForm& form, const RocketRecord& rocket, char sep) {
  StageForm stored = form;
  stored.shown = false;
  SetForm(stored, rocket, sep);
  if (form.RakName != stored.RakName || !SameNumber(form.ecwwert, stored.ecwwert, "%.2f", sep) ||
      !SameNumber(form.Verz1, stored.Verz1, "%.2f", sep) ||
      !SameNumber(form.verz2, stored.verz2, "%.2f", sep))
    return true;
  for (std::size_t s = 0; s < kStageCount; ++s)
    if (!SameNumber(form.stmgr[s], stored.stmgr[s], "%.1f", sep) ||
        !SameNumber(form.durch[s], stored.durch[s], "%.1f", sep) ||
        !SameNumber(form.ComboEdit[s], stored.ComboEdit[s], "%.1f", sep))
      return true;
  for (std::size_t i = 0; i < kMotorListCount; ++i) {
    const int count = CountOf(form.anzmot[i]);
    if (count != CountOf(stored.anzmot[i])) return true;
    if (count > 0 && form.motore[i] != stored.motore[i]) return true;
  }
  return false;
}

}  // namespace komet
