// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sim_cli.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <thread>

#include "app/cli_output.h"
#include "app/document.h"
#include "app/flight_export.h"
#include "app/flight_json.h"
#include "app/flight_log_cli.h"
#include "app/flight_summary.h"
#include "app/motor_cli.h"
#include "app/motor_guide.h"
#include "app/shape_json.h"
#include "app/sim_args.h"
#include "app/sim_help.h"
#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "dialogs/shape_form.h"
#include "model/recovery.h"
#include "model/rocket_file.h"
#include "motors/motor_database.h"
#include "plot/flight_plot.h"
#include "sim/flight_analysis.h"

namespace komet {
namespace {

constexpr const char* kUsage =
    "Aufruf: komet-sim RAKETE.kmw [--db DATEI.kdb] [--options KOMET.OPT] [--raw]\n"
    "                 [--csv DATEI|-] [--json DATEI|-] [--png DATEI [--size BxH]] [--svg DATEI]\n"
    "                 [--pdf DATEI] [--curves hvaSF,brenn] [--csv-locale de|en] [--gravity X]\n"
    "                 [--air-density X]"
    " [--rail-length X] [--rail-friction X] [--period X]\n"
    "                 [--summary-line] [--locale de|en]\n"
    "                 [--recovery parachute:MM[,CW]|streamer:MMxMM[,CW]] [--deploy delay:S|apogee]\n"
    "                 [--wind M/S] [--isa HÖHE,TEMPERATUR] [--no-site]\n"
    "                 [--field-radius M] [--ceiling M]\n"
    "        komet-sim import MOTORDATEIEN-ODER-ORDNER... -o DATEI.kdb [--append]\n"
    "        komet-sim motors [--db DATEI.kdb] [--search TEXT] [--csv DATEI|-] [--json DATEI|-]\n"
    "        komet-sim guide RAKETE.kmw [--db DATEI.kdb] [--class C..E] [--maker NAME] [--diameter MM]\n"
    "                        [--length MM] [--min-apogee M] [--max-apogee M] [--max-speed M/S]\n"
    "                        [--field-radius M] [--ceiling M] [--green] [--csv DATEI|-]\n"
    "                        [--json DATEI|-]\n"
    "        komet-sim flight AUFZEICHNUNG [--units m|ft] [--json DATEI|-]\n"
    "        komet-sim fit RAKETE.kmw --flight AUFZEICHNUNG [--units m|ft] [--json DATEI|-]\n"
    "        komet-sim shape RAKETE.kmw [--db DATEI.kdb] [--set FORM.json] [--json DATEI|-]\n";

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
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path&) override {
    return std::nullopt;
  }
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

// --recovery and --deploy: the rocket carries them in its block, as if it
// had been saved with them, and flies again.
void ApplyRecoveryArgs(Document& doc, const SimArgs& a) {
  if (!a.recovery && !a.deploy) return;
  RocketRecord rocket = doc.rocket();
  WriteRecovery(rocket, ResolveRecovery(a, ReadRecovery(rocket)));
  doc.TakeStoredRocket(rocket);
}

// The rocket as the desktop program opens it, or (--raw) as stored, with
// the command line's recovery.
bool LoadDocument(Document& doc, const SimArgs& a, std::ostream& err) {
  if (a.raw) {
    LoadRaw(doc, a.rocket);
    ApplyRecoveryArgs(doc, a);
    return true;
  }
  doc.ReloadMotorDatabase();
  CliPrompts prompts(err);
  NoViews views;
  const bool loaded = doc.LoadRocketFile(a.rocket, prompts, views);
  for (const std::string& m : prompts.errors)
    err << "komet-sim: " << (loaded ? "Warnung: " : "") << m << '\n';
  if (loaded) ApplyRecoveryArgs(doc, a);
  return loaded;
}

std::string GuideTable(std::span<const GuideRow> rows, char sep) {
  // With recovery the rows gain how fast and how far from the pad they land.
  const bool landing =
      std::any_of(rows.begin(), rows.end(), [](const GuideRow& r) { return r.landingSpeed; });
  std::string text = Format(sep, "%-5s %-26s %8s %6s %7s %7s %5s %6s %5s %7s", "", "Motor", "Gipfel", "bei",
                            "v max", "Schiene", "S/G", "empf.", "beste", "Ausstoß");
  if (landing) text += Format(sep, " %7s %7s", "Landung", "Abdrift");
  text += "  Warnungen\n";
  for (const GuideRow& r : rows) {
    const std::string_view mark = MarkText(r.mark);  // "grün" is five bytes, four letters
    text += std::string(mark) + std::string(6 - std::min<std::size_t>(5, Utf8Length(mark)), ' ');
    if (r.noFlight) {
      text += Format(sep, "%-26s %8s\n", r.motor, "kein Flug");
      continue;
    }
    text += Format(sep, "%-26s %6.1f m %4.1f s %7.1f %7.1f %5.1f %4.1f s", r.motor, r.apogee, r.apogeeTime,
                   r.maxVelocity, r.railExitVelocity.value_or(0.0), r.thrustToWeight, r.recommendedDelay);
    text += r.bestDelay ? Format(sep, " %3d s", *r.bestDelay) : std::string("     -");
    text += r.ejectionVelocity ? Format(sep, " %7.1f", *r.ejectionVelocity) : std::string("       -");
    if (landing)
      text += r.landingSpeed && r.drift ? Format(sep, " %7.1f %5.0f m", *r.landingSpeed, *r.drift)
                                        : std::string("       -       -");
    for (std::size_t k = 0; k < r.findings.size(); ++k) {
      text += (k == 0 ? "  " : "; ") + r.findings[k].text;
      if (const Remedy* remedy = RemedyFor(r.remedies, r.findings[k].kind))
        text += " (Abhilfe: " + remedy->text + ")";
    }
    text += "\n";
  }
  return text;
}

int Guide(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
          std::ostream& err) {
  GuideArgs g = ParseGuideArgs(args);
  const FixedConstants constants(ResolveConstants(g.sim, env.optionsFile), ResolveSite(g.sim, env.savedSite));
  const std::filesystem::path db = Database(g.sim, env);
  Document doc(constants, [&] { return db; });
  if (!LoadDocument(doc, g.sim, err)) return 2;
  if (!GuideCanRun(doc.rocket()))
    throw UsageError{
        "die Hauptstufe hat keinen Motor im ersten Platz: der Motorberater hat nichts zu ersetzen"};
  // The mount decides what fits: the shape's, else the one the stage's motor
  // sits in now; what is given on the command line counts over it.
  GuideFilter mount;
  FitStageMount(doc.rocket(), doc.shape(), mount);
  if (!g.diameterGiven) g.filter.maxDiameterMm = mount.maxDiameterMm;
  if (!g.lengthGiven) g.filter.maxLengthMm = mount.maxLengthMm;
  std::vector<MotorRecord> motors;
  std::vector<std::int32_t> recordNos;
  try {
    GuideCandidates(db, g.filter, motors, recordNos);
  } catch (const KometError& e) {
    throw UsageError{db.string() + ": " + e.what()};
  }
  if (motors.empty()) throw UsageError{db.string() + ": keine Motoren, die zu den Filtern passen"};
  const LaunchField field = ResolveField(g.sim, env.savedField);
  MotorGuide guide(doc.rocket(), constants, std::move(motors), std::move(recordNos), env.decimalSeparator,
                   FieldInputs(field), doc.shape());
  const std::atomic<bool> never{false};
  guide.Run(std::max(1u, std::thread::hardware_concurrency()), never);
  const std::vector<GuideRow> rows = guide.Rows(g.filter);
  if (g.csv) WriteOutput(*g.csv, GuideCsv(rows, env.decimalSeparator == ',' ? kGermanCsv : kEnglishCsv), out);
  if (g.json) WriteOutput(*g.json, GuideJson(rows), out);
  if (!g.csv && !g.json)
    out << GuideFieldLine(field, constants.Site().wind, g.filter, ReadRecovery(doc.rocket()).has_value(),
                          env.decimalSeparator)
        << "\n\n"
        << GuideTable(rows, env.decimalSeparator);
  return 0;
}

// The shape's figures for the flight the document computed last.
ShapeResults ShapeResultsOf(const Document& doc) {
  const FlightResults& r = doc.simulation().results();
  const StabilityFigures s = doc.stability().value_or(StabilityFigures{});
  return {s.cp, s.cg, s.margin, s.minMargin,
          ShapeCw(*doc.shape(), doc.rocket(), r.resultsValid ? r.maxHeight : 0.0, r.maxHeightTime)};
}

std::string ShapeSummary(const RocketShape& shape, const ShapeResults& r, char sep) {
  std::string text;
  for (std::size_t i = 0; i < shape.stages.size(); ++i) {
    const StageShape& s = shape.stages[i];
    text += Format(sep, "Stufe %d: %.0f mm lang, Rohr %.0f x %.1f mm", static_cast<int>(i + 1),
                   s.Length() * 1000.0, s.bodyLength * 1000.0, s.diameter * 1000.0);
    if (s.fins) text += Format(sep, ", %d Flossen", s.fins->count);
    text +=
        Format(sep, ", Motorhalterung %.1f x %.0f mm\n", s.mount.diameter * 1000.0, s.mount.length * 1000.0);
  }
  return text + Format(sep,
                       "Schwerpunkt %.0f mm, Druckpunkt %.0f mm hinter der Spitze\n"
                       "Stabilität %.2f Kaliber beim Start, %.2f im ungünstigsten Moment des Antriebs\n"
                       "cw aus der Form (Schätzung): %.2f\n",
                       r.cg * 1000.0, r.cp * 1000.0, r.margin, r.minMargin, r.cwEstimate);
}

// komet-sim shape ROCKET [--set FORM.json] [--json FILE|-]: the shape beside
// the rocket and what it gives; --set writes a new one there first.
int Shape(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
          std::ostream& err) {
  SimArgs a;
  std::optional<std::filesystem::path> json, set;
  for (std::size_t i = 1; i < args.size(); ++i) {
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) throw UsageError{args[i] + ": Wert fehlt"};
      return args[++i];
    };
    if (args[i] == "--json")
      json = value();
    else if (args[i] == "--set")
      set = value();
    else if (args[i] == "--db")
      a.db = value();
    else if (!args[i].empty() && args[i][0] == '-')
      throw UsageError{"unbekannte Option " + args[i]};
    else if (a.rocket.empty())
      a.rocket = args[i];
    else
      throw UsageError{"nur eine Raketendatei"};
  }
  if (a.rocket.empty()) throw UsageError{"shape braucht eine Raketendatei"};
  const FixedConstants constants(ResolveConstants(a, env.optionsFile), ResolveSite(a, env.savedSite));
  const std::filesystem::path db = Database(a, env);
  Document doc(constants, [&] { return db; });
  if (!LoadDocument(doc, a, err)) return 2;
  if (set) {
    RocketShape shape;
    try {
      const std::vector<std::uint8_t> bytes = ReadFilePrefix(*set, kMaxShapeFileBytes);
      shape = ShapeFromJson(std::string(bytes.begin(), bytes.end()));
    } catch (const KometError& e) {
      throw UsageError{set->string() + ": " + e.what()};
    }
    int stages = 0;
    while (stages < 3 && doc.rocket().stages[static_cast<std::size_t>(stages)].counts[0] > 0) ++stages;
    if (const std::string problem = ShapeProblem(shape, stages); !problem.empty())
      throw UsageError{set->string() + ": " + problem};
    const std::string text = ShapeText(shape);
    WriteFileAtomically(ShapeFileFor(a.rocket.string()),
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    doc.SetShape(shape);
  }
  if (!doc.shape())
    throw UsageError{a.rocket.string() + ": keine Form (" + ShapeFileFor(a.rocket.string()) + ")"};
  const ShapeResults results = ShapeResultsOf(doc);
  if (json)
    WriteOutput(*json, ShapeJson(*doc.shape(), results), out);
  else
    out << ShapeSummary(*doc.shape(), results, env.decimalSeparator);
  return 0;
}

int Flight(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
           std::ostream& err) {
  const FlightLogArgs a = ParseFlightLogArgs(args);
  const FlightLog log = ReadCliFlightLog(a, err);
  if (a.json)
    WriteOutput(*a.json, FlightLogJson(log), out);
  else
    out << FlightLogText(log, env.decimalSeparator);
  return 0;
}

// The rocket as komet-sim flies it, tried with other drag coefficients.
int Fit(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
        std::ostream& err) {
  const FlightLogArgs a = ParseFlightLogArgs(args);
  const FixedConstants constants(ResolveConstants(a.sim, env.optionsFile), ResolveSite(a.sim, env.savedSite));
  const std::filesystem::path db = Database(a.sim, env);
  Document doc(constants, [&] { return db; });
  if (!LoadDocument(doc, a.sim, err)) return 2;
  const FlightLog log = ReadCliFlightLog(a, err);
  CwFit fit;
  try {
    fit = FitCw(doc.rocket(), constants, log, env.decimalSeparator);
  } catch (const KometError& e) {
    throw UsageError{e.what()};
  }
  if (a.json)
    WriteOutput(*a.json, CwFitJson(fit), out);
  else
    out << CwFitText(fit, env.decimalSeparator);
  return 0;
}

int Simulate(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
             std::ostream& err) {
  const SimArgs a = ParseSimArgs(args);
  const FixedConstants constants(ResolveConstants(a, env.optionsFile), ResolveSite(a, env.savedSite));
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
  SafetyInputs safety = FieldInputs(ResolveField(a, env.savedField));
  safety.shape = doc.shape() ? &*doc.shape() : nullptr;
  if (a.json)
    WriteOutput(*a.json, ResultsJson(doc.simulation(), doc.stability(), safety, &doc.freeAscent()), out);
  const char separator = a.decimalSeparator.value_or(env.decimalSeparator);
  for (ExportRequest e : a.exports) {
    e.decimalSeparator = separator;
    e.safety = safety;
    try {
      env.exporter->Export(e, doc.simulation(), doc.freeAscent(), doc.rocket(), a.switches);
    } catch (const KometError& x) {
      throw UsageError{e.path.string() + ": " + x.what()};
    }
  }
  if (a.summaryLine)
    out << SummaryLine(doc.simulation().results(), separator, RecommendedDelay(doc.freeAscent())) << '\n';
  else if (!a.csv && !a.json && a.exports.empty())
    out << FlightSummary(doc.simulation(), doc.rocket(), separator, safety, &doc.freeAscent());
  return 0;
}

// "--help" anywhere asks for the help of the command it belongs to, so that
// a command's own parser never sees it.
bool AsksHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h"; });
}

int Dispatch(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
             std::ostream& err) {
  try {
    if (args.empty()) {
      err << kUsage;
      return 2;
    }
    if (args[0] == "--version") {
      out << VersionText();
      return 0;
    }
    if (AsksHelp(args)) {
      if (const std::optional<std::string_view> help = CommandHelp(args[0]))
        out << *help;
      else
        out << kUsage << FlightHelp(env.examplesDir);
      return 0;
    }
    if (args[0] == "guide") return Guide(args, env, out, err);
    if (args[0] == "flight") return Flight(args, env, out, err);
    if (args[0] == "fit") return Fit(args, env, out, err);
    if (args[0] == "shape") return Shape(args, env, out, err);
    SimArgs none;
    if (const std::optional<int> status = RunMotorCommand(args, Database(none, env), out, err))
      return *status;
    return Simulate(args, env, out, err);
  } catch (const UsageError& e) {
    err << "komet-sim: " << e.message << '\n';
    return 2;
  } catch (const StandardOutputFailed&) {
    return 2;  // FinishOutput says why
  }
}

}  // namespace

int RunKometSim(const std::vector<std::string>& args, const SimCliEnvironment& env, std::ostream& out,
                std::ostream& err) {
  return FinishOutput(out, err, Dispatch(args, env, out, err));
}

}  // namespace komet
