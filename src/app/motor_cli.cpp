#include "app/motor_cli.h"

#include <cmath>
#include <ostream>

#include "app/cli_options.h"
#include "app/cli_output.h"
#include "app/json_text.h"
#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "motors/eng_import.h"
#include "motors/motor_database.h"
#include "motors/motor_details.h"
#include "motors/motor_import.h"

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
};

const CliOption<MotorsArgs> kMotorsOptions[] = {
    {"--db", true, [](MotorsArgs& a, const std::string& v) { a.database = v; }},
    {"--csv", true, [](MotorsArgs& a, const std::string& v) { a.csv = v; }},
    {"--json", true, [](MotorsArgs& a, const std::string& v) { a.json = v; }},
};

void RefuseOption(MotorsArgs&, const std::string& arg) {
  throw UsageError{"unbekannte Option " + arg};
}

std::string CsvText(std::string_view utf8) {
  if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8);
  std::string out = "\"";
  for (const char c : utf8) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
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
  for (const std::string& name : merged.replaced) out << "ersetzt: " << Cp1252ToUtf8(name) << '\n';
  try {
    WriteMotorDatabase(*output, merged.motors);
  } catch (const KometError& e) {
    throw UsageError{output->string() + ": " + e.what()};
  }
  out << ImportSummary(merged, imported) << '\n';
  return imported.hasErrors() ? 1 : 0;
}

// One motor of the list with its details; a detail the record lacks is
// nothing.
struct MotorRow {
  const MotorListEntry& entry;
  const MotorRecord& motor;
  std::optional<MotorDetails> details;
};

std::string Optional(const std::optional<MotorDetails>& d, double MotorDetails::*field) {
  return d ? JsonNumber((*d).*field) : "null";
}

std::string MotorJson(const MotorRow& r) {
  const auto& d = r.details;
  auto text = [&](const std::string& s) { return d ? JsonString(Cp1252ToUtf8(s)) : std::string("null"); };
  const double impulse = d ? d->totalImpulse : TotalImpulse(r.motor);
  const std::string delays = JoinNumbers(PublishedDelays(r.motor), ", ");
  const double average = r.motor.burnTime > 0 ? impulse / r.motor.burnTime : 0.0;
  return "  {\"name\": " + JsonString(Cp1252ToUtf8(r.entry.name)) +
         ", \"recordNo\": " + std::to_string(r.entry.recordNo) + ", \"maker\": " + text(d ? d->maker : "") +
         ", \"designation\": " + text(d ? d->designation : "") +
         ", \"impulseClass\": " + JsonString(ImpulseClass(impulse)) +
         ", \"diameter\": " + Optional(d, &MotorDetails::diameterMm) +
         ", \"length\": " + Optional(d, &MotorDetails::lengthMm) +
         ", \"totalImpulse\": " + JsonNumber(impulse) + ", \"averageThrust\": " + JsonNumber(average) +
         ", \"peakThrust\": " + JsonNumber(r.motor.maxThrust) +
         ", \"burnTime\": " + JsonNumber(r.motor.burnTime) +
         ", \"totalMass\": " + JsonNumber(r.motor.totalMass) +
         ", \"propellantMass\": " + JsonNumber(r.motor.propellantMass) + ", \"delays\": [" + delays +
         "], \"plugged\": " + (d ? JsonBool(d->plugged) : "null") + "}";
}

std::string MotorCsvLine(const MotorRow& r) {
  const auto& d = r.details;
  const double impulse = d ? d->totalImpulse : TotalImpulse(r.motor);
  const std::string delays = JoinNumbers(PublishedDelays(r.motor), "-");
  auto number = [](const std::string& s) { return s == "null" ? std::string() : s; };
  return CsvText(Cp1252ToUtf8(r.entry.name)) + "," + std::to_string(r.entry.recordNo) + "," +
         CsvText(Cp1252ToUtf8(d ? d->maker : "")) + "," + CsvText(Cp1252ToUtf8(d ? d->designation : "")) +
         "," + ImpulseClass(impulse) + "," + number(Optional(d, &MotorDetails::diameterMm)) + "," +
         number(Optional(d, &MotorDetails::lengthMm)) + "," + JsonNumber(impulse) + "," +
         JsonNumber(r.motor.maxThrust) + "," + JsonNumber(r.motor.burnTime) + "," +
         JsonNumber(r.motor.totalMass) + "," + JsonNumber(r.motor.propellantMass) + "," + delays + "," +
         (d ? (d->plugged ? "ja" : "nein") : "") + "\n";
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
  MotorList list = ReadMotorList(database);
  SortMotorList(list);
  const std::vector<MotorRecord> all = [&] {
    std::vector<MotorRecord> motors;
    const std::vector<std::uint8_t> bytes = ReadFilePrefix(database, std::filesystem::file_size(database));
    for (const MotorListEntry& e : list)
      motors.push_back(DecodeMotorRecord(std::span(bytes).subspan(
          static_cast<std::size_t>(e.recordNo) * MotorRecord::kSize, MotorRecord::kSize)));
    return motors;
  }();
  std::string jsonText = "[\n", csvText =
                                    "name,recordNo,maker,designation,impulseClass,diameter,length,"
                                    "totalImpulse,peakThrust,burnTime,totalMass,"
                                    "propellantMass,delays,plugged\n";
  for (std::size_t i = 0; i < list.size(); ++i) {
    const MotorRow row{list[i], all[i], ReadMotorDetails(all[i])};
    jsonText += MotorJson(row) + (i + 1 < list.size() ? ",\n" : "\n");
    csvText += MotorCsvLine(row);
    if (!csv && !json) {
      const double impulse = row.details ? row.details->totalImpulse : TotalImpulse(row.motor);
      out << Format('.', "%-32s %-4s %5.0f x %-5.0f %9.2f Ns %6.2f s", Cp1252ToUtf8(row.entry.name),
                    ImpulseClass(impulse), row.details ? row.details->diameterMm : 0.0,
                    row.details ? row.details->lengthMm : 0.0, impulse, row.motor.burnTime)
          << '\n';
    }
  }
  if (csv) WriteCliOutput(*csv, csvText, out);
  if (json) WriteCliOutput(*json, jsonText + "]\n", out);
  if (!csv && !json) out << list.size() << " Motoren in " << database.string() << '\n';
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
