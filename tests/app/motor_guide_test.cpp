// The motor guide: which motors it flies, that each row is the flight
// komet-sim reports for that motor, and that it can be stopped.
#include "app/motor_guide.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/sim_cli.h"
#include "common/komet_error.h"
#include "model/rocket_file.h"
#include "motors/eng_import.h"
#include "motors/motor_details.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

MotorRecord Catalogued(std::string_view name, double thrust, double burnTime, const char* maker,
                       double diameter) {
  MotorRecord m = testing::BoxMotor(name, thrust, burnTime, 0.01, 0.025);
  m.delays = {3, 5, 7, 0};
  MotorDetails d;
  d.maker = maker;
  d.designation = std::string(name);
  d.diameterMm = diameter;
  d.totalImpulse = TotalImpulse(m);
  d.delays = {3, 5, 7};
  WriteMotorDetails(d, m);
  return m;
}

RocketRecord SingleStage(const MotorRecord& motor) {
  return testing::SingleStageRocket("Berater", motor, 0.040);
}

// Class A (2 N s) to F (48 N s), two makers, 18 to 29 mm, one without details.
std::vector<MotorRecord> SmallDatabase() {
  return {
      Catalogued("A8 [Estes]", 4, 0.5, "Estes", 18),         Catalogued("C6 [Estes]", 6, 1.5, "Estes", 18),
      Catalogued("C6 [Klima]", 7, 1.4, "Klima", 18),         Catalogued("D12 [Estes]", 12, 1.6, "Estes", 24),
      Catalogued("F30 [AeroTech]", 30, 1.6, "AeroTech", 29), testing::BoxMotor("Eigenbau", 5, 1.0)};
}

TEST(MotorGuideFilter, TakesTheMotorsThatFitEveryFilter) {
  const struct {
    const char* classes;
    const char* maker;
    double diameter;
    std::vector<std::string> taken;
  } cases[] = {
      {"", "", 0, {"A8 [Estes]", "C6 [Estes]", "C6 [Klima]", "D12 [Estes]", "F30 [AeroTech]", "Eigenbau"}},
      {"C..D", "", 0, {"C6 [Estes]", "C6 [Klima]", "D12 [Estes]", "Eigenbau"}},
      {"C", "", 0, {"C6 [Estes]", "C6 [Klima]", "Eigenbau"}},  // 5.0 N s by its curve
      {"..B", "", 0, {"A8 [Estes]"}},
      {"E..", "", 0, {"F30 [AeroTech]"}},
      {"", "estes", 0, {"A8 [Estes]", "C6 [Estes]", "D12 [Estes]"}},  // without details: no maker
      {"", "", 24, {"A8 [Estes]", "C6 [Estes]", "C6 [Klima]", "D12 [Estes]", "Eigenbau"}},
      {"", "", 18, {"A8 [Estes]", "C6 [Estes]", "C6 [Klima]", "Eigenbau"}},
  };
  for (const auto& c : cases) {
    GuideFilter f;
    if (*c.classes) ParseClassRange(c.classes, f);
    f.maker = c.maker;
    f.maxDiameterMm = c.diameter;
    std::vector<std::string> taken;
    for (const MotorRecord& m : SmallDatabase())
      if (GuideAccepts(f, m)) taken.push_back(m.name.str());
    EXPECT_EQ(taken, c.taken) << c.classes << " / " << c.maker << " / " << c.diameter;
  }
  GuideFilter f;
  EXPECT_THROW(ParseClassRange("C..X9", f), KometError);
  EXPECT_THROW(ParseClassRange("..", f), KometError);
  EXPECT_EQ(ImpulseClassRank("1/2A") + 1, ImpulseClassRank("a"));
}

class MotorGuideTest : public ::testing::Test {
 protected:
  std::vector<GuideRow> Fly(const RocketRecord& rocket, const std::vector<MotorRecord>& motors,
                            unsigned threads, bool cancelled = false) {
    std::vector<std::int32_t> numbers(motors.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = static_cast<std::int32_t>(i);
    MotorGuide guide(rocket, constants, motors, numbers, '.');
    const std::atomic<bool> cancel{cancelled};
    guide.Run(threads, cancel);
    done = guide.done();
    return guide.Rows();
  }

  FixedConstants constants;
  std::size_t done = 0;
};

TEST_F(MotorGuideTest, EachRowIsTheFlightKometSimReportsForThatMotor) {
  const std::vector<MotorRecord> motors = SmallDatabase();
  const RocketRecord rocket = SingleStage(motors[1]);
  const std::vector<GuideRow> rows = Fly(rocket, motors, 2);
  ASSERT_EQ(rows.size(), motors.size());
  for (std::size_t k = 1; k < rows.size(); ++k) EXPECT_GE(rows[k - 1].apogee, rows[k].apogee);
  testing::TempDir dir;
  for (const GuideRow& row : rows) {
    RocketRecord flown = rocket;
    flown.stages[0].motors[0] = motors[static_cast<std::size_t>(row.recordNo)];
    SaveRocketFile(dir.path() / "r.kmw", flown);
    std::ostringstream out, err;
    ASSERT_EQ(RunKometSim({(dir.path() / "r.kmw").string(), "--raw", "--json", "-"}, {}, out, err), 0)
        << err.str();
    const std::string json = out.str();
    auto field = [&](const std::string& key) {
      const std::size_t at = json.find("\"" + key + "\": ");
      return std::stod(json.substr(at + key.size() + 4));
    };
    EXPECT_EQ(row.apogee, field("maxHeight")) << row.motor;
    EXPECT_EQ(row.apogeeTime, field("maxHeightTime")) << row.motor;
    EXPECT_EQ(row.maxVelocity, field("maxVelocity")) << row.motor;
    EXPECT_EQ(row.recommendedDelay, field("recommendedDelay")) << row.motor;
    ASSERT_TRUE(row.bestDelay) << row.motor;
    const std::size_t best = json.find("\"best\": true");
    const std::size_t delay = json.rfind("{\"delay\": ", best);
    EXPECT_EQ(*row.bestDelay, std::stoi(json.substr(delay + 10))) << row.motor;
  }
}

TEST_F(MotorGuideTest, MarksFollowTheWarnings) {
  const std::vector<MotorRecord> motors = SmallDatabase();
  RocketRecord rocket = SingleStage(motors[1]);
  rocket.stages[0].mass = 0.5;  // heavy: the weak motors crawl off the rail or not at all
  for (const GuideRow& row : Fly(rocket, motors, 1)) {
    if (!row.railExitVelocity) {
      EXPECT_EQ(row.mark, GuideRow::Mark::Red) << row.motor;
    } else if (row.warnings.empty()) {
      EXPECT_EQ(row.mark, GuideRow::Mark::Green) << row.motor;
    } else {
      EXPECT_NE(row.mark, GuideRow::Mark::Green) << row.motor;
    }
  }
}

TEST_F(MotorGuideTest, DamagedMotorsAreListedAsNoFlight) {
  std::vector<MotorRecord> motors = SmallDatabase();
  MotorRecord broken = motors[1];
  broken.name.assign("Kaputt");
  broken.burnTime = std::numeric_limits<double>::quiet_NaN();
  broken.curveTime[2] = -5;
  motors.push_back(broken);
  MotorRecord negative = broken;
  negative.name.assign("Negativ");
  negative.burnTime = -1;
  motors.push_back(negative);
  const std::vector<GuideRow> rows = Fly(SingleStage(motors[1]), motors, 2);
  ASSERT_EQ(rows.size(), motors.size());  // none dropped
  for (const GuideRow& row : rows)
    if (row.noFlight) {
      EXPECT_EQ(row.warnings, std::vector<std::string>{"kein Flug"});
      EXPECT_EQ(row.mark, GuideRow::Mark::Red);
    }
  EXPECT_TRUE(rows.back().noFlight || rows.back().mark == GuideRow::Mark::Red) << rows.back().motor;
}

TEST_F(MotorGuideTest, CancelStopsAndLeavesTheRocket) {
  const std::vector<MotorRecord> motors = SmallDatabase();
  const RocketRecord rocket = SingleStage(motors[1]);
  const RocketRecord before = rocket;
  EXPECT_TRUE(Fly(rocket, motors, 2, true).empty());
  EXPECT_EQ(done, 0u);
  EXPECT_TRUE(rocket == before);
}

TEST(MotorGuideOutput, JsonKeysAndNulls) {
  const GuideRow r{.motor = "C6 [Estes]",
                   .maker = "Estes",
                   .apogee = 300.5,
                   .apogeeTime = 7.5,
                   .maxVelocity = 91,
                   .railExitVelocity = 13.5,
                   .thrustToWeight = 6,
                   .recommendedDelay = 5.9,
                   .bestDelay = 5,
                   .ejectionVelocity = -3.25,
                   .warnings = {"Startgeschwindigkeit \"zu\" gering"},
                   .mark = GuideRow::Mark::Green};
  GuideRow none;
  none.motor = "Kaputt";
  none.noFlight = true;
  none.warnings = {"kein Flug"};
  EXPECT_EQ(
      GuideJson(std::vector{r, none}),
      "[\n  {\"motor\": \"C6 [Estes]\", \"maker\": \"Estes\", \"apogee\": 300.5, \"apogeeTime\": 7.5, "
      "\"maxVelocity\": 91, \"railExitVelocity\": 13.5, \"thrustToWeight\": 6, \"recommendedDelay\": "
      "5.9000000000000004, "
      "\"bestDelay\": 5, \"ejectionVelocity\": -3.25, \"noFlight\": false, \"warnings\": "
      "[\"Startgeschwindigkeit "
      "\\\"zu\\\" gering\"]},\n  {\"motor\": \"Kaputt\", \"maker\": null, \"apogee\": 0, \"apogeeTime\": 0, "
      "\"maxVelocity\": 0, \"railExitVelocity\": null, \"thrustToWeight\": 0, \"recommendedDelay\": 0, "
      "\"bestDelay\": null, \"ejectionVelocity\": null, \"noFlight\": true, \"warnings\": [\"kein "
      "Flug\"]}\n]\n");
  const std::string csv = GuideCsv(std::vector{r}, kGermanCsv);
  EXPECT_NE(csv.find("\"C6 [Estes]\";\"Estes\";300,5;7,50;91,0;13,5;6,0;5,9;5;-0,9;-3,2;"), std::string::npos)
      << csv;
}

TEST(MotorGuideCli, RefusesARocketWithoutAMotorToReplace) {
  testing::TempDir dir;
  const auto db = testing::WriteDatabase(dir.path(), SmallDatabase());
  RocketRecord rocket = SingleStage(SmallDatabase()[1]);
  rocket.stages[0].counts = {0, 1, 0};
  SaveRocketFile(dir.path() / "leer.kmw", rocket);
  std::ostringstream out, err;
  EXPECT_EQ(
      RunKometSim({"guide", (dir.path() / "leer.kmw").string(), "--db", db.string(), "--raw"}, {}, out, err),
      2);
  EXPECT_NE(err.str().find("nichts zu ersetzen"), std::string::npos) << err.str();
  SaveRocketFile(dir.path() / "c6.kmw", SingleStage(SmallDatabase()[1]));
  EXPECT_EQ(RunKometSim({"guide", (dir.path() / "c6.kmw").string(), "--db", db.string(), "--raw", "--class",
                         "C", "--json", "-"},
                        {}, out, err),
            0)
      << err.str();
  EXPECT_NE(out.str().find("\"motor\": \"C6 [Klima]\""), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("D12"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace komet
