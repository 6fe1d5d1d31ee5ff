// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_database.h"

#include <gtest/gtest.h>

#include <bit>
#include <fstream>

#include "common/komet_error.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

MotorRecord Motor(std::string_view name, double burnTime = 1.0) {
  MotorRecord m;
  m.name.assign(name);
  m.burnTime = burnTime;
  return m;
}

std::filesystem::path WriteDb(const testing::TempDir& dir, const std::vector<MotorRecord>& motors,
                              std::size_t extraBytes = 0) {
  const auto path = dir.path() / "motoren.kdb";
  WriteMotorDatabase(path, motors);
  if (extraBytes) std::ofstream(path, std::ios::binary | std::ios::app) << std::string(extraBytes, 'x');
  return path;
}

std::vector<std::string> Names(const MotorList& list) {
  std::vector<std::string> out;
  for (const auto& e : list) out.push_back(e.name);
  return out;
}

TEST(MotorRecordTest, FieldOffsets) {
  MotorRecord m;
  m.head[0] = 0xA1;
  m.name.assign("D12-5");
  m.middle[277] = 0xB2;
  m.propellantMass = 0.0211;
  m.totalMass = 0.0426;
  m.delays = {0, 3, 5, -7};
  m.burnTime = 1.65;
  m.maxThrust = 29.73;
  m.curveTime[100] = 1.65;
  m.curveThrust[1] = 2.569;
  m.deletedMark = 1;
  m.padding[2] = 0xC3;
  std::vector<std::uint8_t> b(MotorRecord::kSize);
  EncodeMotorRecord(m, b);
  auto f64 = [&](std::size_t off) {
    std::uint64_t v = 0;
    for (int k = 7; k >= 0; --k) v = (v << 8) | b[off + k];
    return std::bit_cast<double>(v);
  };
  EXPECT_EQ(b[0], 0xA1);
  EXPECT_EQ(b[51], 5);
  EXPECT_EQ(b[52], 'D');
  EXPECT_EQ(b[379], 0xB2);
  EXPECT_EQ(f64(380), 0.0211);
  EXPECT_EQ(f64(388), 0.0426);
  EXPECT_EQ(b[396], 0);
  EXPECT_EQ(b[397], 3);
  EXPECT_EQ(b[399], 0xF9);  // -7
  EXPECT_EQ(f64(400), 1.65);
  EXPECT_EQ(f64(408), 29.73);
  EXPECT_EQ(f64(416 + 8 * 100), 1.65);
  EXPECT_EQ(f64(1224 + 8), 2.569);
  EXPECT_EQ(b[2032], 1);
  EXPECT_EQ(b[2035], 0xC3);
  EXPECT_EQ(DecodeMotorRecord(b), m);
}

TEST(MotorRecordTest, CurveEndsAtTheFirstZeroPoint) {
  MotorRecord m;
  EXPECT_EQ(CurvePointCount(m), 1u);
  m.curveTime[1] = 0.1, m.curveThrust[1] = 5;
  m.curveTime[2] = 0.2;  // thrust 0: still a point
  EXPECT_EQ(CurvePointCount(m), 3u);
  for (std::size_t k = 1; k < 101; ++k) m.curveTime[k] = k * 0.01;
  EXPECT_EQ(CurvePointCount(m), 101u);
}

TEST(MotorDatabaseTest, EmptyAndShortFilesGiveEmptyLists) {
  testing::TempDir dir;
  EXPECT_TRUE(ReadMotorList(WriteDb(dir, {})).empty());
  EXPECT_TRUE(ReadMotorList(WriteDb(dir, {}, 2035)).empty());
  EXPECT_TRUE(ReadMotorList(dir.path() / "fehlt.kdb").empty());
}

TEST(MotorDatabaseTest, DeletedRecordsAreSkippedButCounted) {
  testing::TempDir dir;
  MotorRecord gone = Motor("B4");
  gone.deletedMark = 7;
  const MotorList list = ReadMotorList(WriteDb(dir, {Motor("A8"), gone, Motor("C6")}, 100));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "A8");
  EXPECT_EQ(list[0].recordNo, 0);
  EXPECT_EQ(list[1].name, "C6");
  EXPECT_EQ(list[1].recordNo, 2);
}

TEST(MotorDatabaseTest, NameComparison) {
  EXPECT_EQ(CompareMotorNames("c6", "C6"), 0);
  EXPECT_LT(CompareMotorNames("C6", "C6-3"), 0);
  EXPECT_LT(CompareMotorNames("1/2A6", "A8"), 0);
  EXPECT_LT(CompareMotorNames("z", "\xC4rger"), 0) << "an umlaut sorts after every letter";
  EXPECT_NE(CompareMotorNames("\xE4", "\xC4"), 0) << "only a-z are folded";
}

TEST(MotorDatabaseTest, SortIsStableAndNumbersItems) {
  MotorList list = {{"d12", 0, -1}, {"A8", 1, -1}, {"D12", 2, -1}, {"\xD6ko", 3, -1}, {"3B", 4, -1}};
  SortMotorList(list);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"3B", "A8", "d12", "D12", "\xD6ko"}));
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].itemIndex, static_cast<int>(i));
}

TEST(MotorDatabaseTest, ReadMotorRecordByNumber) {
  testing::TempDir dir;
  const auto db = WriteDb(dir, {Motor("A8", 0.73), Motor("B4", 1.03)});
  MotorRecord m = Motor("vorher");
  ASSERT_TRUE(ReadMotorRecord(db, 1, m));
  EXPECT_EQ(m.name.view(), "B4");
  EXPECT_EQ(m.burnTime, 1.03);
  EXPECT_FALSE(ReadMotorRecord(db, 2, m)) << "past the end reads nothing";
  EXPECT_FALSE(ReadMotorRecord(db, -1, m));
  EXPECT_EQ(m.name.view(), "B4");
  try {
    ReadMotorRecord(dir.path() / "weg.kdb", 0, m);
    FAIL();
  } catch (const KometError& e) {
    EXPECT_STREQ(e.what(), "Datei nicht gefunden");
  }
}

TEST(MotorDatabaseTest, TrimsThePath) {
  EXPECT_EQ(TrimDatabasePath("  /a b/c.kdb \t\r\n"), "/a b/c.kdb");
  EXPECT_EQ(TrimDatabasePath(" \x01 "), "");
}

TEST(MotorDatabaseTest, OverlongNameLengthIsClamped) {
  testing::TempDir dir;
  const auto db = WriteDb(dir, {Motor(std::string(50, 'N'))});
  {
    std::fstream f(db, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(51);
    f.put(static_cast<char>(255));
  }
  const MotorList list = ReadMotorList(db);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name.size(), 50u);
}

}  // namespace
}  // namespace komet
