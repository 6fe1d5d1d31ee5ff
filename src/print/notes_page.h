// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/line_printer.h"

namespace komet {

// The page the notes print on: Arial 8 pt, the program's version and the
// print date in the footer, a rule above it, half an inch at the top and an
// inch elsewhere. The date and time texts are the caller's.
void SetUpNotesPage(TLinePrinter& lp);

}  // namespace komet
