// SPDX-License-Identifier: GPL-3.0-or-later
// Opening files that are not what they claim, the way the desktop program
// opens them: each gives its message, and a rocket that loads flies sanely.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "app/document.h"
#include "motors/motor_database.h"
#include "support/document_fixture.h"
#include "support/file_bytes.h"
#include "support/flight_invariants.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::BoxMotor;
using testing::FlightFault;
using testing::ScriptedPrompts;

class DocumentLoad : public testing::DocumentFixture {
 protected:
  DocumentLoad() : DocumentFixture({BoxMotor("C6", 6, 1.8), BoxMotor("c6", 5, 1.7)}) {}
  // A single-stage rocket with a C6, as a file holds it.
  RocketRecord Rocket() const { return testing::SingleStageRocket("Robust", BoxMotor("C6", 6, 1.8)); }
  std::filesystem::path File(const Bytes& bytes, const std::string& name = "r.kmw") const {
    return testing::WriteBytes(dir.path() / name, bytes);
  }
  static Bytes Encoded(const RocketRecord& r) {
    Bytes b(RocketRecord::kSize);
    EncodeRocketRecord(r, b);
    return b;
  }
};

TEST_F(DocumentLoad, EachKindOfBadFileGivesItsMessage) {
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
    ScriptedPrompts p;
    RocketRecord before = Rocket();
    before.name.assign("Vorher");
    const auto previous = File(Encoded(before), "vorher.kmw");
    ScriptedPrompts quiet;
    ASSERT_TRUE(doc.LoadRocketFile(previous, quiet, views));
    const auto path = File(c.bytes);
    EXPECT_EQ(doc.LoadRocketFile(path, p, views), c.loads) << c.what;
    EXPECT_EQ(p.warnings.size(), c.warnings) << c.what;
    if (c.loads) {
      EXPECT_TRUE(p.errors.empty()) << c.what;
      EXPECT_EQ(doc.fileName(), path) << c.what;
      EXPECT_EQ(FlightFault(doc.simulation()), "") << c.what;
    } else {
      ASSERT_EQ(p.errors.size(), 1u) << c.what;
      EXPECT_NE(p.errors[0].find(c.message), std::string::npos) << c.what << ": " << p.errors[0];
      EXPECT_EQ(doc.rocket().name.view(), "Vorher") << c.what << ": the current rocket stays";
      EXPECT_EQ(doc.fileName(), previous) << c.what;
    }
  }
}

TEST_F(DocumentLoad, WhatIsNoFileIsReported) {
  for (const auto& path : {dir.path(), dir.path() / "fehlt.kmw"}) {
    ScriptedPrompts p;
    EXPECT_FALSE(doc.LoadRocketFile(path, p, views));
    ASSERT_EQ(p.errors.size(), 1u);
    EXPECT_NE(p.errors[0].find("konnte nicht geladen werden"), std::string::npos) << p.errors[0];
  }
}

TEST_F(DocumentLoad, HostileValuesLoadAndFlySanely) {
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
    ScriptedPrompts p;
    ASSERT_TRUE(doc.LoadRocketFile(File(Encoded(r)), p, views)) << what;
    EXPECT_TRUE(p.errors.empty()) << what;
    EXPECT_EQ(FlightFault(doc.simulation()), "") << what;
    EXPECT_TRUE(std::isfinite(doc.simulation().results().burnoutTime)) << what;
  }
}

}  // namespace
}  // namespace komet
