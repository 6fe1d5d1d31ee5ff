#include "app/flight_export.h"

#include "common/format.h"
#include "sim/quantities.h"

namespace komet {
namespace {

// The spreadsheet shows what the plot shows; the propellant column is for komet-sim's raw CSV.
constexpr std::size_t kSpreadsheetColumns = 6;

}  // namespace

std::string SpreadsheetCsv(const Simulation& simulation, CsvDialect dialect) {
  std::string csv = "\xEF\xBB\xBF";
  for (std::size_t k = 0; k < kSpreadsheetColumns; ++k) {
    if (k) csv += dialect.fieldSeparator;
    const SeriesQuantity& q = kSeriesQuantities[k];
    csv += q.german;
    csv += " [";
    csv += q.unit;
    csv += ']';
  }
  csv += "\r\n";
  const auto samples = simulation.samples();
  for (std::size_t n = 1; n <= simulation.lastSample() && n < samples.size(); ++n) {
    for (std::size_t k = 0; k < kSpreadsheetColumns; ++k) {
      if (k) csv += dialect.fieldSeparator;
      csv +=
          Format(dialect.decimalSeparator, k == 0 ? "%.3f" : "%.10g", samples[n].*kSeriesQuantities[k].field);
    }
    csv += "\r\n";
  }
  return csv;
}

}  // namespace komet
