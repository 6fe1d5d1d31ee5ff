// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/komet_error.h"
#include "examples/eng_examples.h"
#include "motors/eng_import.h"
#include "motors/motor_check.h"

namespace komet {
namespace {

const std::filesystem::path kSource = KOMET_SOURCE_DIR;

const Examples& Built() {
  static const Examples examples = BuildExamples(kSource);
  return examples;
}

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
  return ReadFilePrefix(path, RocketRecord::kSize * 4);
}

const MotorRecord& Motor(std::string_view name) {
  const auto& motors = Built().motors;
  const auto it =
      std::find_if(motors.begin(), motors.end(), [&](const auto& m) { return m.name.view() == name; });
  if (it == motors.end()) throw std::runtime_error("no motor " + std::string(name));
  return *it;
}

const RocketRecord& Rocket(std::string_view fileName) {
  for (const ExampleRocket& r : Built().rockets)
    if (r.file.filename() == fileName) return r.rocket;
  throw std::runtime_error("no rocket " + std::string(fileName));
}

double LiftOffMass(const RocketRecord& rocket) {
  double mass = 0.0;
  for (const StageRecord& s : rocket.stages) {
    if (s.absent) continue;
    mass += s.mass;
    for (std::size_t j = 0; j < kSlotCount; ++j) mass += s.counts[j] * s.motors[j].totalMass;
  }
  return mass;
}

// --- the committed files are what the sources make ---

TEST(Examples, CommittedRocketsAreCurrentAndNoneIsLeftOver) {
  std::set<std::filesystem::path> described;
  for (const ExampleRocket& r : Built().rockets) {
    std::vector<std::uint8_t> expected(RocketRecord::kSize);
    EncodeRocketRecord(r.rocket, expected);
    EXPECT_TRUE(FileBytes(r.file) == expected) << r.file << " is stale: run komet-make-examples";
    described.insert(r.file.filename());
  }
  std::set<std::filesystem::path> committed;
  for (const auto& entry : std::filesystem::directory_iterator(kSource / kExampleRocketDir))
    if (entry.path().extension() == ".kmw") committed.insert(entry.path().filename());
  EXPECT_EQ(committed, described);
  EXPECT_TRUE(described.contains("einstufig_c6.kmw"));  // the file the run script opens
}

// --- the bundled motors match the published check values ---

TEST(Examples, MotorsMatchThePublishedFigures) {
  // Total impulse, burn time and peak thrust as the makers publish them; the
  // curves may differ from the summary by a few percent.
  const struct {
    const char* name;
    double impulse, burnTime, peak, propellant, total;
  } published[] = {
      {"A8 [Estes]", 2.32, 0.73, 9.73, 0.0033, 0.0163}, {"B6 [Estes]", 4.3, 0.86, 12.1, 0.0056, 0.0191},
      {"C6 [Estes]", 8.8, 1.86, 14.1, 0.0108, 0.0231},  {"D12 [Estes]", 16.8, 1.65, 29.7, 0.0211, 0.0426},
      {"C6 [Klima]", 9.9, 1.70, 15.0, 0.0096, 0.0205},
  };
  for (const auto& p : published) {
    const MotorRecord& m = Motor(p.name);
    EXPECT_NEAR(TotalImpulse(m), p.impulse, 0.05 * p.impulse) << p.name;
    EXPECT_NEAR(m.burnTime, p.burnTime, 0.1 * p.burnTime) << p.name;
    EXPECT_NEAR(m.maxThrust, p.peak, 0.05 * p.peak) << p.name;
    // The catalogue takes masses within its check's tolerance of the summary.
    EXPECT_NEAR(m.propellantMass, p.propellant, kSummaryTolerance * p.propellant) << p.name;
    EXPECT_NEAR(m.totalMass, p.total, kSummaryTolerance * p.total) << p.name;
    EXPECT_EQ(m.curveTime[0], 0.0) << p.name;
    EXPECT_EQ(m.curveThrust[CurvePointCount(m) - 1], 0.0) << p.name;
  }
  EXPECT_EQ(Motor("C6 [Estes]").delays, (std::array<std::int8_t, 4>{3, 5, 7, 0}));
}

// --- the sample rockets ---

TEST(Examples, SingleStageRocketFliesOneEstesC6) {
  const RocketRecord& r = Rocket("einstufig_c6.kmw");
  EXPECT_TRUE(HasRocketMagic(r));
  EXPECT_EQ(r.name.view(), "Einstufer C6");
  EXPECT_EQ(r.cw, 0.62);
  const StageRecord& s = r.stages[0];
  EXPECT_EQ(s.mass, 48.0 / 1000);
  EXPECT_EQ(s.diameter, 25.0 / 1000);
  EXPECT_EQ(s.otherArea, 0.0);
  EXPECT_EQ(s.counts, (std::array<std::int32_t, 3>{1, 0, 0}));
  EXPECT_EQ(s.motors[0], Motor("C6 [Estes]"));
  EXPECT_EQ(s.motors[0].totalMass, 0.0231);  // Estes, not Klima
  EXPECT_NEAR(LiftOffMass(r), 0.0711, 1e-12);

  // Unused slots and the absent stages hold nothing.
  RocketRecord empty;
  InitRakete(empty);
  EXPECT_EQ(s.motors[1], empty.stages[0].motors[1]);
  for (std::size_t i : {1, 2}) {
    StageRecord absent = empty.stages[i];
    absent.absent = 1;
    EXPECT_EQ(r.stages[i], absent) << "stage " << i + 1;
  }
}

TEST(Examples, StagedAndClusteredRocketsHoldTheIntendedMotors) {
  const RocketRecord& two = Rocket("zweistufig.kmw");
  EXPECT_EQ(two.stages[0].motors[0], Motor("C6 [Klima]"));
  EXPECT_EQ(two.stages[1].motors[0], Motor("B6 [Estes]"));
  EXPECT_EQ(two.stages[1].ignitionDelay, 0.0);
  EXPECT_EQ(two.stages[2].absent, 1);
  EXPECT_NEAR(LiftOffMass(two), 0.06822, 1e-12);

  const RocketRecord& three = Rocket("dreistufig.kmw");
  EXPECT_EQ(three.stages[0].motors[0], Motor("A8 [Estes]"));
  EXPECT_EQ(three.stages[1].motors[0], Motor("C6 [Estes]"));
  EXPECT_EQ(three.stages[2].motors[0], Motor("D12 [Estes]"));
  EXPECT_EQ(three.stages[1].ignitionDelay, 0.25);
  EXPECT_EQ(three.stages[2].otherArea, 80.0 / 1000000);
  for (const StageRecord& s : three.stages) EXPECT_EQ(s.absent, 0);

  const RocketRecord& cluster = Rocket("buendel.kmw");
  EXPECT_EQ(cluster.stages[0].counts, (std::array<std::int32_t, 3>{3, 0, 0}));
  EXPECT_EQ(cluster.stages[0].motors[0], Motor("C6 [Estes]"));
  EXPECT_EQ(cluster.name.view(), "B\xFCndel 3 x C6");  // Windows-1252
  EXPECT_NEAR(LiftOffMass(cluster), 0.1313, 1e-12);
}

TEST(Examples, NotesAreWindows1252WithCrLfAndZeroTerminated) {
  for (const ExampleRocket& r : Built().rockets) {
    const std::string notes = NotesText(r.rocket);
    ASSERT_FALSE(notes.empty()) << r.file;
    EXPECT_LT(notes.size(), RocketRecord::kNotesSize) << r.file;
    EXPECT_EQ(r.rocket.notes[notes.size()], 0) << r.file;
    for (std::size_t i = 0; i < notes.size(); ++i) {
      if (notes[i] == '\n') {
        EXPECT_TRUE(i > 0 && notes[i - 1] == '\r') << r.file;
      }
      if (notes[i] == '\r') {
        EXPECT_TRUE(i + 1 < notes.size() && notes[i + 1] == '\n') << r.file;
      }
      EXPECT_NE(static_cast<unsigned char>(notes[i]), 0xC3) << r.file << ": UTF-8 left in the notes";
    }
  }
  EXPECT_NE(NotesText(Rocket("einstufig_c6.kmw")).find("F\xFCr den ersten Flug"), std::string::npos);
}

// --- descriptions the generator refuses ---

TEST(ExampleRocket, RefusesWhatTheStageDialogCouldNotHold) {
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"name = X\n[Hauptstufe]\nmotor = 1 E9\n", "t.txt, Zeile 3: Motor \"E9\" nicht in der Datenbank"},
      {"[Hauptstufe]\nmotor = 1 C6 [Estes]\nmotor = 2 C6 [Estes]\n",
       "t.txt, Zeile 3: gleicher Motor in zwei benachbarten Plätzen; die Anzahlen zusammenfassen"},
      {"[Hauptstufe]\nmotor = 21 C6 [Estes]\n",
       "t.txt, Zeile 2: \"motor = ANZAHL NAME\" mit einer Anzahl von 1 bis 20 erwartet"},
      {"[Hauptstufe]\nmotor = 1 C6 [Estes]\nverzoegerung_s = 1\n",
       "t.txt, Zeile 3: unbekannter Schlüssel \"verzoegerung_s\""},
      {"[Stufe 2]\nmotor = 1 C6 [Estes]\n",
       "t.txt, Zeile 1: Stufen in der Reihenfolge Hauptstufe, Stufe 2, Stufe 3 beschreiben"},
      {"[Hauptstufe]\nmotor = 1 C6 [Estes]\n[Stufe 2]\nmasse_g = 3\n",
       "t.txt, Zeile 4: jede beschriebene Stufe braucht einen Motor"},
      {"cw = 0,6\n", "t.txt, Zeile 1: \"0,6\" ist keine gültige Zahl"},
  };
  for (const auto& c : cases) {
    try {
      BuildExampleRocket(c.text, Built().motors, "t.txt");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const KometError& e) {
      EXPECT_EQ(std::string(e.what()), c.error);
    }
  }
}

}  // namespace
}  // namespace komet
