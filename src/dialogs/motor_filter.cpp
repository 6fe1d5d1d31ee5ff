// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/motor_filter.h"

#include <algorithm>
#include <array>
#include <span>

#include "common/file_io.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "motors/eng_import.h"
#include "motors/motor_details.h"
#include "motors/motor_naming.h"

namespace komet {
namespace {

bool SameMaker(std::string_view a, std::string_view b) {
  return MotorNameKey(a) == MotorNameKey(b);
}

}  // namespace

MotorRow MakeMotorRow(const MotorRecord& m, std::string_view name) {
  MotorRow row;
  row.facts = MakeMotorFacts(m);
  row.facts.name = Cp1252ToUtf8(name);
  row.key = MakeSearchKey(row.facts);
  row.record = m;
  return row;
}

std::vector<MotorRow> ReadMotorRows(const std::filesystem::path& database, const MotorList& list) {
  const MotorDatabase db = MotorDatabase::Read(database);
  std::vector<MotorRow> rows;
  rows.reserve(list.size());
  for (const MotorListEntry& e : list) {
    // The file changed since it was listed: a stranger's figures are worse than none.
    if (const MotorRecord* m = db.record(e)) {
      rows.push_back(MakeMotorRow(*m, e.name));
      continue;
    }
    MotorRow bare;
    bare.facts.name = Cp1252ToUtf8(e.name);
    bare.facts.commonName = bare.facts.name.substr(0, bare.facts.name.find(" ["));
    bare.key = MakeSearchKey(bare.facts);
    rows.push_back(std::move(bare));
  }
  return rows;
}

bool MotorFilterAccepts(const MotorFilter& f, const MotorRow& row) {
  const MotorFacts& m = row.facts;
  const bool openRange = f.classFrom <= 0 && f.classTo >= MotorFilter::kAnyRank;
  if (!openRange && (m.classRank < f.classFrom || m.classRank > f.classTo || m.classRank < 0)) return false;
  if (!f.maker.empty() && !SameMaker(f.maker, m.maker)) return false;
  if (f.diameterMm > 0 && m.diameterMm != f.diameterMm) return false;
  if (FitOf(f.fits, m.diameterMm, m.lengthMm) != MountFit::Fits) return false;
  return f.query.Matches(row.key);
}

std::vector<std::string> MotorMakers(const std::vector<MotorRow>& rows) {
  std::vector<std::string> makers;
  for (const MotorRow& r : rows)
    if (!r.facts.maker.empty()) makers.push_back(r.facts.maker);
  auto less = [](const std::string& a, const std::string& b) { return MotorNameKey(a) < MotorNameKey(b); };
  std::sort(makers.begin(), makers.end(), less);
  makers.erase(std::unique(makers.begin(), makers.end(), SameMaker), makers.end());
  return makers;
}

std::vector<std::string> MotorClasses(const std::vector<MotorRow>& rows) {
  std::vector<std::string> classes;
  for (const MotorRow& r : rows)
    if (r.facts.classRank >= 0) classes.push_back(r.facts.impulseClass);
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
    if (r.facts.diameterMm > 0) diameters.push_back(r.facts.diameterMm);
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
