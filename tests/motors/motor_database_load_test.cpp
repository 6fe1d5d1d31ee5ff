// SPDX-License-Identifier: GPL-3.0-or-later
// Motor databases as they arrive from elsewhere: any size, hostile record
// contents.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "dialogs/motor_match.h"
#include "motors/motor_database.h"
#include "sim/simulation.h"
#include "support/file_bytes.h"
#include "support/flight_invariants.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using testing::BoxMotor;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::filesystem::path WriteBytes(const testing::TempDir& dir, const std::vector<std::uint8_t>& b) {
  return testing::WriteBytes(dir.path() / "motoren.kdb", b);
}

std::vector<std::uint8_t> Records(const std::vector<MotorRecord>& motors) {
  std::vector<std::uint8_t> b(motors.size() * MotorRecord::kSize);
  for (std::size_t i = 0; i < motors.size(); ++i)
    EncodeMotorRecord(motors[i], std::span(b).subspan(i * MotorRecord::kSize, MotorRecord::kSize));
  return b;
}

TEST(MotorDatabaseLoadTest, OnlyWholeRecordsCount) {
  const std::vector<std::uint8_t> three =
      Records({BoxMotor("A8", 3, 0.7), BoxMotor("B4", 4, 1), BoxMotor("C6", 6, 1.8)});
  const struct {
    std::size_t size;
    std::size_t listed;
  } cases[] = {{0, 0}, {1, 0}, {2035, 0}, {2036, 1}, {2037, 1}, {4071, 1}, {4072, 2}, {6107, 2}, {6108, 3}};
  for (const auto& c : cases) {
    testing::TempDir dir;
    const auto db = WriteBytes(dir, {three.begin(), three.begin() + c.size});
    ASSERT_EQ(ReadMotorList(db).size(), c.listed) << c.size << " bytes";
    MotorRecord slot = BoxMotor("vorher", 1, 1);
    const MotorRecord before = slot;
    EXPECT_FALSE(ReadMotorRecord(db, static_cast<std::int32_t>(c.listed), slot)) << c.size << " bytes";
    EXPECT_EQ(slot, before) << "a record cut short is not copied";
  }
}

TEST(MotorDatabaseLoadTest, RecordNumbersFarOutsideTheFileReadNothing) {
  testing::TempDir dir;
  const auto db = WriteBytes(dir, Records({BoxMotor("A8", 3, 0.7)}));
  for (std::int32_t n : {1, -1, INT_MAX, INT_MIN}) {
    MotorRecord slot = BoxMotor("vorher", 1, 1);
    EXPECT_FALSE(ReadMotorRecord(db, n, slot)) << n;
    EXPECT_EQ(slot.name.view(), "vorher") << n;
  }
}

TEST(MotorDatabaseLoadTest, HostileRecordsAreListedCopiedAndFlownSafely) {
  MotorRecord nanCurve = BoxMotor("Kurve", 5, 1);
  nanCurve.curveTime.fill(kNaN);
  nanCurve.curveThrust.fill(kInf);
  MotorRecord longName = BoxMotor("", 5, 1);
  longName.name.raw()[0] = 255;
  MotorRecord masses = BoxMotor("Massen", 5, 1, kInf, -kInf);
  MotorRecord burn = BoxMotor("Brenn", 5, kNaN);
  const std::vector<MotorRecord> motors = {nanCurve, longName, masses, burn};
  testing::TempDir dir;
  const auto db = WriteBytes(dir, Records(motors));
  const MotorList list = ReadMotorList(db);
  ASSERT_EQ(list.size(), motors.size());
  EXPECT_EQ(list[1].name.size(), 50u);
  Simulation sim;
  for (std::int32_t n = 0; n < static_cast<std::int32_t>(motors.size()); ++n) {
    RocketRecord rocket;
    InitRakete(rocket);
    rocket.stages[0].mass = 0.03;
    rocket.stages[0].counts[0] = 1;
    ASSERT_TRUE(ReadMotorRecord(db, n, rocket.stages[0].motors[0]));
    sim.RunSimulation(rocket, FixedConstants{});
    EXPECT_EQ(testing::FlightFault(sim), "") << "motor " << n;
  }
}

TEST(MotorDatabaseLoadTest, CountsOutsideTheSpinRangeSelectOnlyWhenPositive) {
  MotorList list = {{"C6", 0, -1}};
  SortMotorList(list);
  RocketRecord r;
  InitRakete(r);
  r.stages[0].counts = {INT_MAX, INT_MIN, -1};
  for (MotorRecord& m : r.stages[0].motors) m.name.assign("c6");
  const MotorSelections sel = MatchRocketMotors(list, r);
  EXPECT_EQ(sel[0], 0);
  EXPECT_EQ(sel[1], -1);
  EXPECT_EQ(sel[2], -1);
}

}  // namespace
}  // namespace komet
