// SPDX-License-Identifier: GPL-3.0-or-later
// Options files as a damaged or hostile file holds them.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "dialogs/options_record.h"
#include "sim/simulation.h"
#include "support/file_bytes.h"
#include "support/flight_invariants.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<std::uint8_t> Encoded(const OptionsRecord& o) {
  std::vector<std::uint8_t> b(OptionsRecord::kSize);
  EncodeOptionsRecord(o, b);
  return b;
}

OptionsRecord Stored() {
  OptionsRecord o;
  InitOptions(o, "/home/komet");
  o.gravity = 1.62;  // the moon: tells a stored record from the defaults
  return o;
}

TEST(OptionsFileLoadTest, FileCutAtAnyFieldGivesTheDefaultsAndIsRewritten) {
  // Inside and after the magic, at each constant, in the path and its
  // padding, and one byte before the end.
  for (std::size_t cut : {1u, 16u, 17u, 24u, 32u, 40u, 48u, 56u, 57u, 306u, 307u, 308u, 315u}) {
    testing::TempDir dir;
    const auto file = dir.path() / "KOMET.OPT";
    std::vector<std::uint8_t> b = Encoded(Stored());
    b.resize(cut);
    testing::WriteBytes(file, b);
    EXPECT_FALSE(ReadOptionsFile(file)) << cut;
    const OptionsLoad load = LoadOptions(file, "cwd");
    EXPECT_FALSE(load.fromFile) << cut;
    EXPECT_EQ(load.record.gravity, 9.81) << cut;
    EXPECT_EQ(testing::ReadBytes(file).size(), OptionsRecord::kSize) << cut;
  }
}

TEST(OptionsFileLoadTest, OversizedFileIsReadByItsFirstRecordAndLeftAlone) {
  testing::TempDir dir;
  const auto file = dir.path() / "KOMET.OPT";
  std::vector<std::uint8_t> b = Encoded(Stored());
  b.resize(5000, 0xEE);
  testing::WriteBytes(file, b);
  const OptionsLoad load = LoadOptions(file, "cwd");
  EXPECT_TRUE(load.fromFile);
  EXPECT_EQ(load.record, Stored());
  EXPECT_EQ(testing::ReadBytes(file).size(), 5000u);
}

TEST(OptionsFileLoadTest, LengthBytesAboveCapacity) {
  const struct {
    const char* what;
    std::size_t at;
    bool taken;
  } cases[] = {
      {"magic length 255", options_layout::kMagic, false},
      {"magic length 17", options_layout::kMagic, false},
      {"path length 255", options_layout::kDbPath, true},
  };
  for (const auto& c : cases) {
    testing::TempDir dir;
    const auto file = dir.path() / "KOMET.OPT";
    std::vector<std::uint8_t> b = Encoded(Stored());
    b[c.at] = std::string_view(c.what).ends_with("17") ? 17 : 255;
    testing::WriteBytes(file, b);
    const std::optional<OptionsRecord> read = ReadOptionsFile(file);
    ASSERT_EQ(read.has_value(), c.taken) << c.what;
    if (read) {
      EXPECT_EQ(read->dbPath.view().size(), 250u) << c.what;
    }
  }
}

// No constant is tested when it is loaded; whatever a file holds, the
// flight stays finite and within its bounds.
TEST(OptionsFileLoadTest, HostileConstantsGiveASaneFlight) {
  const std::pair<const char*, std::function<void(OptionsRecord&)>> cases[] = {
      {"NaN gravity", [](OptionsRecord& o) { o.gravity = kNaN; }},
      {"negative gravity", [](OptionsRecord& o) { o.gravity = -9.81; }},
      {"infinite air", [](OptionsRecord& o) { o.airDensity = kInf; }},
      {"negative air", [](OptionsRecord& o) { o.airDensity = -1.17; }},
      {"NaN rail", [](OptionsRecord& o) { o.railLength = o.railFriction = kNaN; }},
      {"negative friction", [](OptionsRecord& o) { o.railFriction = -1e300; }},
      {"period 1e300", [](OptionsRecord& o) { o.calcPeriod = 1e300; }},
      {"period NaN", [](OptionsRecord& o) { o.calcPeriod = kNaN; }},
      {"period -inf", [](OptionsRecord& o) { o.calcPeriod = -kInf; }},
  };
  Simulation sim;
  for (const auto& [what, spoil] : cases) {
    testing::TempDir dir;
    const auto file = dir.path() / "KOMET.OPT";
    OptionsRecord o = Stored();
    spoil(o);
    testing::WriteBytes(file, Encoded(o));
    const OptionsLoad load = LoadOptions(file, "cwd");
    ASSERT_TRUE(load.fromFile) << what;
    RocketRecord rocket = testing::SingleStageRocket("C6", testing::BoxMotor("C6", 6, 1.8));
    sim.RunSimulation(rocket, FixedConstants(ConstantsFrom(load.record)));
    EXPECT_EQ(testing::FlightFault(sim), "") << what;
  }
}

}  // namespace
}  // namespace komet
