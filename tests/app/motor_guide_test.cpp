// SPDX-License-Identifier: GPL-3.0-or-later
// The motor guide: which motors it flies, that each row is the flight
// komet-sim reports for that motor, and that it can be stopped.
#include "app/motor_guide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/sim_cli.h"
#include "common/komet_error.h"
#include "model/rocket_file.h"
#include "motors/eng_import.h"
#include "motors/motor_details.h"
#include "sim/flight_analysis.h"
#include "support/motor_fixtures.h"
#include "support/recovery_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

MotorRecord Catalogued(std::string_view name, double thrust, double burnTime, const char* maker,
                       double diameter, double length = 70) {
  MotorRecord m = testing::BoxMotor(name, thrust, burnTime, 0.01, 0.025);
  m.delays = {3, 5, 7, 0};
  MotorDetails d;
  d.maker = maker;
  d.designation = std::string(name);
  d.diameterMm = diameter;
  d.lengthMm = length;
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
  return {Catalogued("A8 [Estes]", 4, 0.5, "Estes", 18),
          Catalogued("C6 [Estes]", 6, 1.5, "Estes", 18),
          Catalogued("C6 [Klima]", 7, 1.4, "Klima", 18),
          Catalogued("D12 [Estes]", 12, 1.6, "Estes", 24),
          Catalogued("F30 [AeroTech]", 30, 1.6, "AeroTech", 29, 124),
          testing::BoxMotor("Eigenbau", 5, 1.0)};
}

TEST(MotorGuideFilter, TakesTheMotorsThatFitEveryFilter) {
  const struct {
    const char* classes;
    const char* maker;
    double diameter;
    std::vector<std::string> taken;
    double length = 0;
  } cases[] = {
      {"", "", 0, {"A8 [Estes]", "C6 [Estes]", "C6 [Klima]", "D12 [Estes]", "F30 [AeroTech]", "Eigenbau"}},
      {"C..D", "", 0, {"C6 [Estes]", "C6 [Klima]", "D12 [Estes]", "Eigenbau"}},
      {"C", "", 0, {"C6 [Estes]", "C6 [Klima]", "Eigenbau"}},  // 5.0 N s by its curve
      {"..B", "", 0, {"A8 [Estes]"}},
      {"E..", "", 0, {"F30 [AeroTech]"}},
      {"", "estes", 0, {"A8 [Estes]", "C6 [Estes]", "D12 [Estes]"}},  // without details: no maker
      {"", "", 24, {"A8 [Estes]", "C6 [Estes]", "C6 [Klima]", "D12 [Estes]", "Eigenbau"}},
      {"", "", 18, {"A8 [Estes]", "C6 [Estes]", "C6 [Klima]", "Eigenbau"}},
      // A motor longer than the mount is no candidate; one of unknown length is.
      {"", "", 0, {"A8 [Estes]", "C6 [Estes]", "C6 [Klima]", "D12 [Estes]", "Eigenbau"}, 100},
      {"",
       "",
       0,
       {"A8 [Estes]", "C6 [Estes]", "C6 [Klima]", "D12 [Estes]", "F30 [AeroTech]", "Eigenbau"},
       124},
  };
  for (const auto& c : cases) {
    GuideFilter f;
    if (*c.classes) ParseClassRange(c.classes, f);
    f.maker = c.maker;
    f.maxDiameterMm = c.diameter;
    f.maxLengthMm = c.length;
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
    MotorGuide guide(rocket, constants, motors, numbers, '.', safety);
    const std::atomic<bool> cancel{cancelled};
    guide.Run(threads, cancel);
    done = guide.done();
    return guide.Rows();
  }

  FixedConstants constants;
  SafetyInputs safety;
  std::size_t done = 0;
};

TEST_F(MotorGuideTest, EachRowIsTheFlightKometSimReportsForThatMotor) {
  const std::vector<MotorRecord> motors = SmallDatabase();
  const RocketRecord rocket = SingleStage(motors[1]);
  const std::vector<GuideRow> rows = Fly(rocket, motors, 2);
  ASSERT_EQ(rows.size(), motors.size());
  EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), GuideBefore));
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

TEST_F(MotorGuideTest, MarksFollowTheWorstRule) {
  const std::vector<MotorRecord> motors = SmallDatabase();
  RocketRecord rocket = SingleStage(motors[1]);
  rocket.stages[0].mass = 0.5;  // heavy: the weak motors crawl off the rail or not at all
  for (const GuideRow& row : Fly(rocket, motors, 1)) {
    bool red = false;
    for (const FlightWarning& w : row.findings) red = red || w.level() == SafetyLevel::Red;
    const GuideRow::Mark expected = red                    ? GuideRow::Mark::Red
                                    : row.findings.empty() ? GuideRow::Mark::Green
                                                           : GuideRow::Mark::Amber;
    EXPECT_EQ(row.mark, expected) << row.motor;
    EXPECT_TRUE(row.railExitVelocity || row.mark == GuideRow::Mark::Red) << row.motor;
  }
}

// What the guide must never call green: a flight near the speed of sound,
// one cut off before its apogee, a plugged motor on top of a single stage.
TEST_F(MotorGuideTest, UnsafeFlightsAreNeverGreen) {
  std::vector<MotorRecord> motors = SmallDatabase();
  MotorRecord plugged = Catalogued("C6-P [Estes]", 6, 1.5, "Estes", 18);
  plugged.delays = {0, 0, 0, 0};
  MotorDetails d = *ReadMotorDetails(plugged);
  d.delays.clear();
  d.plugged = true;
  WriteMotorDetails(d, plugged);
  motors.push_back(plugged);
  motors.push_back(Catalogued("O8000 [Riesig]", 8000, 5, "Riesig", 18));
  auto rule = [](const GuideRow& row, SafetyRuleId id) {
    return std::any_of(row.findings.begin(), row.findings.end(),
                       [&](const FlightWarning& w) { return w.kind == id; });
  };
  const std::vector<GuideRow> rows = Fly(SingleStage(motors[1]), motors, 2);
  int green = 0;
  for (const GuideRow& row : rows) {
    EXPECT_TRUE(row.motor != "C6-P [Estes]" || rule(row, SafetyRuleId::PluggedTopStage));
    EXPECT_TRUE(row.maxVelocity < 0.8 * 340 || rule(row, SafetyRuleId::NearSpeedOfSound)) << row.motor;
    if (row.mark == GuideRow::Mark::Green) ++green;
    EXPECT_TRUE(row.mark != GuideRow::Mark::Green ||
                (row.maxVelocity < 272 && row.motor != "C6-P [Estes]" && row.delayFits()))
        << row.motor;
  }
  EXPECT_GT(green, 0);
  EXPECT_EQ(rows.back().mark, GuideRow::Mark::Red);
  constants.calcPeriod = 1.0;  // every flight off the rail cut off while it climbs
  for (const GuideRow& row : Fly(SingleStage(motors[1]), motors, 2))
    EXPECT_TRUE(!row.railExitVelocity || rule(row, SafetyRuleId::ApogeeNotReached)) << row.motor;
}

// With the rocket's parachute each candidate flies to landing; the charge
// opens it after the candidate's own best delay, not the rocket's motor's.
// Opened at apogee by electronics, a plugged motor is no longer red.
TEST_F(MotorGuideTest, RecoveryFliesEachCandidateToLanding) {
  std::vector<MotorRecord> motors = SmallDatabase();
  motors.pop_back();  // "Eigenbau" has no delays
  MotorRecord plugged = Catalogued("C6-P [Estes]", 6, 1.5, "Estes", 18);
  MotorDetails d = *ReadMotorDetails(plugged);
  d.delays.clear();
  d.plugged = true;
  WriteMotorDetails(d, plugged);
  plugged.delays = {0, 0, 0, 0};
  motors.push_back(plugged);
  RocketRecord rocket = SingleStage(motors[1]);
  // The delay is the rocket's own motor's; no candidate keeps it.
  Recovery chute = testing::Chute(300, Recovery::Deployment::Delay, 25);
  WriteRecovery(rocket, chute);
  for (const GuideRow& row : Fly(rocket, motors, 2)) {
    if (!row.bestDelay) continue;
    ASSERT_TRUE(row.landingSpeed && row.drift) << row.motor;
    FlightPlan own = MakeFlightPlan(rocket, constants);
    own.stages[0].motors[0] = &motors[static_cast<std::size_t>(row.recordNo)];
    chute.delay = *row.bestDelay;
    own.recovery = StoredRecovery(chute);
    Simulation sim;
    sim.Run(own);
    // The guide computes the steady end of the descent rather than flying it.
    const RecoveryFigures flown = *MeasureRecovery(sim);
    EXPECT_NEAR(*row.landingSpeed, flown.landingSpeed, 0.002 * flown.landingSpeed) << row.motor;
    EXPECT_NEAR(*row.drift, flown.drift, 0.002 * flown.drift) << row.motor;
  }
  chute.deployment = Recovery::Deployment::Apogee;
  WriteRecovery(rocket, chute);
  for (const GuideRow& row : Fly(rocket, motors, 1)) {
    ASSERT_TRUE(row.landingSpeed) << row.motor;
    for (const FlightWarning& w : row.findings) EXPECT_NE(w.kind, SafetyRuleId::PluggedTopStage) << row.motor;
  }
}

// Each candidate's recommended and best delay and its ejection speed come
// from its flight without recovery: the chute its best delay opens, or one
// opened at apogee, leaves them as without a chute.
TEST_F(MotorGuideTest, DelayAdviceIsThatOfTheFlightWithoutRecovery) {
  std::vector<MotorRecord> motors = SmallDatabase();
  motors.pop_back();  // "Eigenbau" has no delays
  RocketRecord rocket = SingleStage(motors[1]);
  const std::vector<GuideRow> bare = Fly(rocket, motors, 2);
  for (const Recovery::Deployment how : {Recovery::Deployment::Delay, Recovery::Deployment::Apogee}) {
    WriteRecovery(rocket, testing::Chute(600, how, 3));
    const std::vector<GuideRow> rows = Fly(rocket, motors, 2);
    ASSERT_EQ(rows.size(), bare.size());
    bool flightChanged = false;
    for (const GuideRow& row : rows) {
      const auto same =
          std::find_if(bare.begin(), bare.end(), [&](const GuideRow& b) { return b.motor == row.motor; });
      ASSERT_NE(same, bare.end()) << row.motor;
      ASSERT_TRUE(row.landingSpeed) << row.motor;
      EXPECT_EQ(row.recommendedDelay, same->recommendedDelay) << row.motor;
      EXPECT_EQ(row.bestDelay, same->bestDelay) << row.motor;
      EXPECT_EQ(row.ejectionVelocity, same->ejectionVelocity) << row.motor;
      flightChanged = flightChanged || row.apogeeTime != same->apogeeTime;
    }
    // A best delay before the apogee opens the chute while the rocket climbs.
    if (how == Recovery::Deployment::Delay) {
      EXPECT_TRUE(flightChanged);
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
      ASSERT_EQ(row.findings.size(), 1u);
      EXPECT_EQ(row.findings[0].kind, SafetyRuleId::NoFlight);
      EXPECT_EQ(row.findings[0].text, "kein Flug");
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
                   .landingSpeed = 4.5,
                   .drift = 350,
                   .onField = false,
                   .stability = std::nullopt,
                   .findings = {{SafetyRuleId::RailExitSpeed, 0, 13.5, "Startgeschwindigkeit \"zu\" gering"}},
                   .remedies = {{SafetyRuleId::RailExitSpeed, "mit 1,5 m Schiene", 1.5}},
                   .mark = GuideRow::Mark::Red};
  GuideRow none;
  none.motor = "Kaputt";
  none.noFlight = true;
  none.findings = {{SafetyRuleId::NoFlight, 0, 0.0, "kein Flug"}};
  none.mark = GuideRow::Mark::Red;
  EXPECT_EQ(
      GuideJson(std::vector{r, none}),
      "[\n  {\"motor\": \"C6 [Estes]\", \"maker\": \"Estes\", \"apogee\": 300.5, \"apogeeTime\": 7.5, "
      "\"maxVelocity\": 91, \"railExitVelocity\": 13.5, \"stability\": null, \"thrustToWeight\": 6, "
      "\"recommendedDelay\": "
      "5.9000000000000004, "
      "\"bestDelay\": 5, \"ejectionVelocity\": -3.25, \"landingVelocity\": 4.5, \"drift\": 350, "
      "\"noFlight\": false, \"mark\": \"red\", "
      "\"rules\": [\"railExitSpeed\"], \"warnings\": [\"Startgeschwindigkeit "
      "\\\"zu\\\" gering\"], \"remedies\": [{\"rule\": \"railExitSpeed\", \"text\": \"mit 1,5 m Schiene\", "
      "\"value\": 1.5}]},\n  {\"motor\": \"Kaputt\", \"maker\": null, \"apogee\": 0, \"apogeeTime\": 0, "
      "\"maxVelocity\": 0, \"railExitVelocity\": null, \"stability\": null, \"thrustToWeight\": 0, "
      "\"recommendedDelay\": 0, "
      "\"bestDelay\": null, \"ejectionVelocity\": null, \"landingVelocity\": null, \"drift\": null, "
      "\"noFlight\": true, \"mark\": \"red\", "
      "\"rules\": [\"noFlight\"], \"warnings\": [\"kein Flug\"], \"remedies\": []}\n]\n");
  const std::string csv = GuideCsv(std::vector{r}, kGermanCsv);
  EXPECT_NE(csv.find("\"C6 [Estes]\";\"Estes\";300,5;7,50;91,0;13,5;6,0;5,9;5;-0,9;-3,2;4,5;350;rot;\"Start"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("gering\";\"mit 1,5 m Schiene\"\r\n"), std::string::npos) << csv;
}

GuideRow Row(const char* motor, GuideRow::Mark mark, std::optional<int> best, double recommended,
             double apogee, double maxVelocity, std::optional<bool> onField = std::nullopt) {
  GuideRow r;
  r.motor = motor;
  r.mark = mark;
  r.bestDelay = best;
  r.recommendedDelay = recommended;
  r.apogee = apogee;
  r.maxVelocity = maxVelocity;
  r.onField = onField;
  return r;
}

// Safe first, then landing on the field (a landing not judged, without
// recovery, counts as on it), then the fit of the delay (within half the
// band, within it, outside, none), then the apogee. Any two of these keys
// swapped, or a landing not judged taken as off the field or as better
// than on it, moves a row; neither apogee, speed nor the recommended delay
// alone give this order.
TEST(MotorGuideOrder, SafeThenOnTheFieldThenFittingDelayThenApogee) {
  using enum GuideRow::Mark;
  const std::vector<GuideRow> expected = {
      Row("grün, passt gut, hoch", Green, 5, 5.5, 400, 120, true),  // 0.5 s of a 1.5 s band
      Row("grün, passt gut, tief", Green, 5, 4.7, 300, 150),        // 0.3 s: closer, but in the same half
      Row("grün, passt knapp", Green, 7, 5.8, 900, 100, true),      // 1.2 s
      Row("grün, passt nicht", Green, 3, 7.0, 950, 90),             // 4 s off
      Row("grün, ohne Verzögerung", Green, std::nullopt, 6.0, 1000, 80, true),
      Row("gelb, auf dem Feld, passt nicht", Amber, 3, 7.0, 500, 130, true),
      Row("gelb, ohne Bergung, ohne Verzögerung", Amber, std::nullopt, 6.0, 1500, 200),
      Row("gelb, außerhalb, passt gut", Amber, 5, 5.0, 2000, 260, false),
      Row("rot, auf dem Feld, passt gut", Red, 8, 8.0, 3000, 500, true),
      Row("rot, passt nicht", Red, 3, 9.0, 3500, 600),
      Row("rot, außerhalb, passt gut, höher", Red, 8, 8.0, 3600, 550, false),
  };
  for (std::size_t shift = 1; shift < expected.size(); ++shift) {
    std::vector<GuideRow> rows = expected;
    std::rotate(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(shift), rows.end());
    std::stable_sort(rows.begin(), rows.end(), GuideBefore);
    for (std::size_t k = 0; k < rows.size(); ++k) EXPECT_EQ(rows[k].motor, expected[k].motor) << shift;
  }
}

TEST(MotorGuideOrder, FlightLimitsHideRows) {
  using enum GuideRow::Mark;
  const std::vector<GuideRow> rows = {Row("grün", Green, 5, 5.0, 300, 100),
                                      Row("gelb", Amber, 5, 5.0, 600, 200),
                                      Row("schief", Green, 3, 9.0, 800, 150)};
  const struct {
    double minApogee, maxApogee, maxVelocity;
    bool onlyGreen, matchingDelay;
    std::vector<std::string> shown;
  } cases[] = {
      {0, 0, 0, false, false, {"grün", "gelb", "schief"}},
      {0, 0, 0, true, false, {"grün", "schief"}},
      {0, 0, 0, false, true, {"grün", "gelb"}},
      {300, 0, 0, false, false, {"grün", "gelb", "schief"}},
      {301, 0, 0, false, false, {"gelb", "schief"}},
      {0, 600, 0, false, false, {"grün", "gelb"}},
      {0, 0, 150, false, false, {"grün", "schief"}},
  };
  for (const auto& c : cases) {
    GuideFilter f;
    f.minApogee = c.minApogee;
    f.maxApogee = c.maxApogee;
    f.maxVelocity = c.maxVelocity;
    f.onlyGreen = c.onlyGreen;
    f.matchingDelayOnly = c.matchingDelay;
    std::vector<std::string> shown;
    for (const GuideRow& r : rows)
      if (GuideShows(f, r)) shown.push_back(r.motor);
    EXPECT_EQ(shown, c.shown) << c.minApogee << " " << c.maxApogee << " " << c.maxVelocity;
  }
}

TEST(MotorGuideCli, JsonRowsCarryMarkAndRulesInTheGuidesOrder) {
  testing::TempDir dir;
  const auto db = testing::WriteDatabase(dir.path(), SmallDatabase());
  SaveRocketFile(dir.path() / "c6.kmw", SingleStage(SmallDatabase()[1]));
  std::ostringstream out, err;
  ASSERT_EQ(RunKometSim({"guide", (dir.path() / "c6.kmw").string(), "--db", db.string(), "--raw",
                         "--diameter", "0", "--length", "0", "--max-speed", "1000", "--json", "-"},
                        {}, out, err),
            0)
      << err.str();
  const std::string json = out.str();
  std::string marks;
  for (std::size_t at = json.find("\"mark\": \""); at != std::string::npos;
       at = json.find("\"mark\": \"", at + 1))
    marks += json[at + 9];
  EXPECT_EQ(marks.size(), SmallDatabase().size()) << json;
  EXPECT_TRUE(std::is_sorted(marks.begin(), marks.end(), [](char a, char b) {
    return std::string_view("gar").find(a) < std::string_view("gar").find(b);
  })) << marks;
  EXPECT_NE(json.find("\"rules\": [\"noRailExit\""), std::string::npos) << json;  // the A8 on 40 g
  EXPECT_EQ(
      RunKometSim({"guide", (dir.path() / "c6.kmw").string(), "--db", db.string(), "--raw", "--length", "x"},
                  {}, out, err),
      2);
  std::ostringstream help;
  EXPECT_EQ(RunKometSim({"guide", "--help"}, {}, help, err), 0);
  for (const char* option :
       {"--length", "--max-speed", "--field-radius", "--ceiling", "--height-limit", "--green"})
    EXPECT_NE(help.str().find(option), std::string::npos) << option;
}

// The parachute example with the catalogue and the default field (150 m):
// no row that drifts beyond the field is green, so the first green row lands
// on it; at 5 m/s wind none does with this rail, at 2 m/s one does and
// comes first. The text begins with the field, the wind and the mount.
TEST(MotorGuideCli, TheFirstGreenRowOfTheParachuteExampleLandsOnTheField) {
  const std::filesystem::path source = KOMET_SOURCE_DIR;
  const std::string rocket = (source / "examples/rockets/einstufig_c6_fallschirm.kmw").string();
  const std::string catalogue = (source / "catalogue/motoren.kdb").string();
  for (const char* wind : {"5", "2"}) {
    std::ostringstream out, err;
    ASSERT_EQ(RunKometSim({"guide", rocket, "--db", catalogue, "--no-site", "--wind", wind, "--json", "-"},
                          {}, out, err),
              0)
        << err.str();
    const std::string json = out.str();
    std::vector<std::pair<std::string, double>> rows;  // mark, drift (0 without recovery)
    for (std::size_t at = json.find("{\"motor\""); at != std::string::npos;
         at = json.find("{\"motor\"", at + 1)) {
      const std::size_t mark = json.find("\"mark\": \"", at) + 9;
      const std::size_t drift = json.find("\"drift\": ", at) + 9;
      rows.emplace_back(json.substr(mark, json.find('"', mark) - mark),
                        json.compare(drift, 4, "null") == 0 ? 0.0 : std::stod(json.substr(drift)));
    }
    ASSERT_GT(rows.size(), 10u) << json;
    for (const auto& [mark, drift] : rows)
      EXPECT_TRUE(mark != "green" || drift <= 150.0) << wind << ": " << drift;
    const auto green =
        std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.first == "green"; });
    if (std::string_view(wind) == "2") {
      ASSERT_TRUE(green == rows.begin()) << json;
      EXPECT_LE(green->second, 150.0);
    }
  }
  // The mount of the shape file: 18 mm, 70 mm long with 5 mm overhang.
  const std::string plain = (source / "examples/rockets/einstufig_c6.kmw").string();
  for (const std::string& r : {rocket, plain}) {
    std::ostringstream text, err;
    ASSERT_EQ(RunKometSim({"guide", r, "--db", catalogue, "--no-site", "--ceiling", "300"}, {}, text, err), 0)
        << err.str();
    const std::string head = text.str().substr(0, text.str().find('\n'));
    for (const char* part : {"Radius 150 m", "Höhengrenze 300 m", "Wind 5.0 m/s", "Ø 18 mm, 75 mm"})
      EXPECT_NE(head.find(part), std::string::npos) << part << " in " << head;
    EXPECT_EQ(head.find("Landung nicht beurteilt") != std::string::npos, r == plain) << head;
  }
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
