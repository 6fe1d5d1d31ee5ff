#include "dialogs/motor_filter.h"

#include <algorithm>
#include <array>
#include <span>

#include "common/file_io.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "motors/eng_import.h"
#include "motors/motor_details.h"

namespace komet {
namespace {

char FoldChar(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

// Contains, with `folded` already folded: no allocation per row, so a key
// press over thousands of rows stays cheap.
bool ContainsFolded(std::string_view folded, std::string_view text) {
  const auto it = std::search(folded.begin(), folded.end(), text.begin(), text.end(),
                              [](char a, char b) { return a == FoldChar(b); });
  return it != folded.end() || text.empty();
}

bool SameMaker(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldChar(x) == FoldChar(y); });
}

// The whole database at once: one open and one read for the table.
std::vector<std::uint8_t> ReadDatabaseBytes(const std::filesystem::path& database, const MotorList& list) {
  std::int64_t last = -1;
  for (const MotorListEntry& e : list) last = std::max<std::int64_t>(last, e.recordNo);
  if (last < 0) return {};
  try {
    return ReadFilePrefix(database, static_cast<std::size_t>(last + 1) * MotorRecord::kSize);
  } catch (const KometError&) {
    return {};  // the table then shows the names alone
  }
}

}  // namespace

MotorRow MakeMotorRow(const MotorRecord& m, std::string_view name) {
  MotorRow row;
  row.name = Cp1252ToUtf8(name);
  const std::optional<MotorDetails> d = ReadMotorDetails(m);
  const double curveImpulse = TotalImpulse(m);
  row.totalImpulse = d && d->totalImpulse > 0 ? d->totalImpulse : curveImpulse;
  row.impulseClass = ImpulseClass(row.totalImpulse);
  row.classRank = ImpulseClassRank(row.impulseClass);
  row.averageThrust = m.burnTime > 0 ? curveImpulse / m.burnTime : 0.0;
  row.peakThrust = m.maxThrust;
  row.burnTime = m.burnTime;
  row.liftOffMassG = m.totalMass * 1000.0;
  row.delays = PublishedDelays(m);
  row.searchKey = FoldSearchText(row.name);
  if (d) {
    row.maker = Cp1252ToUtf8(d->maker);
    row.diameterMm = d->diameterMm;
    row.lengthMm = d->lengthMm;
    row.searchKey += '\n' + FoldSearchText(Cp1252ToUtf8(d->designation));
  }
  row.record = m;
  return row;
}

std::vector<MotorRow> ReadMotorRows(const std::filesystem::path& database, const MotorList& list) {
  const std::vector<std::uint8_t> bytes = ReadDatabaseBytes(database, list);
  std::vector<MotorRow> rows;
  rows.reserve(list.size());
  for (const MotorListEntry& e : list) {
    const std::size_t offset = static_cast<std::size_t>(e.recordNo) * MotorRecord::kSize;
    if (e.recordNo >= 0 && offset + MotorRecord::kSize <= bytes.size()) {
      const MotorRecord m = DecodeMotorRecord(std::span(bytes).subspan(offset, MotorRecord::kSize));
      // The file changed since it was listed: a stranger's figures are worse than none.
      if (m.name.view() == e.name) {
        rows.push_back(MakeMotorRow(m, e.name));
        continue;
      }
    }
    MotorRow bare;
    bare.name = Cp1252ToUtf8(e.name);
    bare.searchKey = FoldSearchText(bare.name);
    rows.push_back(std::move(bare));
  }
  return rows;
}

bool MotorFilterAccepts(const MotorFilter& f, const MotorRow& row) {
  const bool openRange = f.classFrom <= 0 && f.classTo >= MotorFilter::kAnyRank;
  if (!openRange && (row.classRank < f.classFrom || row.classRank > f.classTo || row.classRank < 0))
    return false;
  if (!f.maker.empty() && !SameMaker(f.maker, row.maker)) return false;
  if (f.diameterMm > 0 && row.diameterMm != f.diameterMm) return false;
  if (f.fitsInMm > 0 && row.diameterMm > f.fitsInMm) return false;
  return ContainsFolded(row.searchKey, f.text);
}

std::string FoldSearchText(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), FoldChar);
  return folded;
}

std::vector<std::string> MotorMakers(const std::vector<MotorRow>& rows) {
  std::vector<std::string> makers;
  for (const MotorRow& r : rows)
    if (!r.maker.empty()) makers.push_back(r.maker);
  auto less = [](const std::string& a, const std::string& b) {
    return FoldSearchText(a) < FoldSearchText(b);
  };
  std::sort(makers.begin(), makers.end(), less);
  makers.erase(std::unique(makers.begin(), makers.end(), SameMaker), makers.end());
  return makers;
}

std::vector<std::string> MotorClasses(const std::vector<MotorRow>& rows) {
  std::vector<std::string> classes;
  for (const MotorRow& r : rows)
    if (r.classRank >= 0) classes.push_back(r.impulseClass);
  auto byRank = [](const std::string& a, const std::string& b) {
    return ImpulseClassRank(a) < ImpulseClassRank(b);
  };
  std::sort(classes.begin(), classes.end(), byRank);
  classes.erase(std::unique(classes.begin(), classes.end()), classes.end());
  return classes;
}

std::vector<double> MotorDiameters(const std::vector<MotorRow>& rows) {
  std::vector<double> diameters;
  for (const MotorRow& r : rows)
    if (r.diameterMm > 0) diameters.push_back(r.diameterMm);
  std::sort(diameters.begin(), diameters.end());
  diameters.erase(std::unique(diameters.begin(), diameters.end()), diameters.end());
  return diameters;
}

std::string DelaysText(const std::vector<int>& delays) {
  std::string text;
  for (int s : delays) text += (text.empty() ? "" : ", ") + std::to_string(s);
  return text;
}

}  // namespace komet
