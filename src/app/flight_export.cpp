// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/flight_export.h"

#include "common/format.h"
#include "sim/quantities.h"

namespace komet {
namespace {

// How a series table is written: for komet-sim's machine readers or for a
// spreadsheet of the user's language.
struct SeriesStyle {
  std::string_view start;
  bool machineHeader;   // the quantities' keys, else German names with units
  std::size_t columns;  // the first ones of the quantities
  CsvDialect dialect;
  const char* timeFormat;
  const char* valueFormat;
  std::string_view lineEnd;
};

std::string HeaderCell(const SeriesQuantity& q, bool machine) {
  if (machine) return std::string(q.key);
  return std::string(q.german) + " [" + std::string(q.unit) + "]";
}

std::string SeriesTable(const Simulation& simulation, const SeriesStyle& style) {
  std::string csv(style.start);
  for (std::size_t k = 0; k < style.columns; ++k) {
    if (k) csv += style.dialect.fieldSeparator;
    csv += HeaderCell(kSeriesQuantities[k], style.machineHeader);
  }
  csv += style.lineEnd;
  const auto samples = simulation.samples();
  for (std::size_t n = 1; n <= simulation.lastSample() && n < samples.size(); ++n) {
    for (std::size_t k = 0; k < style.columns; ++k) {
      if (k) csv += style.dialect.fieldSeparator;
      csv += Format(style.dialect.decimalSeparator, k == 0 ? style.timeFormat : style.valueFormat,
                    samples[n].*kSeriesQuantities[k].field);
    }
    csv += style.lineEnd;
  }
  return csv;
}

}  // namespace

std::string SeriesCsv(const Simulation& simulation) {
  return SeriesTable(simulation, {"", true, kSeriesQuantities.size(), kEnglishCsv, "%.17g", "%.17g", "\n"});
}

std::string SpreadsheetCsv(const Simulation& simulation, CsvDialect dialect) {
  // The spreadsheet shows what the plot shows; the propellant column is for komet-sim's machine CSV.
  return SeriesTable(simulation, {"\xEF\xBB\xBF", false, 6, dialect, "%.3f", "%.10g", "\r\n"});
}

}  // namespace komet
