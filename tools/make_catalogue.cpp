// komet-make-catalogue: the bundled motor catalogue.
//
//   komet-make-catalogue MOTOR_DIR SOURCE_DIR
//       takes the published motor files below MOTOR_DIR (thrustcurve/ with
//       its metadata, manual/, rse/) and writes the facts of each motor to
//       SOURCE_DIR/catalogue/motoren.txt and the database motoren.kdb;
//   komet-make-catalogue --rebuild SOURCE_DIR
//       rebuilds motoren.kdb from motoren.txt alone (a fresh clone).
//
// One entry per motor of the metadata: of its data files the certification
// data are preferred, then the maker's, then users'; .eng before .rse. The
// metadata give maker, designation, sizes, total impulse, type and delays;
// the file gives masses and curve. Names are "COMMON [MAKER]", or
// "DESIGNATION [MAKER]" where two motors would share one.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "common/komet_error.h"
#include "common/win1252.h"
#include "motors/catalogue.h"
#include "motors/motor_database.h"
#include "motors/motor_details.h"
#include "motors/motor_import.h"

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
double Number(const json& value) {
  return value.is_number() ? value.get<double>() : 0.0;
}

// A catalogue motor before it is named: the file's record with the metadata's
// details.
struct Candidate {
  komet::MotorRecord record;
  std::string common, designation, maker;  // Windows-1252
};

Candidate FromMetadata(komet::MotorRecord record, const json& meta, const fs::path& file) {
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
  d.source = komet::Utf8ToCp1252(file.filename().string());
  record.delays = delays.delays;
  komet::WriteMotorDetails(d, record);
  return {record, komet::Utf8ToCp1252(Text(meta["commonName"])), d.designation, d.maker};
}

// Names "COMMON [MAKER]"; where several motors share one, each of them takes
// its designation instead, and a number where even that repeats.
void NameMotors(std::vector<Candidate>& motors) {
  auto key = [](std::string name) {
    for (char& c : name)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name;
  };
  std::map<std::string, int> uses;
  for (const Candidate& c : motors) ++uses[key(komet::CatalogueName(c.common, c.maker))];
  std::map<std::string, int> taken;
  for (Candidate& c : motors) {
    std::string name = komet::CatalogueName(c.common, c.maker);
    if (uses[key(name)] > 1) name = komet::CatalogueName(c.designation, c.maker);
    for (int n = 2; taken[key(name)]++ > 0; ++n)
      name = komet::CatalogueName(c.designation + " (" + std::to_string(n) + ")", c.maker);
    c.record.name = komet::ShortString<50>(name);  // no bytes of the file's name left behind it
  }
}

int Extract(const fs::path& motorDir, const fs::path& sourceDir) {
  const json meta = ReadJson(motorDir / "thrustcurve" / "motors_metadata.json")["motors"];
  const json simfiles = ReadJson(motorDir / "thrustcurve" / "simfile_to_motor.json");
  std::vector<Candidate> motors;
  int refused = 0;
  for (const auto& [id, files] : FilesByMotor(motorDir, simfiles)) {
    bool taken = false;
    for (const DataFile& file : files) {
      komet::MotorImport imported = komet::ImportMotorFile(file.path);
      if (imported.motors.empty()) continue;
      motors.push_back(FromMetadata(imported.motors.front(), meta[id], file.path));
      taken = true;
      break;
    }
    if (!taken) {
      std::fprintf(stderr, "kein lesbarer Datensatz: %s\n", files.front().path.c_str());
      ++refused;
    }
  }
  NameMotors(motors);
  // The German makers' own files, where the catalogue does not have the motor.
  std::set<std::string> names;
  for (const Candidate& c : motors) names.insert(c.record.name.str());
  const std::vector<fs::path> manual{motorDir / "manual"};
  const komet::MotorImport extra = komet::ImportMotorPaths(manual);
  for (const komet::ImportDiagnostic& d : extra.problems) std::fprintf(stderr, "%s\n", d.text().c_str());
  std::vector<komet::MotorRecord> records;
  for (const Candidate& c : motors) records.push_back(c.record);
  for (komet::MotorRecord m : extra.motors) {
    // Their files name the maker by a code ("SF"); the file name says who it is.
    komet::MotorDetails d = komet::ReadMotorDetails(m).value_or(komet::MotorDetails{});
    d.maker = d.source.substr(0, d.source.find('_'));
    m.name = komet::ShortString<50>(komet::CatalogueName(d.designation, d.maker));
    komet::WriteMotorDetails(d, m);
    if (names.insert(m.name.str()).second) records.push_back(m);
  }
  std::stable_sort(records.begin(), records.end(),
                   [](const komet::MotorRecord& a, const komet::MotorRecord& b) {
                     return komet::CompareMotorNames(a.name.view(), b.name.view()) < 0;
                   });
  komet::WriteCatalogue(sourceDir, records);
  std::printf("%zu Motoren nach %s geschrieben, %d ohne lesbare Daten\n", records.size(),
              (sourceDir / komet::kCatalogueDatabase).c_str(), refused);
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
