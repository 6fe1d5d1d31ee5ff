// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "sim/simulation.h"

namespace komet {

// How a spreadsheet of the user's language reads CSV.
struct CsvDialect {
  char fieldSeparator = ',';
  char decimalSeparator = '.';
};

inline constexpr CsvDialect kGermanCsv{';', ','};
inline constexpr CsvDialect kEnglishCsv{',', '.'};

// The flight series for programs: a header of the quantities' keys, one row
// per sample up to the end marker, "%.17g".
std::string SeriesCsv(const Simulation& simulation);

// The flight series for a spreadsheet: UTF-8 with a byte-order mark, a header
// with units ("Zeit [s];Schub [N];..."), one row per sample, CR LF.
std::string SpreadsheetCsv(const Simulation& simulation, CsvDialect dialect);

}  // namespace komet
