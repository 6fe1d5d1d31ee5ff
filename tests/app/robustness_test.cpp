// Opening files that are not what they claim, the way the desktop program
// opens them: each gives its message, and a rocket that loads flies sanely.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "app/document.h"
#include "motors/motor_database.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::BoxMotor;

struct RecordingPrompts : Prompts {
  std::vector<std::string> errors, warnings;
  SaveAnswer AskSave(const std::string&) override { return SaveAnswer::Cancel; }
  bool AskOverwrite(const std::filesystem::path&) override { return false; }
  std::optional<std::filesystem::path> ChooseOpenFile() override { return std::nullopt; }
  std::optional<std::filesystem::path> ChooseSaveFile() override { return std::nullopt; }
  void ShowError(const std::string& m) override { errors.push_back(m); }
  void ShowWarning(const std::string& m) override { warnings.push_back(m); }
};

struct SilentViews : DocumentViews {
  std::string notes;
  bool ShowStageDialog() override { return true; }
  void SetNotes(const std::string& n) override { notes = n; }
  void RocketReset() override {}
};

class LoadRobustness : public ::testing::Test {
 protected:
  LoadRobustness() : doc(constants, [this] { return db; }) {}
  void SetUp() override {
    db = testing::WriteDatabase(dir.path(), {BoxMotor("C6", 6, 1.8), BoxMotor("c6", 5, 1.7)});
    doc.ReloadMotorDatabase();
  }
  // A single-stage rocket with a C6, as a file holds it.
  RocketRecord Rocket() const {
    RocketRecord r;
    InitRakete(r);
    r.name.assign("Robust");
    r.cw = 0.6;
    r.stages[0].mass = 0.03;
    r.stages[0].diameter = 0.025;
    r.stages[0].motors[0] = BoxMotor("C6", 6, 1.8);
    r.stages[0].counts[0] = 1;
    return r;
  }
  std::filesystem::path File(const Bytes& bytes, const std::string& name = "r.kmw") const {
    const auto path = dir.path() / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
  }
  static Bytes Encoded(const RocketRecord& r) {
    Bytes b(RocketRecord::kSize);
    EncodeRocketRecord(r, b);
    return b;
  }
  void ExpectSaneFlight(const std::string& what) const {
    const Simulation& sim = doc.simulation();
    const std::size_t last = sim.lastSample();
    ASSERT_LE(last, static_cast<std::size_t>(kMaxSteps)) << what;
    EXPECT_EQ(sim.samples()[last + 1].time, kEndMarkerTime) << what;
    for (std::size_t n = 1; n <= last; ++n) {
      const FlightSample& s = sim.samples()[n];
      for (double x : {s.thrust, s.height, s.force, s.accel, s.velocity, s.propellantUsed})
        ASSERT_TRUE(std::isfinite(x)) << what << ", sample " << n;
    }
  }

  testing::TempDir dir;
  std::filesystem::path db;
  FixedConstants constants;
  Document doc;
  RecordingPrompts prompts;
  SilentViews views;
};

TEST_F(LoadRobustness, EachKindOfBadFileGivesItsMessage) {
  const Bytes good = Encoded(Rocket());
  Bytes otherMagic = good;
  otherMagic[12] = 'X';
  Bytes longer = good;
  longer.resize(good.size() + 4096, 0xEE);
  const struct {
    const char* what;
    Bytes bytes;
    bool loads;
    std::size_t warnings;
    const char* message;  // part of the error, or nullptr
  } cases[] = {
      {"empty file", {}, true, 1, nullptr},  // the empty rocket, as far as it goes
      {"part of the magic", Bytes(good.begin(), good.begin() + 7), true, 1, nullptr},
      {"not a rocket", Bytes{'h', 'a', 'l', 'l', 'o'}, false, 0, "ist keine Komet-Raketendatei"},
      {"another magic", otherMagic, false, 0, "ist keine Komet-Raketendatei"},
      {"cut after the magic", Bytes(good.begin(), good.begin() + 13), true, 1, nullptr},
      {"cut in stage 1", Bytes(good.begin(), good.begin() + 3000), true, 1, nullptr},
      {"longer than a record", longer, true, 0, nullptr},
  };
  for (const auto& c : cases) {
    RecordingPrompts p;
    RocketRecord before = Rocket();
    before.name.assign("Vorher");
    const auto previous = File(Encoded(before), "vorher.kmw");
    RecordingPrompts quiet;
    ASSERT_TRUE(doc.LoadRocketFile(previous, quiet, views));
    const auto path = File(c.bytes);
    EXPECT_EQ(doc.LoadRocketFile(path, p, views), c.loads) << c.what;
    EXPECT_EQ(p.warnings.size(), c.warnings) << c.what;
    if (c.loads) {
      EXPECT_TRUE(p.errors.empty()) << c.what;
      EXPECT_EQ(doc.fileName(), path) << c.what;
      ExpectSaneFlight(c.what);
    } else {
      ASSERT_EQ(p.errors.size(), 1u) << c.what;
      EXPECT_NE(p.errors[0].find(c.message), std::string::npos) << c.what << ": " << p.errors[0];
      EXPECT_EQ(doc.rocket().name.view(), "Vorher") << c.what << ": the current rocket stays";
      EXPECT_EQ(doc.fileName(), previous) << c.what;
    }
  }
}

TEST_F(LoadRobustness, WhatIsNoFileIsReported) {
  for (const auto& path : {dir.path(), dir.path() / "fehlt.kmw"}) {
    RecordingPrompts p;
    EXPECT_FALSE(doc.LoadRocketFile(path, p, views));
    ASSERT_EQ(p.errors.size(), 1u);
    EXPECT_NE(p.errors[0].find("konnte nicht geladen werden"), std::string::npos) << p.errors[0];
  }
}

TEST_F(LoadRobustness, HostileValuesLoadAndFlySanely) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const std::pair<const char*, std::function<void(RocketRecord&)>> cases[] = {
      {"one motor in three slots, INT_MAX each",
       [](RocketRecord& r) {
         r.stages[0].motors = {BoxMotor("C6", 6, 1.8), BoxMotor("c6", 6, 1.8), BoxMotor("C6", 6, 1.8)};
         r.stages[0].counts = {INT_MAX, INT_MAX, INT_MAX};
       }},
      {"INT_MIN",
       [](RocketRecord& r) {
         r.stages[0].counts = {INT_MIN, INT_MIN, 0};
       }},
      {"NaN values", [](RocketRecord& r) { r.cw = r.stages[0].mass = r.stages[0].diameter = kNaN; }},
      {"infinite values", [](RocketRecord& r) { r.stages[0].otherArea = r.stages[0].mass = kInf; }},
      {"unknown motor with an endless burn",
       [](RocketRecord& r) {
         r.stages[0].motors[0] = BoxMotor("X99", 1e3, 1e300);
         r.stages[0].motors[0].burnTime = kInf;
       }},
      {"second stage, negative delay",
       [](RocketRecord& r) {
         r.stages[1] = r.stages[0];
         r.stages[1].ignitionDelay = -1e300;
       }},
  };
  for (const auto& [what, spoil] : cases) {
    RocketRecord r = Rocket();
    spoil(r);
    RecordingPrompts p;
    ASSERT_TRUE(doc.LoadRocketFile(File(Encoded(r)), p, views)) << what;
    EXPECT_TRUE(p.errors.empty()) << what;
    ExpectSaneFlight(what);
    EXPECT_TRUE(std::isfinite(doc.simulation().results().burnoutTime)) << what;
  }
}

}  // namespace
}  // namespace komet
