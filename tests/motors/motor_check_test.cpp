// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_check.h"

#include <gtest/gtest.h>

#include <vector>

#include "motors/catalogue.h"
#include "motors/eng_import.h"
#include "motors/motor_database.h"
#include "motors/motor_naming.h"

namespace komet {
namespace {

// A 10 N·s motor of 1 s: a triangle to 20 N.
MotorRecord File(double propellantKg, double totalKg, double impulseScale = 1.0) {
  MotorRecord m;
  m.propellantMass = propellantKg;
  m.totalMass = totalKg;
  m.curveTime[1] = 0.5;
  m.curveThrust[1] = 20.0 * impulseScale;
  m.curveTime[2] = 1.0;
  m.burnTime = 1.0;
  return m;
}

using Type = MotorDetails::Type;

TEST(MotorCheck, TakesTheDataThatFitPhysicsAndTheSummary) {
  const struct {
    const char* what;
    std::vector<MotorRecord> files;
    PublishedMotor published;
    std::size_t file;
    double propellantKg, totalKg;
    bool corrected, doubtful;
  } cases[] = {
      {"plain", {File(0.010, 0.025)}, {10.0, 0.010, 0.025, Type::SingleUse}, 0, 0.010, 0.025, false, false},
      {"file's total mass typed ten times",
       {File(0.010, 0.250)},
       {10.0, 0.010, 0.025, Type::SingleUse},
       0,
       0.010,
       0.025,
       true,
       false},
      {"summary's propellant typed a hundred times small",
       {File(0.010, 0.025)},
       {10.0, 0.0001, 0.025, Type::SingleUse},
       0,
       0.010,
       0.025,
       false,
       false},
      {"a later file's curve matches the published impulse",
       {File(0.010, 0.025, 0.8), File(0.010, 0.025)},
       {10.0, 0.010, 0.025, Type::SingleUse},
       1,
       0.010,
       0.025,
       true,
       false},
      {"no curve matches",
       {File(0.010, 0.025, 0.8)},
       {10.0, 0.010, 0.025, Type::SingleUse},
       0,
       0.010,
       0.025,
       false,
       true},
      {"solid motor at 1,000 s",
       {File(0.001, 0.025)},
       {10.0, std::nullopt, std::nullopt, Type::SingleUse},
       0,
       0.001,
       0.025,
       false,
       true},
      {"hybrid counting only its grain",
       {File(0.001, 0.025)},
       {10.0, std::nullopt, std::nullopt, Type::Hybrid},
       0,
       0.001,
       0.025,
       false,
       false},
      {"hybrid at 20,000 s",
       {File(0.00005, 0.025)},
       {10.0, std::nullopt, std::nullopt, Type::Hybrid},
       0,
       0.00005,
       0.025,
       false,
       true},
      {"propellant above total, no summary", {File(0.03, 0.025)}, {}, 0, 0.03, 0.025, false, true},
  };
  for (const auto& c : cases) {
    const MotorDataChoice choice = ChooseMotorData(c.files, c.published);
    EXPECT_EQ(choice.file, c.file) << c.what;
    EXPECT_EQ(choice.propellantKg, c.propellantKg) << c.what;
    EXPECT_EQ(choice.totalKg, c.totalKg) << c.what;
    EXPECT_EQ(!choice.correction.empty(), c.corrected) << c.what << ": " << choice.correction;
    EXPECT_EQ(!choice.doubt.empty(), c.doubtful) << c.what << ": " << choice.doubt;
  }
}

// Between the file's and the summary's propellant, the one whose specific
// impulse the propellant can give: the published figures of five motors
// whose summary implies 258–289 s, and two whose summary is right.
TEST(MotorCheck, TakesTheMassesWhoseSpecificImpulseThePropellantGives) {
  const Propellant composite = Propellant::Composite;
  const struct {
    const char* what;
    double curveImpulse, fileKg, fileTotalKg;
    PublishedMotor published;
    double propellantKg;
  } cases[] = {
      {"M1670 [Cesaroni]: 198 s against 289 s",
       6026.35,
       3.101,
       5.231,
       {6041.7, 2.130, 5.231, Type::Reload, composite},
       3.101},
      {"J316: 190 s against 260 s",
       653.90,
       0.3508,
       0.6071,
       {654.3, 0.2563, 0.6071, Type::Reload, composite},
       0.3508},
      {"F24W: 195 s against 259 s",
       48.35,
       0.0253,
       0.062,
       {47.31, 0.019, 0.0629, Type::Reload, composite},
       0.0253},
      {"M1520: 207 s against 259 s",
       7579.08,
       3.737,
       6.718,
       {7579.0, 2.981, 6.718, Type::Reload, composite},
       3.737},
      {"J148, propellant unknown: 138 s against 258 s",
       903.89,
       0.67,
       1.179,
       {903.4, 0.3572, 1.179, Type::Reload, Propellant::Unknown},
       0.67},
      {"composite at 120 s against 200 s",
       10.0,
       0.0085,
       0.025,
       {10.0, 0.0051, 0.025, Type::Reload, composite},
       0.0051},
      {"black powder at 82 s against 150 s",
       10.0,
       0.0125,
       0.025,
       {10.0, 0.0068, 0.025, Type::SingleUse, Propellant::BlackPowder},
       0.0125},
  };
  for (const auto& c : cases) {
    const std::vector<MotorRecord> files{File(c.fileKg, c.fileTotalKg, c.curveImpulse / 10.0)};
    const MotorDataChoice choice = ChooseMotorData(files, c.published);
    EXPECT_EQ(choice.propellantKg, c.propellantKg) << c.what;
    EXPECT_EQ(choice.doubt, "") << c.what;
    // Either way the report says which figure was set aside.
    EXPECT_NE(choice.fileMasses.empty(), choice.correction.empty()) << c.what;
    EXPECT_EQ(choice.fileMasses.empty(), c.propellantKg != c.fileKg) << c.what;
  }
  // No commercial solid reaches 260 s; a hybrid counting its grain may.
  EXPECT_NE(CheckMotorMasses(10.0, 0.0038, 0.025, Type::Reload), "");  // 268 s
  EXPECT_EQ(CheckMotorMasses(10.0, 0.0038, 0.025, Type::Hybrid), "");
}

TEST(MotorNaming, NamesBeginWithClassAndThrustAsTheMakerWritesThem) {
  const struct {
    const char* designation;
    const char* common;
  } cases[] = {{"C6-5", "C6"},        {"1016J360-15A", "J360"}, {"HP-H135W", "H135"},
               {"1/2A3-4T", "1/2A3"}, {"1/8A0.3", "1/8A0.3"},   {"G80T", "G80"},
               {"BB-38-640", ""},     {"MICRO_MAXX", ""},       {"F23-RCW-SK", "F23"}};
  for (const auto& c : cases) EXPECT_EQ(CommonNameOf(c.designation), c.common) << c.designation;
  // The class a motor is sold as, whatever its curve gives.
  EXPECT_EQ(ClassOfCommonName("1/2A3"), "1/2A");
  EXPECT_EQ(ClassOfCommonName("b4"), "B");
  EXPECT_EQ(ClassOfCommonName("BB-38-640"), "");

  const std::vector<MotorIdentity> motors = {
      {"G80", "G80T", "AeroTech"},
      {"G80", "G80W-OLD", "AeroTech"},
      {"G80", "G80", "Estes"},
      {"J360", "J360", "Cesaroni"},
      {"J360", "1016J360-15A", "Cesaroni"},
      {"", "C6-5", "Klima"},
      {"J440", "BB-38-640", "AMW"},
      {"J440", "1109J440-P", "AMW"},
      {"G75", "G75M", "AeroTech"},
      {"G75", "HP-G75M", "AeroTech"},
      {"C6", "C6", "Estes"},
  };
  const std::vector<std::string> expected = {
      "G80T [AeroTech]",
      "G80W-OLD [AeroTech]",
      "G80 [Estes]",
      "J360 [Cesaroni]",
      "J360 (1016J360-15A) [Cesaroni]",
      "C6 [Klima]",
      "J440 (BB-38-640) [AMW]",
      "J440 (1109J440-P) [AMW]",
      "G75M [AeroTech]",
      "G75 (HP-G75M) [AeroTech]",
      "C6 (2) [Estes]",
  };
  EXPECT_EQ(NameMotors(motors, {"c6 [ESTES]"}), expected);
}

// The committed catalogue keeps the rules it was built by: what is not
// marked passes them, and its names run in class order.
TEST(MotorCheck, CommittedCatalogueHoldsItsRules) {
  const std::vector<MotorRecord> motors = BuildCatalogue(KOMET_SOURCE_DIR);
  int lastRank = -1, marked = 0;
  std::string lastName;
  for (const MotorRecord& m : motors) {
    const std::string name = m.name.str();
    const MotorDetails d = ReadMotorDetails(m).value();
    if (d.dataCheck.empty()) {
      EXPECT_EQ(CheckMotorMasses(TotalImpulse(m), m.propellantMass, m.totalMass, d.type), "") << name;
      EXPECT_NEAR(TotalImpulse(m), d.totalImpulse, kSummaryTolerance * d.totalImpulse) << name;
    } else {
      ++marked;
    }
    const std::string common = CommonNameOf(name.substr(0, name.find(' ')));
    ASSERT_FALSE(common.empty()) << name << " does not begin with class and thrust";
    const int rank = ImpulseClassRank(common.starts_with("1/") ? common.substr(0, 4) : common.substr(0, 1));
    // 1/2A, 1/4A, 1/8A sort by their digits; every letter class after them in order.
    if (rank >= 3) {
      EXPECT_GE(rank, lastRank) << name << " after " << lastName;
    }
    if (rank >= 0) lastRank = std::max(lastRank, rank);
    EXPECT_LE(name.size(), 50u);
    lastName = name;
  }
  EXPECT_LT(marked, static_cast<int>(motors.size()) / 10);
}

}  // namespace
}  // namespace komet
