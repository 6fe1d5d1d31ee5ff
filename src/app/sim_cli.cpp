#include "app/sim_cli.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <ostream>
#include <thread>

#include "app/cli_output.h"
#include "app/document.h"
#include "app/flight_export.h"
#include "app/flight_summary.h"
#include "app/json_text.h"
#include "app/motor_cli.h"
#include "app/motor_guide.h"
#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "dialogs/options_record.h"
#include "model/rocket_file.h"
#include "motors/eng_import.h"
#include "motors/motor_database.h"
#include "plot/flight_plot.h"
#include "sim/flight_analysis.h"
#include "sim/quantities.h"

namespace komet {
namespace {

constexpr const char* kUsage =
    "Aufruf: komet-sim RAKETE.kmw [--db DATEI.kdb] [--options KOMET.OPT] [--raw]\n"
    "                 [--csv DATEI|-] [--json DATEI|-] [--png DATEI [--size BxH]] [--svg DATEI]\n"
    "                 [--pdf DATEI] [--curves hvaSF,brenn] [--csv-locale de|en] [--gravity X]\n"
    "                 [--air-density X]"
    " [--rail-length X] [--rail-friction X] [--period X]\n"
    "                 [--summary-line] [--locale de|en]\n"
    "        komet-sim import MOTORDATEIEN-ODER-ORDNER... -o DATEI.kdb [--append]\n"
    "        komet-sim motors [--db DATEI.kdb] [--csv DATEI|-] [--json DATEI|-]\n"
    "        komet-sim guide RAKETE.kmw [--db DATEI.kdb] [--class C..E] [--maker NAME] [--diameter MM]\n"
    "                        [--csv DATEI|-] [--json DATEI|-]\n";

// A fault of the command line or its files: message on stderr, exit 2.
struct UsageError {
  std::string message;
};

std::string G17(double v) {
  return Format('.', "%.17g", v);
}

std::optional<double> StrictNumber(const std::string& text) {
  double v = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

struct SimArgs {
  std::filesystem::path rocket;
  std::optional<std::filesystem::path> db, options, csv, json;
  std::optional<CsvDialect> csvLocale;  // spreadsheet form of --csv
  bool raw = false;
  bool summaryLine = false;              // the main window's summary line instead of the summary
  std::optional<char> decimalSeparator;  // --locale; else the user's
  std::vector<ExportRequest> exports;
  PlotSwitches switches;
  std::map<std::string, double> overrides;  // option name -> value
};

const std::vector<std::string> kOverrideNames = {"--gravity", "--air-density", "--rail-length",
                                                 "--rail-friction", "--period"};

void ParseSize(const std::string& text, SimArgs& a) {
  int w = 0, h = 0;
  const auto x = text.find('x');
  auto num = [](std::string_view s, int& v) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size() && v > 0 && v <= 20000;
  };
  if (x == std::string::npos || !num(std::string_view(text).substr(0, x), w) ||
      !num(std::string_view(text).substr(x + 1), h))
    throw UsageError{"--size: \"" + text + "\" ist keine Größe wie 639x351"};
  for (ExportRequest& e : a.exports) e.width = w, e.height = h;
}

char ParseLocale(const std::string& text) {
  if (text != "de" && text != "en") throw UsageError{"--locale: \"" + text + "\" ist weder de noch en"};
  return text == "de" ? ',' : '.';
}

SimArgs ParseSimArgs(const std::vector<std::string>& args) {
  SimArgs a;
  std::optional<std::string> size;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError{arg + ": Wert fehlt"};
      return args[++i];
    };
    if (arg == "--raw")
      a.raw = true;
    else if (arg == "--summary-line")
      a.summaryLine = true;
    else if (arg == "--locale")
      a.decimalSeparator = ParseLocale(value());
    else if (arg == "--db")
      a.db = value();
    else if (arg == "--options")
      a.options = value();
    else if (arg == "--csv")
      a.csv = value();
    else if (arg == "--json")
      a.json = value();
    else if (arg == "--png")
      a.exports.push_back({ExportRequest::Kind::Png, value()});
    else if (arg == "--svg")
      a.exports.push_back({ExportRequest::Kind::Svg, value()});
    else if (arg == "--pdf")
      a.exports.push_back({ExportRequest::Kind::Pdf, value()});
    else if (arg == "--size")
      size = value();
    else if (arg == "--csv-locale") {
      const std::string& text = value();
      if (text != "de" && text != "en")
        throw UsageError{"--csv-locale: \"" + text + "\" ist weder de noch en"};
      a.csvLocale = text == "de" ? kGermanCsv : kEnglishCsv;
    } else if (arg == "--curves") {
      const std::string& text = value();
      const auto parsed = ParseCurves(text);
      if (!parsed) throw UsageError{"--curves: \"" + text + "\" ist unbekannt (Buchstaben aus hvaSF, brenn)"};
      a.switches = *parsed;
    } else if (std::find(kOverrideNames.begin(), kOverrideNames.end(), arg) != kOverrideNames.end()) {
      const std::string& text = value();
      const auto v = StrictNumber(text);
      if (!v) throw UsageError{arg + ": \"" + text + "\" ist keine Zahl"};
      a.overrides[arg] = *v;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      throw UsageError{"unbekannte Option " + arg};
    } else if (a.rocket.empty()) {
      a.rocket = arg;
    } else {
      throw UsageError{"nur eine Raketendatei, nicht auch \"" + arg + "\""};
    }
  }
  if (a.rocket.empty()) throw UsageError{"keine Raketendatei angegeben"};
  if (size) ParseSize(*size, a);
  return a;
}

FixedConstants Constants(const SimArgs& a, const SimCliEnvironment& env) {
  FixedConstants c;
  std::optional<OptionsRecord> options;
  if (a.options) {
    options = ReadOptionsFile(*a.options);
    if (!options) throw UsageError{a.options->string() + ": keine gültige Optionsdatei (KOMET.OPT)"};
  } else if (!env.optionsFile.empty()) {
    options = ReadOptionsFile(env.optionsFile);
  }
  if (options) {
    c.calcPeriod = options->calcPeriod, c.gravity = options->gravity, c.airDensity = options->airDensity;
    c.railLength = options->railLength, c.railFriction = options->railFriction;
  }
  for (const auto& [name, v] : a.overrides) {
    if (name == "--gravity") c.gravity = v;
    if (name == "--air-density") c.airDensity = v;
    if (name == "--rail-length") c.railLength = v;
    if (name == "--rail-friction") c.railFriction = v;
    if (name == "--period") c.calcPeriod = ClampCalcPeriod(v);
  }
  return c;
}

std::filesystem::path Database(const SimArgs& a, const SimCliEnvironment& env) {
  if (a.db) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*a.db, ec))
      throw UsageError{a.db->string() + ": Datei nicht gefunden"};
    return *a.db;
  }
  const std::string configured = env.configuredDatabase ? TrimDatabasePath(env.configuredDatabase()) : "";
  return configured.empty() ? env.bundledDatabase : std::filesystem::path(configured);
}

// Prompts of a program without a user: errors are collected, nothing is asked.
struct CliPrompts : Prompts {
  std::ostream& err;
  std::vector<std::string> errors;
  explicit CliPrompts(std::ostream& e) : err(e) {}
  SaveAnswer AskSave(const std::string&) override { return SaveAnswer::No; }
  bool AskOverwrite(const std::filesystem::path&) override { return false; }
  std::optional<std::filesystem::path> ChooseOpenFile() override { return std::nullopt; }
  std::optional<std::filesystem::path> ChooseSaveFile() override { return std::nullopt; }
  void ShowError(const std::string& m) override { errors.push_back(m); }
  void ShowWarning(const std::string& m) override { err << "komet-sim: Warnung: " << m << '\n'; }
};

struct NoViews : DocumentViews {
  std::string notes;
  bool ShowStageDialog() override { return false; }
  void SetNotes(const std::string& n) override { notes = n; }
  void RocketReset() override {}
};

void LoadRaw(Document& doc, const std::filesystem::path& path) {
  RocketRecord empty = doc.rocket();
  RocketFileContent content;
  try {
    content = ReadRocketFile(path, empty);
  } catch (const KometError& e) {
    throw UsageError{path.string() + ": " + e.what()};
  }
  if (!content.isRocket()) throw UsageError{path.string() + ": keine Komet-Raketendatei"};
  doc.TakeStoredRocket(content.record);
}

void WriteOutput(const std::filesystem::path& path, const std::string& text, std::ostream& out) {
  try {
    WriteCliOutput(path, text, out);
  } catch (const KometError& e) {
    throw UsageError{e.what()};
  }
}

// The rocket as the desktop program opens it, or (--raw) as stored.
bool LoadDocument(Document& doc, const SimArgs& a, std::ostream& err) {
  if (a.raw) {
    LoadRaw(doc, a.rocket);
    return true;
  }
  doc.ReloadMotorDatabase();
  CliPrompts prompts(err);
  NoViews views;
  const bool loaded = doc.LoadRocketFile(a.rocket, prompts, views);
  for (const std::string& m : prompts.errors)
    err << "komet-sim: " << (loaded ? "Warnung: " : "") << m << '\n';
  return loaded;
}

// komet-sim guide: the motor guide's table for a rocket.
struct GuideArgs {
  SimArgs sim;
  GuideFilter filter;
  bool diameterGiven = false;
  std::optional<std::filesystem::path> csv, json;
};

GuideArgs ParseGuideArgs(const std::vector<std::string>& args) {
  GuideArgs g;
  std::vector<std::string> rest;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError{arg + ": Wert fehlt"};
      return args[++i];
    };
    try {
      if (arg == "--class") {
        ParseClassRange(value(), g.filter);
      } else if (arg == "--maker") {
        g.filter.maker = value();
      } else if (arg == "--diameter") {
        const std::string& text = value();
        const std::optional<double> mm = StrictNumber(text);
        if (!mm || *mm < 0) throw UsageError{"--diameter: \"" + text + "\" ist kein Durchmesser in mm"};
        g.filter.maxDiameterMm = *mm;
        g.diameterGiven = true;
      } else if (arg == "--csv") {
        g.csv = value();
      } else if (arg == "--json") {
        g.json = value();
      } else if (arg == "--db" || arg == "--options") {
        rest.push_back(arg);
        rest.push_back(value());
      } else {
        rest.push_back(arg);
      }
    } catch (const KometError& e) {
      throw UsageError{arg + ": " + e.what()};
    }
  }
  g.sim = ParseSimArgs(rest);
  return g;
}

std::string GuideTable(std::span<const GuideRow> rows, char sep) {
  std::string text = Format(sep, "%-26s %8s %6s %7s %7s %5s %6s %5s %7s  %s\n", "Motor", "Gipfel", "bei",
                            "v max", "Schiene", "S/G", "empf.", "beste", "Ausstoß", "Warnungen");
  for (const GuideRow& r : rows) {
    if (r.noFlight) {
      text += Format(sep, "%-26s %8s\n", r.motor, "kein Flug");
      continue;
    }
    text += Format(sep, "%-26s %6.1f m %4.1f s %7.1f %7.1f %5.1f %4.1f s", r.motor, r.apogee, r.apogeeTime,
                   r.maxVelocity, r.railExitVelocity.value_or(0.0), r.thrustToWeight, r.recommendedDelay);
    text += r.bestDelay ? Format(sep, " %3d s", *r.bestDelay) : std::string("     -");
    text += r.ejectionVelocity ? Format(sep, " %7.1f", *r.ejectionVelocity) : std::string("       -");
    for (std::size_t k = 0; k < r.warnings.size(); ++k) text += (k == 0 ? "  " : "; ") + r.warnings[k];
    text += "\n";
  }
  return text;
}

int Guide(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
          std::ostream& err) {
  GuideArgs g = ParseGuideArgs(args);
  const FixedConstants constants = Constants(g.sim, env);
  const std::filesystem::path db = Database(g.sim, env);
  Document doc(constants, [&] { return db; });
  if (!LoadDocument(doc, g.sim, err)) return 2;
  if (!GuideCanRun(doc.rocket()))
    throw UsageError{
        "die Hauptstufe hat keinen Motor im ersten Platz: der Motorberater hat nichts zu ersetzen"};
  if (!g.diameterGiven) g.filter.maxDiameterMm = doc.rocket().stages[0].diameter * 1000.0;
  std::vector<MotorRecord> motors;
  std::vector<std::int32_t> recordNos;
  try {
    GuideCandidates(db, g.filter, motors, recordNos);
  } catch (const KometError& e) {
    throw UsageError{db.string() + ": " + e.what()};
  }
  if (motors.empty()) throw UsageError{db.string() + ": keine Motoren, die zu den Filtern passen"};
  MotorGuide guide(doc.rocket(), constants, std::move(motors), std::move(recordNos), env.decimalSeparator);
  const std::atomic<bool> never{false};
  guide.Run(std::max(1u, std::thread::hardware_concurrency()), never);
  const std::vector<GuideRow> rows = guide.Rows(g.filter.matchingDelayOnly);
  if (g.csv) WriteOutput(*g.csv, GuideCsv(rows, env.decimalSeparator == ',' ? kGermanCsv : kEnglishCsv), out);
  if (g.json) WriteOutput(*g.json, GuideJson(rows), out);
  if (!g.csv && !g.json) out << GuideTable(rows, env.decimalSeparator);
  return 0;
}

int Simulate(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
             std::ostream& err) {
  const SimArgs a = ParseSimArgs(args);
  const FixedConstants constants = Constants(a, env);
  const std::filesystem::path db = Database(a, env);
  Document doc(constants, [&] { return db; });
  if (!LoadDocument(doc, a, err)) return 2;
  if (!a.exports.empty() && env.exporter == nullptr)
    throw UsageError{"Bilder und Berichte gibt es hier nicht"};
  if (a.csvLocale && !a.csv) throw UsageError{"--csv-locale gehört zu --csv"};
  if (a.csv)
    WriteOutput(*a.csv,
                a.csvLocale ? SpreadsheetCsv(doc.simulation(), *a.csvLocale) : SeriesCsv(doc.simulation()),
                out);
  if (a.json) WriteOutput(*a.json, ResultsJson(doc.simulation(), doc.rocket()), out);
  const char separator = a.decimalSeparator.value_or(env.decimalSeparator);
  for (ExportRequest e : a.exports) {
    e.decimalSeparator = separator;
    try {
      env.exporter->Export(e, doc.simulation(), doc.rocket(), a.switches);
    } catch (const KometError& x) {
      throw UsageError{e.path.string() + ": " + x.what()};
    }
  }
  if (a.summaryLine)
    out << SummaryLine(doc.simulation().results(), separator) << '\n';
  else if (!a.csv && !a.json && a.exports.empty())
    out << FlightSummary(doc.simulation(), doc.rocket(), separator);
  return 0;
}

std::string PointJson(const FlightPoint& p) {
  return "{\"time\": " + JsonNumber(p.time) + ", \"height\": " + JsonNumber(p.height) +
         ", \"velocity\": " + JsonNumber(p.velocity) + ", \"inFlight\": " + (p.inFlight ? "true" : "false") +
         "}";
}

std::string DelaysJson(const FlightAnalysis& a) {
  std::string json = "[";
  for (const DelayCheck& c : a.delays) {
    json += json.size() > 1 ? ",\n    " : "\n    ";
    json += "{\"delay\": " + std::to_string(c.delay) + ", \"ejection\": " + PointJson(c.ejection) +
            ", \"fromApogee\": " + JsonNumber(c.fromApogee) + ", \"tolerance\": " + JsonNumber(c.tolerance) +
            ", \"early\": " + PointJson(c.early) + ", \"late\": " + PointJson(c.late) +
            ", \"best\": " + (c.best ? "true" : "false") +
            ", \"tooFast\": " + (c.tooFast ? "true" : "false") + "}";
  }
  return json + (a.delays.empty() ? "]" : "\n  ]");
}

std::string WarningsJson(const FlightAnalysis& a) {
  static constexpr const char* kKinds[] = {"railExitSpeed", "thrustToWeight", "ignitionAfterApogee",
                                           "separationNotInFlight"};
  std::string json = "[";
  for (const FlightWarning& w : a.warnings) {
    json += json.size() > 1 ? ",\n    " : "\n    ";
    json += std::string("{\"kind\": \"") + kKinds[static_cast<int>(w.kind)] +
            "\", \"stage\": " + std::to_string(w.stage) + ", \"figure\": " + JsonNumber(w.figure) +
            ", \"text\": " + JsonString(w.text) + "}";
  }
  return json + (a.warnings.empty() ? "]" : "\n  ]");
}

}  // namespace

std::string SeriesCsv(const Simulation& simulation) {
  std::string csv;
  for (const SeriesQuantity& q : kSeriesQuantities) {
    if (!csv.empty()) csv += ',';
    csv += q.key;
  }
  csv += '\n';
  const auto samples = simulation.samples();
  for (std::size_t n = 1; n <= simulation.lastSample() && n < samples.size(); ++n) {
    for (std::size_t k = 0; k < kSeriesQuantities.size(); ++k) {
      if (k) csv += ',';
      csv += G17(samples[n].*kSeriesQuantities[k].field);
    }
    csv += '\n';
  }
  return csv;
}

std::string ResultsJson(const Simulation& simulation, const RocketRecord& rocket) {
  const FlightResults& r = simulation.results();
  const FlightAnalysis analysis = AnalyseFlight(simulation, rocket, '.');
  std::string json = "{\n";
  json += std::string("  \"resultsValid\": ") + (r.resultsValid ? "true" : "false") + ",\n";
  json += std::string("  \"noFlight\": ") + (r.noFlight ? "true" : "false") + ",\n";
  for (const ResultQuantity& q : kResultQuantities)
    json += "  \"" + std::string(q.key) + "\": " + JsonNumber(r.*q.field) + ",\n";
  json += "  \"recommendedDelay\": " + JsonNumber(r.recommendedDelay()) + ",\n";
  json += "  \"sampleCount\": " + std::to_string(simulation.lastSample()) + ",\n";
  json += "  \"delays\": " + DelaysJson(analysis) + ",\n";
  json += "  \"warnings\": " + WarningsJson(analysis) + "\n}\n";
  return json;
}

int RunKometSim(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
                std::ostream& err) {
  try {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
      (args.empty() ? err : out) << kUsage;
      return args.empty() ? 2 : 0;
    }
    if (args[0] == "guide") return Guide(args, env, out, err);
    SimArgs none;
    if (const std::optional<int> status = RunMotorCommand(args, Database(none, env), out, err))
      return *status;
    return Simulate(args, env, out, err);
  } catch (const UsageError& e) {
    err << "komet-sim: " << e.message << '\n';
    return 2;
  }
}

}  // namespace komet
