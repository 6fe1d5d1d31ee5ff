// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sim_cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

#include "app/json_text.h"
#include "app/sim_args.h"
#include "dialogs/options_record.h"
#include "model/recovery.h"
#include "model/rocket_file.h"
#include "support/cli_rocket.h"
#include "support/file_bytes.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using testing::ReadText;

class SimCliTest : public ::testing::Test, protected testing::CliRocketFiles {
 protected:
  int Run(std::vector<std::string> args) {
    out.str(""), err.str("");
    return RunKometSim(args, env, out, err);
  }

  SimCliEnvironment env;
  std::ostringstream out, err;
};

TEST_F(SimCliTest, PrintsTheSummaryLineWhenAsked) {
  ASSERT_EQ(Run({rocket.string(), "--db", db.string(), "--summary-line"}), 0) << err.str();
  EXPECT_EQ(out.str().rfind("Max v:", 0), 0u) << out.str();
  EXPECT_NE(out.str().find("Brennschluss bei: 1.8 [sec]"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("empfohlene Verzögerung:"), std::string::npos);
}

// A number of the JSON results, as komet-sim wrote it.
double JsonField(const std::string& json, const std::string& key) {
  const auto at = json.find("\"" + key + "\": ");
  return at == std::string::npos ? -1.0 : std::stod(json.substr(at + key.size() + 4));
}

// The number standing after `label` in a text, NaN when the label is missing.
double NumberAfter(const std::string& text, const std::string& label) {
  const auto at = text.find(label);
  return at == std::string::npos ? std::nan("") : std::stod(text.substr(at + label.size()));
}

// The default output is for a reader: every figure of the flight on a line
// of its own, in order, with the numbers the JSON results carry.
TEST_F(SimCliTest, PrintsAGermanSummary) {
  ASSERT_EQ(Run({rocket.string(), "--db", db.string(), "--json", "-"}), 0) << err.str();
  const std::string json = out.str();
  ASSERT_EQ(Run({rocket.string(), "--db", db.string()}), 0) << err.str();
  const std::string text = out.str();
  const struct {
    const char* label;  // the start of a line
    double expected, tolerance;
  } lines[] = {
      {"Rakete:                  Testrakete", 0, -1},
      {"Gipfelhöhe:", JsonField(json, "maxHeight"), 0.05},
      {"m nach", JsonField(json, "maxHeightTime"), 0.005},
      {"Höchstgeschwindigkeit:", JsonField(json, "maxVelocity"), 0.05},
      {"m/s (", JsonField(json, "maxVelocity") * 3.6, 0.05},
      {"Brennschluss:            nach", 1.8, 0.005},
      {"Empfohlene Verzögerung:", JsonField(json, "recommendedDelay"), 0.05},
      {"Beste Verzögerung:", 0, -1},
      {"Startgeschwindigkeit:", 0, -1},
      {"Warnungen:", 0, -1},
  };
  std::size_t at = 0;
  for (const auto& l : lines) {
    const auto found = text.find(l.label, at);
    ASSERT_NE(found, std::string::npos) << l.label << "\nin\n" << text;
    at = found + std::string(l.label).size();
    if (l.tolerance >= 0) {
      EXPECT_NEAR(NumberAfter(text.substr(found), l.label), l.expected, l.tolerance) << l.label;
    }
  }
  EXPECT_EQ(text.find("[sec]"), std::string::npos);  // not the window's summary line
}

// Numbers for people follow the user's locale unless --locale says otherwise;
// pictures get the same separator.
struct RecordingExporter : CliExporter {
  std::vector<ExportRequest> requests;
  void Export(const ExportRequest& r, const Simulation&, const Simulation&, const RocketRecord&,
              const PlotSwitches&) override {
    requests.push_back(r);
  }
};

TEST_F(SimCliTest, LocaleChoosesTheDecimalSeparator) {
  RecordingExporter exporter;
  env.exporter = &exporter;
  const struct {
    char user;
    std::vector<std::string> extra;
    char expected;
  } cases[] = {
      {'.', {}, '.'},
      {',', {}, ','},
      {',', {"--locale", "en"}, '.'},
      {'.', {"--locale", "de"}, ','},
  };
  for (const auto& c : cases) {
    env.decimalSeparator = c.user;
    std::vector<std::string> args = {rocket.string(), "--db", db.string(), "--summary-line"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    ASSERT_EQ(Run(args), 0) << err.str();
    EXPECT_NE(out.str().find(std::string("Brennschluss bei: 1") + c.expected + "8 [sec]"), std::string::npos)
        << out.str();
    args.insert(args.end(),
                {"--png", (dir.path() / "p.png").string(), "--pdf", (dir.path() / "p.pdf").string()});
    exporter.requests.clear();
    ASSERT_EQ(Run(args), 0) << err.str();
    ASSERT_EQ(exporter.requests.size(), 2u);
    for (const ExportRequest& r : exporter.requests) EXPECT_EQ(r.decimalSeparator, c.expected);
  }
  EXPECT_EQ(Run({rocket.string(), "--locale", "fr"}), 2);
  EXPECT_NE(err.str().find("--locale"), std::string::npos);
}

TEST_F(SimCliTest, CsvAndJsonAgree) {
  const auto csv = dir.path() / "f.csv", json = dir.path() / "f.json";
  ASSERT_EQ(Run({rocket.string(), "--raw", "--csv", csv.string(), "--json", json.string()}), 0) << err.str();
  std::istringstream lines(ReadText(csv));
  std::string header, line;
  std::getline(lines, header);
  EXPECT_EQ(header, "time,thrust,height,force,accel,velocity,propellantUsed");
  int rows = 0;
  while (std::getline(lines, line)) ++rows;
  const std::string j = ReadText(json);
  EXPECT_NE(j.find("\"sampleCount\": " + std::to_string(rows)), std::string::npos) << j;
  EXPECT_NE(j.find("\"resultsValid\": true"), std::string::npos);
  EXPECT_NE(j.find("\"burnoutTime\": 1.8"), std::string::npos) << j;
  EXPECT_GT(rows, 100);
}

TEST_F(SimCliTest, SpreadsheetCsvParsesBack) {
  ASSERT_EQ(Run({rocket.string(), "--raw", "--csv", "-", "--csv-locale", "de"}), 0) << err.str();
  std::istringstream lines(out.str());
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(
      line,
      "\xEF\xBB\xBFZeit [s];Schub [N];Höhe [m];Kraft [N];Beschleunigung [m/s²];Geschwindigkeit [m/s]\r");
  int rows = 0;
  double lastTime = -0.005, maxHeight = 0;
  while (std::getline(lines, line)) {
    ASSERT_EQ(line.back(), '\r');
    std::vector<double> fields;
    std::istringstream cells(line.substr(0, line.size() - 1));
    for (std::string cell; std::getline(cells, cell, ';');) {
      ASSERT_EQ(cell.find('.'), std::string::npos) << cell;
      for (char& c : cell)
        if (c == ',') c = '.';
      fields.push_back(std::stod(cell));
    }
    ASSERT_EQ(fields.size(), 6u) << line;
    EXPECT_NEAR(fields[0], lastTime + 0.005, 1e-9);
    lastTime = fields[0];
    maxHeight = std::max(maxHeight, fields[2]);
    ++rows;
  }
  ASSERT_EQ(Run({rocket.string(), "--raw", "--json", "-"}), 0);
  EXPECT_NE(out.str().find("\"sampleCount\": " + std::to_string(rows)), std::string::npos);
  EXPECT_GT(maxHeight, 10.0);
  ASSERT_EQ(Run({rocket.string(), "--raw", "--csv", "-", "--csv-locale", "en"}), 0);
  EXPECT_NE(out.str().find("Zeit [s],Schub [N]"), std::string::npos);
  EXPECT_EQ(Run({rocket.string(), "--csv-locale", "fr", "--csv", "-"}), 2);
}

TEST_F(SimCliTest, JsonHasTheDelayCheckAndWarnings) {
  ASSERT_EQ(Run({rocket.string(), "--raw", "--json", "-"}), 0);
  const std::string j = out.str();
  EXPECT_NE(j.find("\"delays\": [\n    {\"delay\": 3, "), std::string::npos) << j;
  EXPECT_NE(j.find("{\"delay\": 5, "), std::string::npos) << j;
  EXPECT_NE(j.find("\"warnings\": ["), std::string::npos) << j;
  EXPECT_EQ(std::count(j.begin(), j.end(), '{'), std::count(j.begin(), j.end(), '}'));
}

// A red rail exit names its remedy under the finding and in the JSON; the
// rail it names clears the finding.
TEST_F(SimCliTest, SlowRailExitShowsItsRemedy) {
  ASSERT_EQ(Run({rocket.string(), "--raw", "--rail-length", "0.2", "--json", "-"}), 0) << err.str();
  const std::string j = out.str();
  const auto at = j.find("\"remedies\": [\n    {\"rule\": \"railExitSpeed\", \"text\": \"mit ");
  ASSERT_NE(at, std::string::npos) << j;
  const double rail = JsonField(j.substr(at), "value");
  EXPECT_GT(rail, 0.2);
  ASSERT_EQ(Run({rocket.string(), "--raw", "--rail-length", "0.2"}), 0) << err.str();
  EXPECT_NE(out.str().find("\n    Abhilfe: mit "), std::string::npos) << out.str();
  ASSERT_EQ(Run({rocket.string(), "--raw", "--rail-length", std::to_string(rail), "--json", "-"}), 0);
  EXPECT_EQ(out.str().find("railExitSpeed"), std::string::npos) << out.str();
}

// The parachute example with its chute opened 3 s and 5 s after burnout
// and at apogee: its recommended delay, best delay and delay table are the
// ones without a chute, in the JSON and in the summary, though the chute
// changes the flight itself.
TEST_F(SimCliTest, DelayAdviceIgnoresTheChuteTheChargeOpens) {
  const std::string example = KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6_fallschirm.kmw";
  RocketRecord bare = ReadRocketFile(example, RocketRecord{}).record;
  ASSERT_TRUE(ReadRecovery(bare));
  WriteRecovery(bare, std::nullopt);
  const auto without = dir.path() / "ohne.kmw";
  SaveRocketFile(without, bare);
  const auto delays = [](const std::string& json) {
    const std::size_t from = json.find("\"delays\": ["), to = json.find("\"warnings\": [");
    return from < to && to != std::string::npos ? json.substr(from, to - from) : std::string("fehlt");
  };
  const auto line = [](const std::string& text, const std::string& label) {
    const std::size_t at = text.find(label);
    return at == std::string::npos ? std::string("fehlt") : text.substr(at, text.find('\n', at) - at);
  };
  ASSERT_EQ(Run({without.string(), "--raw", "--json", "-"}), 0) << err.str();
  const std::string expected = out.str();
  ASSERT_EQ(Run({without.string(), "--raw", "--locale", "de"}), 0) << err.str();
  const std::string best = line(out.str(), "Beste Verzögerung:");
  ASSERT_NE(best, "fehlt") << out.str();
  for (const char* deploy : {"delay:3", "delay:5", "apogee"}) {
    ASSERT_EQ(Run({example, "--raw", "--deploy", deploy, "--json", "-"}), 0) << err.str();
    const std::string json = out.str();
    EXPECT_NE(json.find("\"deployment\": {"), std::string::npos) << deploy;
    EXPECT_EQ(JsonField(json, "recommendedDelay"), JsonField(expected, "recommendedDelay")) << deploy;
    EXPECT_EQ(delays(json), delays(expected)) << deploy;
    ASSERT_EQ(Run({example, "--raw", "--deploy", deploy, "--locale", "de"}), 0) << err.str();
    EXPECT_EQ(line(out.str(), "Beste Verzögerung:"), best) << deploy;
  }
  // Opened 3 s after burnout the chute ends the climb before the free apogee.
  ASSERT_EQ(Run({example, "--raw", "--deploy", "delay:3", "--json", "-"}), 0) << err.str();
  EXPECT_LT(JsonField(out.str(), "maxHeightTime"), JsonField(expected, "maxHeightTime") - 1.0);
}

TEST_F(SimCliTest, OverridesChangeTheFlight) {
  ASSERT_EQ(Run({rocket.string(), "--raw", "--json", "-"}), 0);
  const std::string base = out.str();
  ASSERT_EQ(Run({rocket.string(), "--raw", "--json", "-", "--gravity", "1.62", "--air-density", "0"}), 0);
  EXPECT_NE(out.str(), base);
  ASSERT_EQ(Run({rocket.string(), "--raw", "--json", "-", "--period", "5"}), 0);
  EXPECT_NE(out.str().find("\"flightEndTime\": 5.0049999999999999"), std::string::npos) << out.str();
}

TEST_F(SimCliTest, BadInputGivesStatusTwoAndNoFile) {
  std::ofstream(dir.path() / "fremd.kmw") << "keine Rakete";
  const auto csv = dir.path() / "nicht.csv";
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{}, "Aufruf"},
      {{(dir.path() / "fehlt.kmw").string(), "--csv", csv.string()}, "Datei nicht gefunden"},
      {{(dir.path() / "fremd.kmw").string(), "--csv", csv.string()}, "keine Komet-Raketendatei"},
      {{(dir.path() / "fremd.kmw").string(), "--raw", "--csv", csv.string()}, "keine Komet-Raketendatei"},
      {{rocket.string(), "--gravity", "9,81", "--csv", csv.string()}, "--gravity"},
      {{rocket.string(), "--period"}, "Wert fehlt"},
      {{rocket.string(), "--db", (dir.path() / "weg.kdb").string()}, "weg.kdb"},
      {{rocket.string(), "--options", rocket.string()}, "Optionsdatei"},
      {{rocket.string(), "--curves", "xyz"}, "--curves"},
      {{rocket.string(), "--png", "a.png", "--size", "0x5"}, "--size"},
      {{rocket.string(), "--wozu"}, "unbekannte Option"},
      {{rocket.string(), "--png", (dir.path() / "a.png").string()}, "Bilder"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), 2) << c.message;
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(csv));
  }
}

TEST_F(SimCliTest, MotorsListsTheDatabaseWithItsDetails) {
  // One motor with details (imported), one without (the fixture's).
  const auto eng = dir.path() / "g.eng";
  std::ofstream(eng) << "G64W 29 124 4-7-10-13-15-P 0.0625 0.1168 AeroTech\n0.1 80\n1.0 60\n1.5 0\n";
  const auto kdb = dir.path() / "g.kdb";
  std::filesystem::copy_file(db, kdb);
  ASSERT_EQ(Run({"import", eng.string(), "-o", kdb.string(), "--append"}), 0) << err.str();
  ASSERT_EQ(Run({"motors", "--db", kdb.string(), "--json", "-"}), 0) << err.str();
  // A detail the record lacks is null; the impulse then comes from the curve.
  EXPECT_EQ(
      out.str(),
      "[\n"
      "  {\"name\": \"C6\", \"recordNo\": 0, \"maker\": null, \"designation\": null, \"impulseClass\": "
      "\"D\", \"diameter\": null, \"length\": null, \"totalImpulse\": 10.801500000000001, "
      "\"publishedImpulse\": null, \"averageThrust\": 6.0008333333333335, \"peakThrust\": 6, \"burnTime\": "
      "1.8, "
      "\"totalMass\": 0.023099999999999999, \"propellantMass\": 0.010800000000000001, \"delays\": [3, 5], "
      "\"booster\": null, \"plugged\": null, \"type\": null, \"dataCheck\": null},\n"
      "  {\"name\": \"G64 [AeroTech]\", \"recordNo\": 1, \"maker\": \"AeroTech\", \"designation\": "
      "\"G64W\", \"impulseClass\": \"G\", \"diameter\": 29, \"length\": 124, \"totalImpulse\": 82, "
      "\"publishedImpulse\": null, \"averageThrust\": 54.666666666666664, \"peakThrust\": 80, \"burnTime\": "
      "1.5, "
      "\"totalMass\": 0.1168, \"propellantMass\": 0.0625, \"delays\": [4, 7, 10, 13, 15], \"booster\": "
      "false, "
      "\"plugged\": true, \"type\": null, \"dataCheck\": null}\n"
      "]\n");
  EXPECT_EQ(Run({"motors", "--db", (dir.path() / "fehlt.kdb").string()}), 2);
  EXPECT_NE(err.str().find("fehlt.kdb: Datei nicht gefunden"), std::string::npos) << err.str();
}

TEST_F(SimCliTest, ImportEngWritesADatabase) {
  const auto eng = dir.path() / "m.eng";
  std::ofstream(eng) << "; Testmotor\nT5 18 70 3-5 0.006 0.018 Test\n0.1 5\n1.0 5\n1.1 0\n"
                     << "Kaputt 18 70\n0.1 5\n";
  const auto kdb = dir.path() / "neu.kdb";
  EXPECT_EQ(Run({"import-eng", eng.string(), "-o", kdb.string()}), 1);
  EXPECT_NE(out.str().find("T5"), std::string::npos);
  EXPECT_NE(err.str().find("Zeile 6"), std::string::npos) << err.str();
  EXPECT_EQ(std::filesystem::file_size(kdb), MotorRecord::kSize);
  // The same motor again is counted, not added.
  EXPECT_EQ(Run({"import-eng", eng.string(), "-o", kdb.string(), "--append"}), 1);
  EXPECT_EQ(std::filesystem::file_size(kdb), MotorRecord::kSize);
  EXPECT_NE(out.str().find("schon vorhanden: T5 [Test] (m.eng) = T5 [Test]"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("1 Motor gelesen: 0 neu, 1 schon vorhanden (gleiche Daten), 0 als eigene Fassung "
                           "neben dem vorhandenen, 1 abgelehnt"),
            std::string::npos);
  std::ofstream(dir.path() / "n.eng") << "N1 18 70 3 0.006 0.018 Test\n0.1 5\n1.1 0\n";
  EXPECT_EQ(Run({"import", (dir.path() / "n.eng").string(), "-o", kdb.string(), "--append"}), 0);
  EXPECT_EQ(std::filesystem::file_size(kdb), 2 * MotorRecord::kSize);
  std::ofstream(eng) << "Kaputt 18 70\n";
  EXPECT_EQ(Run({"import-eng", eng.string(), "-o", kdb.string()}), 2);
  EXPECT_EQ(std::filesystem::file_size(kdb), 2 * MotorRecord::kSize) << "left unchanged";
}

// Each constant override sets its own constant and no other, over the
// options file's values; the period is clamped like the settings dialog's.
TEST_F(SimCliTest, EachOverrideSetsItsOwnConstant) {
  OptionsRecord file;
  InitOptions(file, "/");
  file.gravity = 3.5;
  const auto options = dir.path() / "KOMET.OPT";
  SaveOptions(options, file);
  const ConstantValues fromFile = ConstantsFrom(file);
  using Field = double ConstantValues::*;
  const struct {
    const char* option;
    const char* value;
    Field field;
    double expected;
  } cases[] = {
      {"--gravity", "1.62", &ConstantValues::gravity, 1.62},
      {"--air-density", "0.25", &ConstantValues::airDensity, 0.25},
      {"--rail-length", "2.5", &ConstantValues::railLength, 2.5},
      {"--rail-friction", "0.75", &ConstantValues::railFriction, 0.75},
      {"--period", "7.5", &ConstantValues::calcPeriod, 7.5},
      {"--period", "1", &ConstantValues::calcPeriod, 50.0},
  };
  const Field all[] = {&ConstantValues::gravity, &ConstantValues::airDensity, &ConstantValues::railLength,
                       &ConstantValues::railFriction, &ConstantValues::calcPeriod};
  for (const auto& c : cases) {
    const SimArgs args = ParseSimArgs({rocket.string(), "--options", options.string(), c.option, c.value});
    const ConstantValues resolved = ResolveConstants(args, {});
    for (const Field f : all)
      EXPECT_EQ(resolved.*f, f == c.field ? c.expected : fromFile.*f) << c.option << " " << c.value;
  }
  // Without an options file the defaults are the base; the last of two overrides wins.
  const ConstantValues twice =
      ResolveConstants(ParseSimArgs({rocket.string(), "--gravity", "1", "--gravity", "2"}), {});
  EXPECT_EQ(twice.gravity, 2.0);
  EXPECT_EQ(twice.airDensity, ConstantValues{}.airDensity);
}

// Every row of the option table lands in its own place; values are never
// taken for the rocket, and --size reaches pictures on either side of it.
TEST(SimArgsTest, EachOptionLandsInItsPlace) {
  using Kind = ExportRequest::Kind;
  const struct {
    std::vector<std::string> args;
    std::function<bool(const SimArgs&)> holds;
  } cases[] = {
      {{"r.kmw", "--raw"}, [](const SimArgs& a) { return a.raw && !a.summaryLine; }},
      {{"--summary-line", "r.kmw"}, [](const SimArgs& a) { return a.summaryLine && !a.raw; }},
      {{"r.kmw", "--locale", "de"}, [](const SimArgs& a) { return a.decimalSeparator == ','; }},
      {{"r.kmw", "--locale", "en"}, [](const SimArgs& a) { return a.decimalSeparator == '.'; }},
      {{"--db", "x.kmw", "r.kmw"}, [](const SimArgs& a) { return a.db == "x.kmw" && a.rocket == "r.kmw"; }},
      {{"--options", "o", "r.kmw"}, [](const SimArgs& a) { return a.options == "o" && !a.db; }},
      {{"r.kmw", "--csv", "c", "--json", "j"},
       [](const SimArgs& a) { return a.csv == "c" && a.json == "j"; }},
      {{"r.kmw", "--csv-locale", "de"}, [](const SimArgs& a) { return a.csvLocale->fieldSeparator == ';'; }},
      {{"r.kmw", "--curves", "h"},
       [](const SimArgs& a) {
         return a.switches.IsOn(PlotSwitch::AnzH) && !a.switches.IsOn(PlotSwitch::Anzv);
       }},
      {{"-"}, [](const SimArgs& a) { return a.rocket == "-"; }},
      {{"--png", "p", "--size", "800x600", "--svg", "s", "--pdf", "d", "r.kmw"},
       [](const SimArgs& a) {
         return a.exports.size() == 3 && a.exports[0].kind == Kind::Png && a.exports[1].kind == Kind::Svg &&
                a.exports[2].kind == Kind::Pdf && a.exports[0].width == 800 && a.exports[1].height == 600;
       }},
  };
  for (const auto& c : cases) {
    const SimArgs a = ParseSimArgs(c.args);
    EXPECT_TRUE(c.holds(a)) << ::testing::PrintToString(c.args);
    EXPECT_EQ(a.rocket, c.args.back() == "-" ? "-" : "r.kmw") << ::testing::PrintToString(c.args);
  }
}

TEST(SimArgsTest, GuidePassesTheFlightsOptionsOn) {
  const GuideArgs g = ParseGuideArgs({"guide", "--db", "m.kdb", "r.kmw", "--maker", "Estes", "--diameter",
                                      "18", "--options", "o", "--raw", "--csv", "-"});
  EXPECT_EQ(g.sim.rocket, "r.kmw");
  EXPECT_EQ(g.sim.db, "m.kdb");
  EXPECT_EQ(g.sim.options, "o");
  EXPECT_TRUE(g.sim.raw);
  EXPECT_FALSE(g.sim.csv) << "the guide's own";
  EXPECT_EQ(g.csv, "-");
  EXPECT_EQ(g.filter.maker, "Estes");
  EXPECT_EQ(g.filter.maxDiameterMm, 18.0);
  EXPECT_TRUE(g.diameterGiven);
}

// The recovery's figures are keyed by name: null without recovery, numbers
// with one; the command line's recovery flies exactly as the same recovery
// saved in the rocket file.
TEST_F(SimCliTest, JsonCarriesTheRecoveryFiguresByName) {
  const char* keys[] = {"recovery",        "deployment", "openingShock", "descentRate", "landed",
                        "landingVelocity", "flightTime", "wind",         "drift"};
  ASSERT_EQ(Run({rocket.string(), "--db", db.string(), "--json", "-"}), 0) << err.str();
  for (const char* key : keys)
    EXPECT_NE(out.str().find("\"" + std::string(key) + "\": null,"), std::string::npos) << key;

  const std::vector<std::string> chute = {"--recovery", "parachute:300", "--deploy",
                                          "delay:5",    "--wind",        "3"};
  std::vector<std::string> args = {rocket.string(), "--db", db.string(), "--json", "-"};
  args.insert(args.end(), chute.begin(), chute.end());
  ASSERT_EQ(Run(args), 0) << err.str();
  const std::string json = out.str();
  for (const char* key : keys)
    EXPECT_EQ(json.find("\"" + std::string(key) + "\": null"), std::string::npos) << key << "\n" << json;
  EXPECT_NE(json.find("\"landed\": true"), std::string::npos);
  EXPECT_NEAR(JsonField(json, "deployment\": {\"time"), 1.8 + 5.0, 0.0051);
  EXPECT_GT(JsonField(json, "flightTime"), 50.0) << "on past the calculation period";
  EXPECT_EQ(JsonField(json, "flightTime"), JsonField(json, "flightEndTime"));
  EXPECT_NEAR(JsonField(json, "drift"),
              3.0 * (JsonField(json, "flightTime") - JsonField(json, "maxHeightTime")), 1e-9);

  RocketRecord saved = ReadRocketFile(rocket, RocketRecord{}).record;
  Recovery r;
  r.diameterMm = 300.0, r.cw = kDefaultChuteCw, r.delay = 5.0;
  WriteRecovery(saved, r);
  const auto withBlock = dir.path() / "schirm.kmw";
  SaveRocketFile(withBlock, saved);
  ASSERT_EQ(Run({withBlock.string(), "--db", db.string(), "--json", "-", "--wind", "3"}), 0) << err.str();
  EXPECT_EQ(out.str(), json);
}

// --recovery, --deploy, --wind and --isa over the rocket's own recovery or
// none: what the flight takes, or a refusal naming the option or the field.
TEST(SimArgsTest, RecoveryAndSiteOptions) {
  using D = Recovery::Deployment;
  using R = std::optional<Recovery>;
  Recovery own;
  own.diameterMm = 600.0, own.cw = 0.75, own.delay = 5.0, own.inflationTime = 0.3;
  const std::string fastWind = std::to_string(kSiteWind.max + 0.5);
  const std::string coldest = std::to_string(kSiteTemperature.min);
  const struct {
    std::vector<std::string> args;
    bool hasOwn;
    std::function<bool(const SimArgs&, const R&)> holds;  // none: refused
    std::string refusal = "";
  } cases[] = {
      {{}, true, [&](const SimArgs&, const R& r) { return r == own; }},
      {{"--recovery", "parachute:300", "--deploy", "delay:4.5"},
       false,
       [](const SimArgs&, const R& r) {
         return r->diameterMm == 300.0 && r->cw == kDefaultChuteCw && r->delay == 4.5 &&
                r->inflationTime == 0.0;
       }},
      {{"--recovery", "parachute:450,1.5"},
       true,
       [](const SimArgs&, const R& r) { return r->cw == 1.5 && r->delay == 5.0 && r->inflationTime == 0.3; }},
      {{"--recovery", "streamer:1200x40"},
       true,
       [](const SimArgs&, const R& r) {
         return r->kind == Recovery::Kind::Streamer && r->lengthMm == 1200.0 && r->widthMm == 40.0 &&
                r->cw == StreamerCw(1200.0);
       }},
      {{"--deploy", "apogee"},
       true,
       [](const SimArgs&, const R& r) { return r->deployment == D::Apogee && r->diameterMm == 600.0; }},
      {{"--wind", std::to_string(kSiteWind.max)},
       false,
       [](const SimArgs& a, const R& r) {
         const LaunchSite site = ResolveSite(a, LaunchSite{});
         return !r && site.wind == kSiteWind.max && !site.standardAtmosphere;
       }},
      {{"--isa", "-120," + coldest},
       false,
       [](const SimArgs& a, const R&) {
         const LaunchSite site = ResolveSite(a, LaunchSite{});
         return site.standardAtmosphere && site.altitude == -120.0 &&
                site.temperature == kSiteTemperature.min && site.wind == LaunchSite{}.wind;
       }},
      {{"--recovery", "parachute"}, true, nullptr, "--recovery: "},
      {{"--recovery", "streamer:1200,0.1"}, true, nullptr, "--recovery: "},
      {{"--deploy", "5"}, true, nullptr, "--deploy: "},
      {{"--wind", fastWind}, false, nullptr, "--wind: "},
      {{"--isa", "500"}, false, nullptr, "--isa: "},
      {{"--isa", "0," + std::to_string(kSiteTemperature.min - 0.5)}, false, nullptr, "--isa: "},
      {{"--deploy", "apogee"}, false, nullptr, "--deploy: "},
      {{"--recovery", "parachute:300"}, false, nullptr, "--deploy delay"},
      {{"--recovery", "parachute:30"}, true, nullptr, "Fallschirmdurchmesser"},
      {{"--recovery", "streamer:1200x4000"}, true, nullptr, "Breite des Bands"},
      {{"--deploy", "delay:30"}, true, nullptr, "Verzögerung"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"r.kmw"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const std::string what = ::testing::PrintToString(c.args) + (c.hasOwn ? " over the rocket's" : "");
    try {
      const SimArgs a = ParseSimArgs(args);
      const R r = ResolveRecovery(a, c.hasOwn ? R(own) : R());
      EXPECT_TRUE(c.holds && c.holds(a, r)) << what;
    } catch (const UsageError& e) {
      EXPECT_FALSE(c.holds) << what << ": " << e.message;
      EXPECT_NE(e.message.find(c.refusal), std::string::npos) << what << ": " << e.message;
    }
  }
}

// komet's saved launch site is flown unless --no-site drops it; --isa and
// --wind change only their part.
TEST(SimArgsTest, TheSavedLaunchSiteIsFlownUnlessOverridden) {
  const LaunchSite saved{true, 800.0, 25.0, 3.0};
  const struct {
    std::vector<std::string> args;
    LaunchSite site;
  } cases[] = {
      {{}, {true, 800.0, 25.0, 3.0}},
      {{"--wind", "7"}, {true, 800.0, 25.0, 7.0}},
      {{"--isa", "100,10"}, {true, 100.0, 10.0, 3.0}},
      {{"--no-site"}, {false, 0.0, 15.0, 5.0}},
      {{"--wind", "2", "--no-site"}, {false, 0.0, 15.0, 2.0}},
      {{"--no-site", "--isa", "100,10"}, {true, 100.0, 10.0, 5.0}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"r.kmw"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(ResolveSite(ParseSimArgs(args), saved), c.site) << ::testing::PrintToString(c.args);
  }
}

// The saved field judges unless --no-site drops it; --field-radius and
// --ceiling (or its older name --height-limit) change only their part.
TEST(SimArgsTest, TheSavedFieldJudgesUnlessOverridden) {
  const LaunchField saved{80.0, 400.0};
  const struct {
    std::vector<std::string> args;
    std::optional<LaunchField> field;  // none: refused
  } cases[] = {
      {{}, LaunchField{80.0, 400.0}},
      {{"--no-site"}, LaunchField{150.0, 0.0}},
      {{"--field-radius", "200"}, LaunchField{200.0, 400.0}},
      {{"--ceiling", "0"}, LaunchField{80.0, 0.0}},
      {{"--height-limit", "250", "--no-site"}, LaunchField{150.0, 250.0}},
      {{"--field-radius", "9.5"}, std::nullopt},
      {{"--field-radius", "weit"}, std::nullopt},
      {{"--ceiling", "-1"}, std::nullopt},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"r.kmw"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    if (c.field)
      EXPECT_EQ(ResolveField(ParseSimArgs(args), saved), *c.field) << ::testing::PrintToString(c.args);
    else
      EXPECT_THROW(ParseSimArgs(args), UsageError) << ::testing::PrintToString(c.args);
  }
}

TEST_F(SimCliTest, FliesTheSavedLaunchSite) {
  ASSERT_EQ(Run({rocket.string(), "--db", db.string(), "--isa", "2500,-10", "--json", "-"}), 0) << err.str();
  const std::string given = out.str();
  env.savedSite = {true, 2500.0, -10.0, 5.0};
  ASSERT_EQ(Run({rocket.string(), "--db", db.string(), "--json", "-"}), 0) << err.str();
  EXPECT_EQ(out.str(), given);
  ASSERT_EQ(Run({rocket.string(), "--db", db.string(), "--json", "-", "--no-site"}), 0) << err.str();
  EXPECT_NE(out.str(), given);
}

TEST(JsonTextTest, EscapesWhatJsonCannotCarryAndKeepsTheRest) {
  const struct {
    std::string text, json;
  } cases[] = {
      {"Stufe \"2\"", "\"Stufe \\\"2\\\"\""},
      {"C:\\Motoren", "\"C:\\\\Motoren\""},
      {"a\nb\tc\r", "\"a\\u000ab\\u0009c\\u000d\""},
      {std::string("\x01\x1f\0", 3), "\"\\u0001\\u001f\\u0000\""},
      {"Höhe ≤ 5 m", "\"Höhe ≤ 5 m\""},
      {"\x7f", "\"\x7f\""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.text;
}

TEST(JsonTextTest, NonFiniteNumbersAreNull) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    std::optional<double> value;
    const char* json;
  } cases[] = {
      {0.1, "0.10000000000000001"}, {-2.5, "-2.5"}, {1e300, "1.0000000000000001e+300"},
      {std::nan(""), "null"},       {kInf, "null"}, {-kInf, "null"},
      {std::nullopt, "null"},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonNumber(c.value), c.json) << c.json;
}

}  // namespace
}  // namespace komet
