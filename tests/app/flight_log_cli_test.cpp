// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/sim_cli.h"
#include "flightlog/recording_maker.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

constexpr const char* kRocket = KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6.kmw";

struct Outcome {
  int status;
  std::string out, err;
};

Outcome RunSim(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunKometSim(args, {}, out, err);
  return {status, out.str(), err.str()};
}

// A recording of the example rocket flown with cw 0.8, in feet without a
// unit in the file.
class FlightLogCli : public ::testing::Test {
 protected:
  void SetUp() override {
    RocketRecord rocket = testing::ExampleRocket();
    rocket.cw = 0.8;
    Simulation sim;
    sim.RunSimulation(rocket, FixedConstants{});
    apogee = sim.results().maxHeight;
    testing::RecordingStyle style;
    style.shape = FlightLogShape::Columns, style.unit = HeightUnit::Foot, style.separator = ';';
    log = dir.path() / "flug.txt";
    std::ofstream(log) << testing::WriteRecording(sim, style);
  }
  testing::TempDir dir;
  std::filesystem::path log;
  double apogee = 0.0;
};

double JsonValue(const std::string& json, const std::string& key) {
  const auto at = json.find("\"" + key + "\": ");
  return at == std::string::npos ? -1.0 : std::stod(json.substr(at + key.size() + 4));
}

TEST_F(FlightLogCli, FitGivesTheCwThatMadeTheFlight) {
  const Outcome o =
      RunSim({"fit", kRocket, "--raw", "--flight", log.string(), "--units", "ft", "--json", "-"});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NEAR(JsonValue(o.out, "measuredApogee"), apogee, 0.5);
  EXPECT_NEAR(JsonValue(o.out, "cwApogee"), 0.8, 0.01);
  EXPECT_NEAR(JsonValue(o.out, "cwAscent"), 0.8, 0.01);
  EXPECT_GT(JsonValue(o.out, "predictedApogee"), apogee);  // the file's cw 0.62 flies higher
  for (const char* key : {"measuredApogeeTime", "rmsAscent"}) EXPECT_GE(JsonValue(o.out, key), 0.0) << key;
  EXPECT_TRUE(o.err.empty()) << o.err;
}

TEST_F(FlightLogCli, FlightSaysWhenItAssumesMetres) {
  const Outcome metres = RunSim({"flight", log.string()});
  ASSERT_EQ(metres.status, 0) << metres.err;
  EXPECT_NE(metres.err.find("gelesen in m"), std::string::npos);
  EXPECT_NE(metres.out.find("m (angenommen)"), std::string::npos);
  const Outcome feet = RunSim({"flight", log.string(), "--units", "ft", "--json", "-"});
  EXPECT_TRUE(feet.err.empty());
  EXPECT_NEAR(JsonValue(feet.out, "apogee"), apogee, 0.5);
  EXPECT_NE(feet.out.find("\"unit\": \"ft\",\n  \"unitFromFile\": false"), std::string::npos) << feet.out;
}

TEST_F(FlightLogCli, BadInputIsStatusTwoWithOneMessage) {
  std::ofstream(dir.path() / "leer.csv") << "Zeit;Hoehe\n";
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"flight"}, "keine Aufzeichnung"},
      {{"flight", log.string(), "--units", "yard"}, "weder m noch ft"},
      {{"flight", (dir.path() / "fehlt.csv").string()}, "fehlt.csv: "},
      {{"flight", (dir.path() / "leer.csv").string()}, "leer.csv, Zeile 1: "},
      {{"fit", kRocket, "--raw"}, "--flight"},
      // Read as metres, the flight is a third as high as any cw allows.
      {{"fit", kRocket, "--raw", "--flight", log.string(), "--units", "m", "--gravity", "30"}, "Kein cw"},
  };
  for (const auto& c : cases) {
    const Outcome o = RunSim(c.args);
    EXPECT_EQ(o.status, 2) << c.says;
    EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
    EXPECT_TRUE(o.out.empty()) << o.out;
  }
}

}  // namespace
}  // namespace komet

namespace komet {
namespace {

// A real recording's time and height columns read the plainest way: the
// telemetry CSV by its column names, the tab-separated export in feet.
struct Raw {
  std::vector<double> time, height, median;
};

Raw ReadRaw(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  const bool telemetry = line.starts_with("#");
  const char sep = telemetry ? ',' : '\t';
  const auto split = [sep](const std::string& text) {
    std::vector<std::string> fields;
    std::stringstream s(text);
    for (std::string f; std::getline(s, f, sep);) fields.push_back(f.erase(0, f.find_first_not_of(' ')));
    return fields;
  };
  const std::vector<std::string> names = split(line);
  std::size_t t = 0, h = 1;
  if (telemetry) {
    t = std::find(names.begin(), names.end(), "time") - names.begin();
    h = std::find(names.begin(), names.end(), "height") - names.begin();
  }
  Raw raw;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = split(line);
    if (f.size() < names.size()) continue;
    const double time = std::stod(f[t]), height = std::stod(f[h]) * (telemetry ? 1.0 : 0.3048);
    if (!raw.time.empty() && time == raw.time.back()) continue;  // repeated rows are alike
    raw.time.push_back(time), raw.height.push_back(height);
  }
  raw.median = raw.height;
  for (std::size_t i = 1; i + 1 < raw.time.size(); ++i) {
    double m[3] = {raw.height[i - 1], raw.height[i], raw.height[i + 1]};
    std::sort(m, m + 3);
    raw.median[i] = m[1];
  }
  return raw;
}

// Where the height starts to climb for good: before it first stands 10 m
// above its start, the last median within 1.5 m of the lowest one.
double ClimbStart(const Raw& r) {
  std::size_t clear = 1;
  while (r.median[clear] <= r.median[1] + 10.0) ++clear;
  const double low = *std::min_element(r.median.begin() + 1, r.median.begin() + clear);
  std::size_t start = clear;
  while (r.median[start] > low + 1.5) --start;
  return r.time[start];
}

struct RealFile {
  const char* name;
  const char* shape;
  const char* unit;
};

TEST(RealRecordings, ReadWithLaunchAndApogeeWhereTheFlightShowsThem) {
  const std::filesystem::path dir = KOMET_SOURCE_DIR "/../shared/flightlogs";
  if (!std::filesystem::exists(dir))
    GTEST_SKIP() << "../shared/flightlogs fehlt: die echten Aufzeichnungen sind nicht da";
  const RealFile files[] = {
      {"20220507_telemetrum.csv", "Telemetrie-CSV", "m"},
      {"20220623_telemetrum_data.csv", "Telemetrie-CSV", "m"},
      {"20230621_irec_2023_easymega.csv", "Telemetrie-CSV", "m"},
      {"20231001_SG1.1-Booster-October-TeleMetrum.csv", "Telemetrie-CSV", "m"},
      {"20231118_SG1.2-Booster-November-StratoLogger2.txt", "Spalten mit Kopfzeile, Tabulator", "ft"},
  };
  for (const RealFile& f : files) {
    SCOPED_TRACE(f.name);
    const Outcome text = RunSim({"flight", (dir / f.name).string()});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Gipfel:"), std::string::npos);
    const Outcome json = RunSim({"flight", (dir / f.name).string(), "--json", "-"});
    EXPECT_NE(json.out.find("\"shape\": \"" + std::string(f.shape)), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"unit\": \"" + std::string(f.unit) + "\""), std::string::npos) << json.out;
    const Raw raw = ReadRaw(dir / f.name);
    const double launch = JsonValue(json.out, "launchTime");
    EXPECT_NEAR(launch, ClimbStart(raw), 0.2);
    double top = -1e9;
    for (std::size_t i = 1; i + 1 < raw.time.size(); ++i)
      if (raw.time[i] >= launch) top = std::max(top, raw.median[i]);
    const double apogee = JsonValue(json.out, "apogee") + JsonValue(json.out, "padHeight");
    EXPECT_NEAR(apogee, top, 0.01 * (top - JsonValue(json.out, "padHeight")));
  }
}

}  // namespace
}  // namespace komet
