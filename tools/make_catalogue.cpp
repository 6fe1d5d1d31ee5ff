// SPDX-License-Identifier: GPL-3.0-or-later
// komet-make-catalogue: the bundled motor catalogue.
//
//   komet-make-catalogue MOTOR_DIR SOURCE_DIR
//       takes the published motor files below MOTOR_DIR (thrustcurve/ with
//       its metadata, manual/, rse/) and writes the facts of each motor to
//       SOURCE_DIR/catalogue/motoren.txt and the database motoren.kdb;
//   komet-make-catalogue --rebuild SOURCE_DIR
//       rebuilds motoren.kdb from motoren.txt alone (a fresh clone).
//
// One entry per motor of the metadata. Every data file of a motor is checked
// (masses possible, specific impulse in its type's band, curve impulse and
// masses within 5 % of the published summary): the first file that passes
// gives curve and masses; where only the summary's masses pass, they are
// taken, unless the file's give a specific impulse nearer the propellant's
// usual one; where nothing passes, the motor stays, marked as doubtful. Motors
// of one maker with identical data become one. Every correction, mark and
// merge is listed in catalogue/pruefung.txt. Names are "COMMON [MAKER]"
// (see NameMotors).

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/komet_error.h"
#include "common/text.h"
#include "common/win1252.h"
#include "motors/catalogue.h"
#include "motors/motor_check.h"
#include "motors/motor_database.h"
#include "motors/motor_details.h"
#include "motors/motor_import.h"
#include "motors/motor_naming.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

json ReadJson(const fs::path& path) {
  std::ifstream in(path);
  if (!in) throw komet::KometError(komet::KometError::Kind::Io, path.string() + ": Datei nicht gefunden");
  return json::parse(in);
}

struct DataFile {
  fs::path path;
  int rank = 0;  // lower is preferred
};

int Rank(const std::string& source, const fs::path& path) {
  const int bySource = source == "cert" ? 0 : source == "mfr" ? 2 : 4;
  return bySource + (path.extension() == ".eng" ? 0 : 1);
}

// Data files by motor id, best first.
std::map<std::string, std::vector<DataFile>> FilesByMotor(const fs::path& motorDir, const json& simfiles) {
  std::map<std::string, std::vector<DataFile>> byMotor;
  for (const fs::path& top : {motorDir / "thrustcurve", motorDir / "rse"}) {
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
      if (!entry.is_regular_file() || !komet::IsMotorFile(entry.path())) continue;
      const std::string stem = entry.path().stem().string();
      const std::string id = stem.substr(stem.rfind('_') + 1);
      const auto it = simfiles.find(id);
      if (it == simfiles.end()) continue;
      byMotor[(*it)["motorId"]].push_back({entry.path(), Rank((*it)["source"], entry.path())});
    }
  }
  for (auto& [id, files] : byMotor)
    std::sort(files.begin(), files.end(), [](const DataFile& a, const DataFile& b) {
      return a.rank != b.rank ? a.rank < b.rank : a.path < b.path;
    });
  return byMotor;
}

komet::MotorDetails::Type TypeOf(const std::string& type) {
  if (type == "SU") return komet::MotorDetails::Type::SingleUse;
  if (type == "reload") return komet::MotorDetails::Type::Reload;
  if (type == "hybrid") return komet::MotorDetails::Type::Hybrid;
  return komet::MotorDetails::Type::Unknown;
}

std::string Text(const json& value) {
  return value.is_string() ? value.get<std::string>() : std::string();
}

// The summary names composites by their brand ("Blue Thunder", "Skidmark").
komet::Propellant PropellantOf(const std::string& name) {
  if (name.empty()) return komet::Propellant::Unknown;
  return komet::AsciiLowered(name) == "black powder" ? komet::Propellant::BlackPowder
                                                     : komet::Propellant::Composite;
}
double Number(const json& value) {
  return value.is_number() ? value.get<double>() : 0.0;
}

std::optional<double> Grams(const json& value) {
  return value.is_number() && value.get<double>() > 0 ? std::optional(value.get<double>() / 1000.0)
                                                      : std::nullopt;
}

// A catalogue motor before it is named.
struct Candidate {
  komet::MotorRecord record;
  komet::MotorIdentity identity;  // Windows-1252
};

// What the check found, for the report: one line a motor.
struct Findings {
  int checked = 0;
  std::vector<std::string> corrected, doubtful, merged, fileMasses;
};

Candidate FromMetadata(komet::MotorRecord record, const json& meta, const fs::path& file,
                       const komet::MotorDataChoice& choice) {
  komet::MotorDetails d = komet::ReadMotorDetails(record).value_or(komet::MotorDetails{});
  d.maker = komet::Utf8ToCp1252(Text(meta["manufacturerAbbrev"]));
  d.designation = komet::Utf8ToCp1252(Text(meta["designation"]));
  d.diameterMm = Number(meta["diameter"]);
  d.lengthMm = Number(meta["length"]);
  d.totalImpulse = Number(meta["totImpulseNs"]);
  d.type = TypeOf(Text(meta["type"]));
  const komet::EngDelays delays = komet::ParseEngDelays(Text(meta["delays"]));
  d.delays = delays.all;
  d.plugged = delays.plugged;
  d.booster = delays.booster;
  d.source = komet::Utf8ToCp1252(file.filename().string());
  const std::string common = komet::Utf8ToCp1252(Text(meta["commonName"]));
  // The summary's common name where it is one ("C6", "1/8A0.3"), else what
  // the designation holds.
  d.commonName = komet::CommonNameOf(common) == common ? common : komet::CommonNameOf(d.designation);
  d.dataCheck = komet::Utf8ToCp1252(choice.doubt);
  record.delays = delays.delays;
  record.propellantMass = choice.propellantKg;
  record.totalMass = choice.totalKg;
  komet::WriteMotorDetails(d, record);
  return {record, {d.commonName, d.designation, d.maker}};
}

// The motor of each data file that gives one, best file first.
std::vector<komet::MotorRecord> ReadFiles(const std::vector<DataFile>& files, std::vector<fs::path>& paths) {
  std::vector<komet::MotorRecord> records;
  for (const DataFile& file : files) {
    komet::MotorImport imported = komet::ImportMotorFile(file.path);
    if (imported.motors.empty()) continue;
    records.push_back(imported.motors.front());
    paths.push_back(file.path);
  }
  return records;
}

std::optional<Candidate> CheckedMotor(const std::vector<DataFile>& files, const json& meta,
                                      Findings& findings) {
  std::vector<fs::path> paths;
  const std::vector<komet::MotorRecord> records = ReadFiles(files, paths);
  if (records.empty()) return std::nullopt;
  const komet::PublishedMotor published{
      Number(meta["totImpulseNs"]) > 0 ? std::optional(Number(meta["totImpulseNs"])) : std::nullopt,
      Grams(meta["propWeightG"]), Grams(meta["totalWeightG"]), TypeOf(Text(meta["type"])),
      PropellantOf(Text(meta["propInfo"]))};
  const komet::MotorDataChoice choice = komet::ChooseMotorData(records, published);
  ++findings.checked;
  Candidate c = FromMetadata(records[choice.file], meta, paths[choice.file], choice);
  const std::string who = Text(meta["designation"]) + " [" + Text(meta["manufacturerAbbrev"]) + "]";
  if (!choice.correction.empty()) findings.corrected.push_back(who + ": " + choice.correction);
  if (!choice.doubt.empty()) findings.doubtful.push_back(who + ": " + choice.doubt);
  if (!choice.fileMasses.empty()) findings.fileMasses.push_back(who + ": " + choice.fileMasses);
  return c;
}

// The German makers' own files, named by their file ("Klima_C6.eng"),
// checked for what needs no summary.
std::vector<Candidate> ManualMotors(const fs::path& motorDir) {
  const std::vector<fs::path> manual{motorDir / "manual"};
  const komet::MotorImport extra = komet::ImportMotorPaths(manual);
  for (const komet::ImportDiagnostic& d : extra.problems) std::fprintf(stderr, "%s\n", d.text().c_str());
  std::vector<Candidate> out;
  for (komet::MotorRecord m : extra.motors) {
    // Their files name the maker by a code ("SF"); the file name says who it is.
    komet::MotorDetails d = komet::ReadMotorDetails(m).value_or(komet::MotorDetails{});
    d.maker = d.source.substr(0, d.source.find('_'));
    d.commonName = komet::CommonNameOf(d.designation);
    d.dataCheck = komet::Utf8ToCp1252(
        komet::CheckMotorMasses(komet::TotalImpulse(m), m.propellantMass, m.totalMass, d.type));
    komet::WriteMotorDetails(d, m);
    out.push_back({m, {d.commonName, d.designation, d.maker}});
  }
  return out;
}

// One maker's motors with identical data (curve, masses, delays) are one
// motor sold under two designations: the first stays and keeps the other
// designation, by which search and import find it. One whose other
// designation does not fit the record stays a motor of its own.
void MergeTwins(std::vector<Candidate>& motors, Findings& findings) {
  std::map<std::pair<std::string, std::uint64_t>, std::size_t> seen;
  std::vector<Candidate> kept;
  for (Candidate& c : motors) {
    const auto key = std::make_pair(komet::MotorNameKey(c.identity.maker), komet::MotorFlightKey(c.record));
    const auto [it, fresh] = seen.emplace(key, kept.size());
    std::optional<komet::MotorDetails> kd =
        fresh ? std::nullopt : komet::ReadMotorDetails(kept[it->second].record);
    const std::string also = komet::SplitDesignation(c.identity.designation).key;
    if (fresh || !kd || !kd->alsoSoldAs.empty() || also.size() > 8) {
      kept.push_back(std::move(c));
      continue;
    }
    kd->alsoSoldAs = also;
    komet::WriteMotorDetails(*kd, kept[it->second].record);
    const komet::MotorIdentity& first = kept[it->second].identity;
    findings.merged.push_back(komet::Cp1252ToUtf8(c.identity.designation + " [" + c.identity.maker +
                                                  "] = " + first.designation + " [" + first.maker + "]"));
  }
  motors = std::move(kept);
}

void WriteReport(const fs::path& sourceDir, const Findings& f, std::size_t motors) {
  std::string text = "# Prüfung des Motorkatalogs: was abwich und was genommen wurde\n";
  text += "# geprüft " + std::to_string(f.checked) + ", korrigiert " + std::to_string(f.corrected.size()) +
          ", fraglich " + std::to_string(f.doubtful.size()) + ", zusammengeführt " +
          std::to_string(f.merged.size()) + ", im Katalog " + std::to_string(motors) + "\n";
  auto section = [&](const char* title, const std::vector<std::string>& lines) {
    text += std::string("\n## ") + title + "\n";
    for (const std::string& line : lines) text += line + "\n";
  };
  section("korrigiert", f.corrected);
  section("Daten fraglich", f.doubtful);
  section("zusammengeführt (gleiche Daten)", f.merged);
  section("Massen der Datei statt der Übersicht (spezifischer Impuls)", f.fileMasses);
  komet::WriteFileAtomically(sourceDir / "catalogue" / "pruefung.txt",
                             std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

int Extract(const fs::path& motorDir, const fs::path& sourceDir) {
  const json meta = ReadJson(motorDir / "thrustcurve" / "motors_metadata.json")["motors"];
  const json simfiles = ReadJson(motorDir / "thrustcurve" / "simfile_to_motor.json");
  std::vector<Candidate> motors;
  Findings findings;
  int refused = 0;
  for (const auto& [id, files] : FilesByMotor(motorDir, simfiles)) {
    if (std::optional<Candidate> c = CheckedMotor(files, meta[id], findings)) {
      motors.push_back(std::move(*c));
    } else {
      std::fprintf(stderr, "kein lesbarer Datensatz: %s\n", files.front().path.c_str());
      ++refused;
    }
  }
  MergeTwins(motors, findings);
  std::vector<komet::MotorIdentity> identities;
  for (const Candidate& c : motors) identities.push_back(c.identity);
  const std::vector<std::string> names = komet::NameMotors(identities);
  std::vector<komet::MotorRecord> records;
  std::set<std::string> taken;
  for (std::size_t i = 0; i < motors.size(); ++i) {
    motors[i].record.name = komet::ShortString<50>(names[i]);  // no bytes of the file's name left behind it
    records.push_back(motors[i].record);
    taken.insert(komet::MotorNameKey(names[i]));
  }
  // The makers' own files only where the catalogue does not have the motor.
  for (Candidate& c : ManualMotors(motorDir)) {
    const std::string name = komet::CatalogueName(c.identity.common, c.identity.maker);
    if (!taken.insert(komet::MotorNameKey(name)).second) continue;
    ++findings.checked;
    const std::string doubt = komet::ReadMotorDetails(c.record)->dataCheck;
    if (!doubt.empty()) findings.doubtful.push_back(komet::Cp1252ToUtf8(name + ": " + doubt));
    c.record.name = komet::ShortString<50>(name);
    records.push_back(c.record);
  }
  std::stable_sort(records.begin(), records.end(),
                   [](const komet::MotorRecord& a, const komet::MotorRecord& b) {
                     return komet::CompareMotorNames(a.name.view(), b.name.view()) < 0;
                   });
  komet::WriteCatalogue(sourceDir, records);
  WriteReport(sourceDir, findings, records.size());
  std::printf(
      "%zu Motoren nach %s geschrieben, %d ohne lesbare Daten; geprüft %d, korrigiert %zu, fraglich %zu, "
      "zusammengeführt %zu\n",
      records.size(), (sourceDir / komet::kCatalogueDatabase).c_str(), refused, findings.checked,
      findings.corrected.size(), findings.doubtful.size(), findings.merged.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::string(argv[1]) == "--rebuild") {
      const fs::path sourceDir = argv[2];
      komet::WriteCatalogue(sourceDir, komet::BuildCatalogue(sourceDir));
      return 0;
    }
    if (argc == 3) return Extract(argv[1], argv[2]);
  } catch (const komet::KometError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::fprintf(stderr,
               "Aufruf: komet-make-catalogue MOTORORDNER QUELLVERZEICHNIS\n"
               "        komet-make-catalogue --rebuild QUELLVERZEICHNIS\n");
  return 2;
}
