// Motor databases and .eng files as they arrive from elsewhere: any size,
// hostile record contents, and text that is not what a RASP file holds.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "common/win1252.h"
#include "dialogs/motor_match.h"
#include "motors/eng_import.h"
#include "motors/motor_database.h"
#include "sim/simulation.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using testing::BoxMotor;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::filesystem::path WriteBytes(const testing::TempDir& dir, const std::vector<std::uint8_t>& b) {
  const auto path = dir.path() / "motoren.kdb";
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(b.data()), b.size());
  return path;
}

std::vector<std::uint8_t> Records(const std::vector<MotorRecord>& motors) {
  std::vector<std::uint8_t> b(motors.size() * MotorRecord::kSize);
  for (std::size_t i = 0; i < motors.size(); ++i)
    EncodeMotorRecord(motors[i], std::span(b).subspan(i * MotorRecord::kSize, MotorRecord::kSize));
  return b;
}

TEST(MotorDatabaseRobustness, OnlyWholeRecordsCount) {
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

TEST(MotorDatabaseRobustness, RecordNumbersFarOutsideTheFileReadNothing) {
  testing::TempDir dir;
  const auto db = WriteBytes(dir, Records({BoxMotor("A8", 3, 0.7)}));
  for (std::int32_t n : {1, -1, INT_MAX, INT_MIN}) {
    MotorRecord slot = BoxMotor("vorher", 1, 1);
    EXPECT_FALSE(ReadMotorRecord(db, n, slot)) << n;
    EXPECT_EQ(slot.name.view(), "vorher") << n;
  }
}

TEST(MotorDatabaseRobustness, HostileRecordsAreListedCopiedAndFlownSafely) {
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
    const std::size_t last = sim.lastSample();
    ASSERT_LE(last, static_cast<std::size_t>(kMaxSteps));
    EXPECT_EQ(sim.samples()[last + 1].time, kEndMarkerTime) << n;
    for (std::size_t k = 1; k <= last; ++k) {
      const FlightSample& s = sim.samples()[k];
      for (double x : {s.thrust, s.height, s.force, s.accel, s.velocity, s.propellantUsed})
        ASSERT_TRUE(std::isfinite(x)) << "motor " << n << ", sample " << k;
    }
  }
}

TEST(MotorDatabaseRobustness, CountsOutsideTheSpinRangeSelectOnlyWhenPositive) {
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

// Text no RASP file holds: each gives its motors or a message, never a
// crash, and never a record the simulation could not use.
TEST(EngRobustness, TextThatIsNoMotorFile) {
  const std::string header = "T5 18 70 3 0.01 0.02 Acme\n";
  const struct {
    const char* what;
    std::string text;
    std::size_t motors;
  } cases[] = {
      {"binary", std::string("\x00\x01\x02\xFF\xFE\n\x7F", 7), 0},
      {"zero bytes in a line", header + std::string("0.5\0 1\n1 0\n", 11), 0},
      {"only line ends", std::string(10000, '\n'), 0},
      {"carriage returns only", "T5 18 70 3 0.01 0.02 Acme\r0.5 1\r1 0\r", 1},
      {"header only", header, 0},
      {"nan point", header + "nan 5\n", 0},
      {"infinite thrust", header + "0.5 inf\n", 0},
      {"huge time", header + "1e400 5\n", 0},
      {"four hundred digits", header + "0." + std::string(400, '1') + " 5\n", 1},
      {"a megabyte on one line", header + "0." + std::string(1 << 20, '7') + " 5\n", 1},
      {"delays beyond int8", "T5 18 70 127-128-255-1000-99999999999 0.01 0.02 Acme\n0.5 1\n", 1},
  };
  Simulation sim;
  for (const auto& c : cases) {
    const MotorImport in = ParseEng(c.text, "x.eng");
    EXPECT_EQ(in.motors.size(), c.motors) << c.what;
    EXPECT_TRUE(!in.motors.empty() || !in.problems.empty()) << c.what << ": nothing said";
    for (const ImportDiagnostic& d : in.problems) EXPECT_FALSE(d.text().empty()) << c.what;
    for (const MotorRecord& m : in.motors) {
      EXPECT_LE(CurvePointCount(m), MotorRecord::kCurvePoints) << c.what;
      for (std::int8_t d : m.delays) EXPECT_TRUE(d >= 0 && d <= 98) << c.what;
      RocketRecord rocket;
      InitRakete(rocket);
      rocket.stages[0].mass = 0.03;
      rocket.stages[0].motors[0] = m;
      rocket.stages[0].counts[0] = 1;
      sim.RunSimulation(rocket, FixedConstants{});
      EXPECT_EQ(sim.samples()[sim.lastSample() + 1].time, kEndMarkerTime) << c.what;
    }
  }
}

TEST(EngRobustness, TenThousandPointsAreThinnedToTheRecord) {
  std::string text = "L 29 124 0 0.06 0.12 T\n";
  for (int k = 1; k <= 10000; ++k) text += std::to_string(k * 1e-3) + " " + std::to_string(10 + k % 7) + "\n";
  const MotorImport in = ParseEng(text, "lang.eng");
  ASSERT_EQ(in.motors.size(), 1u);
  const MotorRecord& m = in.motors[0];
  ASSERT_EQ(CurvePointCount(m), MotorRecord::kCurvePoints);
  for (std::size_t k = 1; k < MotorRecord::kCurvePoints; ++k) ASSERT_GT(m.curveTime[k], m.curveTime[k - 1]);
  EXPECT_EQ(m.curveThrust[MotorRecord::kCurvePoints - 1], 0.0);
}

// Bytes that only look like UTF-8 (a surrogate, an overlong form, a code
// point above U+10FFFF) make the text Windows-1252: the names keep their
// bytes and the messages quote them as readable text. Such a text was taken
// as UTF-8, so the name became "?" and the message quoted the raw bytes.
TEST(EngRobustness, NearlyUtf8IsWindows1252) {
  for (std::string name : {"\xED\xA0\x80", "\xE0\x80\xAF", "\xF4\x90\x80\x80", "\xF0\x80\x80\xAF"}) {
    const MotorImport ok = ParseEng(name + " 18 70 3 0.01 0.02 T\n0.5 1\n1 0\n", "x.eng");
    ASSERT_EQ(ok.motors.size(), 1u);
    EXPECT_EQ(ok.motors[0].name.view(), name + " [T]");
    const MotorImport bad = ParseEng("A8 18" + name + " 70 3 0.01 0.02 T\n0.5 1\n", "x.eng");
    ASSERT_FALSE(bad.problems.empty());
    const std::string message = bad.problems[0].text();
    EXPECT_EQ(message, Cp1252ToUtf8(Utf8ToCp1252(message))) << "not well-formed UTF-8";
    EXPECT_NE(message.find(Cp1252ToUtf8(name)), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace komet
