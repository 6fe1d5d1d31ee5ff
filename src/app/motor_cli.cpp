// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/motor_cli.h"

#include <cmath>
#include <ostream>

#include "app/cli_options.h"
#include "app/cli_output.h"
#include "app/json_text.h"
#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/text.h"
#include "common/win1252.h"
#include "motors/eng_import.h"
#include "motors/motor_database.h"
#include "motors/motor_details.h"
#include "motors/motor_facts.h"
#include "motors/motor_import.h"
#include "motors/motor_search.h"

namespace komet {
namespace {

struct ImportArgs {
  std::vector<std::filesystem::path> inputs;
  std::optional<std::filesystem::path> output;
  bool append = false;
};

const CliOption<ImportArgs> kImportOptions[] = {
    {"-o", true, [](ImportArgs& a, const std::string& v) { a.output = v; }},
    {"--append", false, [](ImportArgs& a, const std::string&) { a.append = true; }},
};

void TakeInput(ImportArgs& a, const std::string& arg) {
  if (!arg.empty() && arg[0] == '-') throw UsageError{"unbekannte Option " + arg};
  a.inputs.push_back(arg);
}

struct MotorsArgs {
  std::filesystem::path database;
  std::optional<std::filesystem::path> csv, json;
  std::optional<std::string> search;
};

const CliOption<MotorsArgs> kMotorsOptions[] = {
    {"--db", true, [](MotorsArgs& a, const std::string& v) { a.database = v; }},
    {"--csv", true, [](MotorsArgs& a, const std::string& v) { a.csv = v; }},
    {"--json", true, [](MotorsArgs& a, const std::string& v) { a.json = v; }},
    {"--search", true, [](MotorsArgs& a, const std::string& v) { a.search = v; }},
};

void RefuseOption(MotorsArgs&, const std::string& arg) {
  throw UsageError{"unbekannte Option " + arg};
}

std::string CsvText(std::string_view utf8) {
  if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8);
  return CsvQuoted(utf8);
}

std::vector<MotorRecord> ReadDatabase(const std::filesystem::path& database) {
  std::vector<MotorRecord> motors;
  for (const MotorListEntry& e : ReadMotorList(database)) {
    MotorRecord m;
    if (ReadMotorRecord(database, e.recordNo, m)) motors.push_back(m);
  }
  return motors;
}

int Import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ImportArgs a;
  ParseCliOptions<ImportArgs>(std::span(args).subspan(1), kImportOptions, a, TakeInput);
  const auto& inputs = a.inputs;
  const auto& output = a.output;
  const bool append = a.append;
  if (inputs.empty() || !output)
    throw UsageError{args[0] + " braucht Motordateien oder Ordner und -o DATEI.kdb"};
  std::error_code ec;
  if (append && std::filesystem::exists(*output, ec) && ReadMotorList(*output).empty() &&
      std::filesystem::file_size(*output, ec) > 0)
    throw UsageError{output->string() + ": keine Motordatenbank; zum Anhängen eine .kdb-Datei angeben"};

  const MotorImport imported = ImportMotorPaths(inputs);
  for (const ImportDiagnostic& d : imported.problems) err << d.text() << '\n';
  if (imported.motors.empty()) {
    err << "komet-sim: kein Motor importiert; " << output->string() << " bleibt unverändert\n";
    return 2;
  }
  for (const MotorRecord& m : imported.motors)
    out << Format('.', "%-32s %9.3f Ns %6.3f s %9.3f N", Cp1252ToUtf8(m.name.view()), TotalImpulse(m),
                  m.burnTime, m.maxThrust)
        << '\n';
  const MergedDatabase merged =
      MergeMotors(append ? ReadDatabase(*output) : std::vector<MotorRecord>{}, imported.motors);
  for (const std::string& twin : merged.twins) out << "schon vorhanden: " << twin << '\n';
  for (const std::string& own : merged.ownVersions) out << "eigene Fassung: " << own << '\n';
  for (const std::string& twin : merged.passedOver) out << "doppelt: " << twin << '\n';
  try {
    WriteMotorDatabase(*output, merged.motors);
  } catch (const KometError& e) {
    throw UsageError{output->string() + ": " + e.what()};
  }
  out << ImportSummary(merged, imported) << '\n';
  return imported.hasErrors() ? 1 : 0;
}

std::string OrNull(double value, bool known) {
  return known ? JsonNumber(value) : "null";
}

std::string MotorJson(const MotorListEntry& e, const MotorFacts& f) {
  auto text = [&](const std::string& s) { return f.hasDetails ? JsonString(s) : std::string("null"); };
  return "  {\"name\": " + JsonString(f.name) + ", \"recordNo\": " + std::to_string(e.recordNo) +
         ", \"maker\": " + text(f.maker) + ", \"designation\": " + text(f.designation) +
         ", \"impulseClass\": " + JsonString(f.impulseClass) +
         ", \"diameter\": " + OrNull(f.diameterMm, f.hasDetails) +
         ", \"length\": " + OrNull(f.lengthMm, f.hasDetails) +
         ", \"totalImpulse\": " + JsonNumber(f.totalImpulse) + ", \"publishedImpulse\": " +
         OrNull(f.publishedImpulse.value_or(0.0), f.publishedImpulse.has_value()) +
         ", \"averageThrust\": " + JsonNumber(f.averageThrust) +
         ", \"peakThrust\": " + JsonNumber(f.peakThrust) + ", \"burnTime\": " + JsonNumber(f.burnTime) +
         ", \"totalMass\": " + JsonNumber(f.totalMass) +
         ", \"propellantMass\": " + JsonNumber(f.propellantMass) + ", \"delays\": [" +
         JoinNumbers(f.delays, ", ") + "], \"booster\": " + (f.hasDetails ? JsonBool(f.booster) : "null") +
         ", \"plugged\": " + (f.hasDetails ? JsonBool(f.plugged) : "null") + ", \"type\": " +
         (MotorTypeText(f.type).empty() ? "null" : JsonString(std::string(MotorTypeText(f.type)))) +
         ", \"dataCheck\": " + (f.doubtful() ? JsonString(f.dataCheck) : "null") + "}";
}

std::string MotorCsvLine(const MotorListEntry& e, const MotorFacts& f) {
  auto known = [&](double v) { return f.hasDetails ? JsonNumber(v) : std::string(); };
  auto flag = [&](bool b) { return f.hasDetails ? std::string(b ? "ja" : "nein") : std::string(); };
  return CsvText(f.name) + "," + std::to_string(e.recordNo) + "," + CsvText(f.maker) + "," +
         CsvText(f.designation) + "," + f.impulseClass + "," + known(f.diameterMm) + "," + known(f.lengthMm) +
         "," + JsonNumber(f.totalImpulse) + "," + JsonNumber(f.peakThrust) + "," + JsonNumber(f.burnTime) +
         "," + JsonNumber(f.totalMass) + "," + JsonNumber(f.propellantMass) + "," +
         JoinNumbers(f.delays, "-") + "," + flag(f.plugged) + "," +
         (f.publishedImpulse ? JsonNumber(*f.publishedImpulse) : "") + "," +
         CsvText(std::string(MotorTypeText(f.type))) + "," + flag(f.booster) + "," + CsvText(f.dataCheck) +
         "\n";
}

int Motors(const std::vector<std::string>& args, const std::filesystem::path& defaultDatabase,
           std::ostream& out) {
  MotorsArgs a;
  a.database = defaultDatabase;
  ParseCliOptions<MotorsArgs>(std::span(args).subspan(1), kMotorsOptions, a, RefuseOption);
  // Named references, not a structured binding: clang 14 cannot capture one.
  const auto& database = a.database;
  const auto& csv = a.csv;
  const auto& json = a.json;
  std::error_code ec;
  if (database.empty() || !std::filesystem::is_regular_file(database, ec))
    throw UsageError{(database.empty() ? std::string("Motordatenbank") : database.string()) +
                     ": Datei nicht gefunden"};
  const MotorDatabase db = MotorDatabase::Read(database);
  MotorList list = db.entries();
  SortMotorList(list);
  const MotorQuery query(a.search.value_or(""));
  std::string jsonText = "[\n", csvText =
                                    "name,recordNo,maker,designation,impulseClass,diameter,length,"
                                    "totalImpulse,peakThrust,burnTime,totalMass,"
                                    "propellantMass,delays,plugged,publishedImpulse,type,booster,dataCheck\n";
  std::size_t shown = 0;
  for (const MotorListEntry& e : list) {
    const MotorFacts f = MakeMotorFacts(*db.record(e.recordNo));
    if (!query.Matches(MakeSearchKey(f))) continue;
    jsonText += (shown++ > 0 ? ",\n" : "") + MotorJson(e, f);
    csvText += MotorCsvLine(e, f);
    if (!csv && !json)
      out << Format('.', "%-32s %-4s %5.0f x %-5.0f %9.2f Ns %6.2f s %s", f.name, f.impulseClass,
                    f.diameterMm, f.lengthMm, f.totalImpulse, f.burnTime, DelayCodes(f))
          << (f.doubtful() ? "  Daten fraglich: " + f.dataCheck : std::string()) << '\n';
  }
  if (csv) WriteCliOutput(*csv, csvText, out);
  if (json) WriteCliOutput(*json, jsonText + (shown > 0 ? "\n]\n" : "]\n"), out);
  if (!csv && !json) out << shown << " Motoren in " << database.string() << '\n';
  return 0;
}

}  // namespace

std::optional<int> RunMotorCommand(const std::vector<std::string>& args,
                                   const std::filesystem::path& database, std::ostream& out,
                                   std::ostream& err) {
  if (args.empty() || (args[0] != "import" && args[0] != "import-eng" && args[0] != "motors"))
    return std::nullopt;
  try {
    return args[0] == "motors" ? Motors(args, database, out) : Import(args, out, err);
  } catch (const UsageError& e) {
    err << "komet-sim: " << e.message << '\n';
    return 2;
  } catch (const KometError& e) {
    err << "komet-sim: " << e.what() << '\n';
    return 2;
  }
}

}  // namespace komet
