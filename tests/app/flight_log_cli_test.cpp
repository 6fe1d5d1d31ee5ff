// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

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
