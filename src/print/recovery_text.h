// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/recovery_figures.h"

// What the recovery did, in German words: one text for the evaluation
// window, komet-sim's summary and the printed report.
namespace komet {

// One figure with its label ("Öffnung:").
struct RecoveryRow {
  std::string_view label;
  std::string value;
};

// "Fallschirm 300 mm" or "Band 1000 × 50 mm".
std::string RecoveryDevice(const Recovery& recovery, char decimalSeparator);

// The device and when it opens, then opening, opening shock, descent rate,
// landing speed, flight time and drift (stated as the estimate it is).
// Figures a flight did not reach (no opening, no landing) say so.
std::vector<RecoveryRow> RecoveryRows(const RecoveryFigures& figures, char decimalSeparator);

// The report's line: device, opening, descent, landing and drift.
std::string RecoveryReportLine(const RecoveryFigures& figures, char decimalSeparator);

}  // namespace komet
