// SPDX-License-Identifier: GPL-3.0-or-later
// The motor guide takes only motors that fit the main stage's mount, and
// a motor heavy enough to leave the rocket unstable is red.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "app/motor_guide.h"
#include "app/sim_cli.h"
#include "common/win1252.h"
#include "motors/motor_details.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

const std::filesystem::path kSource = KOMET_SOURCE_DIR;
const std::filesystem::path kCatalogue = kSource / "catalogue/motoren.kdb";

// Every motor the guide flew for `rocket`, with its diameter and length (mm).
std::map<std::string, std::pair<double, double>> GuideMotors(const std::filesystem::path& rocket) {
  std::map<std::string, std::pair<double, double>> sizes;
  for (const MotorListEntry& e : ReadMotorList(kCatalogue))
    if (e.details) sizes[Cp1252ToUtf8(e.name)] = {e.details->diameterMm, e.details->lengthMm};
  std::ostringstream out, err;
  EXPECT_EQ(RunKometSim({"guide", rocket.string(), "--db", kCatalogue.string(), "--json", "-"}, {}, out, err),
            0)
      << err.str();
  std::map<std::string, std::pair<double, double>> flown;
  const std::string json = out.str();
  const std::string key = "\"motor\": \"";
  for (std::size_t at = json.find(key); at != std::string::npos; at = json.find(key, at + 1)) {
    const std::size_t from = at + key.size();
    const std::string name = json.substr(from, json.find('"', from) - from);
    flown[name] = sizes.count(name) ? sizes[name] : std::pair<double, double>{0, 0};
  }
  return flown;
}

TEST(GuideMount, TheC6ExampleFliesOnlyMotorsForItsEighteenMillimetreMount) {
  const auto all = ReadMotorList(kCatalogue);
  ASSERT_TRUE(std::any_of(all.begin(), all.end(), [](const MotorListEntry& e) {
    return e.details && e.details->diameterMm >= 24.0;
  }));  // the catalogue has wider motors to leave out
  const auto flown = GuideMotors(kSource / "examples/rockets/einstufig_c6.kmw");
  ASSERT_TRUE(flown.count("C6 [Estes]"));
  // Its shape: 18 mm mount, 70 mm long, 5 mm overhang.
  for (const auto& [name, size] : flown) {
    EXPECT_LE(size.first, 18.5) << name;
    EXPECT_LE(size.second, 75.0) << name;
  }
}

// Without its shape file the rocket's C6 (18 x 70 mm) gives the mount.
TEST(GuideMount, WithoutAShapeTheStagesMotorGivesTheMount) {
  testing::TempDir dir;
  std::filesystem::copy_file(kSource / "examples/rockets/einstufig_c6.kmw", dir.path() / "c6.kmw");
  const auto flown = GuideMotors(dir.path() / "c6.kmw");
  ASSERT_TRUE(flown.count("C6 [Estes]"));
  for (const auto& [name, size] : flown) {
    EXPECT_LE(size.first, 18.5) << name;
    EXPECT_LE(size.second, 70.0) << name;
  }
}

MotorRecord SizedMotor(std::string_view name, double thrust, double burnTime, double propellant,
                       double total) {
  MotorRecord m = testing::BoxMotor(name, thrust, burnTime, propellant, total);
  MotorDetails d;
  d.maker = "Test";
  d.diameterMm = 18;
  d.lengthMm = 70;
  d.totalImpulse = thrust * burnTime;
  d.delays = {3, 5, 7};
  WriteMotorDetails(d, m);
  return m;
}

// The 25 mm model of the stability tests: 75 mm cone, 300 mm tube, three
// fins at the aft end; Barrowman puts its centre of pressure 0.316568 m
// behind the tip (worked by hand there). Empty, 40 g balancing at 0.20 m.
// A 70 mm motor standing out 5 mm has its middle at 0.375 + 0.005 - 0.035
// = 0.345 m. With a 24 g motor the balance lies at
// (0.040 * 0.20 + 0.024 * 0.345) / 0.064 = 0.2544 m: 2.5 calibers; with a
// 300 g one at (0.008 + 0.300 * 0.345) / 0.340 = 0.3279 m, behind the
// centre of pressure: -0.455 calibers.
TEST(GuideMount, AMotorThatPullsTheMarginUnderOneCaliberIsRedForInstability) {
  StageShape s;
  s.nose = NoseCone{NoseShape::Cone, 0.075};
  s.bodyLength = 0.300;
  s.diameter = 0.025;
  s.fins = FinSet{3, 0.06, 0.03, 0.05, 0.03, 0.002, 0.0};
  s.mount = MotorMount{0.018, 0.07, 0.005};
  s.emptyCg = 0.20;
  const RocketShape shape{{s}};
  const std::vector<MotorRecord> motors{SizedMotor("Leicht", 12, 1.0, 0.012, 0.024),
                                        SizedMotor("Schwer", 60, 0.8, 0.05, 0.300)};
  const RocketRecord rocket = testing::SingleStageRocket("Balance", motors[0], 0.040);
  MotorGuide guide(rocket, FixedConstants{}, motors, {0, 1}, '.', {}, shape);
  guide.Run(1, std::atomic<bool>{false});
  std::map<std::string, GuideRow> rows;
  for (const GuideRow& r : guide.Rows()) rows[r.motor] = r;
  auto unstable = [](const GuideRow& r) {
    return std::any_of(r.findings.begin(), r.findings.end(),
                       [](const FlightWarning& w) { return w.kind == SafetyRuleId::Unstable; });
  };
  ASSERT_TRUE(rows["Schwer"].stability && rows["Leicht"].stability);
  EXPECT_NEAR(rows["Schwer"].stability->margin, -0.455, 0.005);
  EXPECT_NEAR(rows["Leicht"].stability->margin, 2.487, 0.005);
  EXPECT_TRUE(unstable(rows["Schwer"]));
  EXPECT_EQ(rows["Schwer"].mark, GuideRow::Mark::Red);
  EXPECT_FALSE(unstable(rows["Leicht"]));
}

}  // namespace
}  // namespace komet
