// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/rocket_record.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

namespace komet {
namespace {

std::vector<std::uint8_t> Bytes(const RocketRecord& r) {
  std::vector<std::uint8_t> b(RocketRecord::kSize);
  EncodeRocketRecord(r, b);
  return b;
}

double DoubleAt(const std::vector<std::uint8_t>& b, std::size_t off) {
  std::uint64_t v = 0;
  for (int k = 7; k >= 0; --k) v = (v << 8) | b.at(off + k);
  return std::bit_cast<double>(v);
}

std::int32_t Int32At(const std::vector<std::uint8_t>& b, std::size_t off) {
  return static_cast<std::int32_t>(b.at(off) | b.at(off + 1) << 8 | b.at(off + 2) << 16 |
                                   static_cast<std::uint32_t>(b.at(off + 3)) << 24);
}

TEST(RocketRecordTest, EmptyRocketGoldenBytes) {
  RocketRecord r;
  InitRakete(r);
  const auto b = Bytes(r);
  ASSERT_EQ(b.size(), 26932u);
  EXPECT_EQ(b[0], 12);  // magic length
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 13), "KOMET W95/NT");
  EXPECT_EQ(b[21], 8);  // name length
  EXPECT_EQ(std::string(b.begin() + 22, b.begin() + 30), "KeinName");
  EXPECT_EQ(DoubleAt(b, 72), 0.0);  // cw
  EXPECT_EQ(b[18728], 0);           // notes: one zero byte
}

// Every field lands at its offset, little-endian.
TEST(RocketRecordTest, FieldOffsets) {
  RocketRecord r;
  r.cw = 0.75;
  r.reserved80 = 1.5;
  r.runPoweredEnd = 3.3;
  r.runMass = 0.048;
  r.runArea = 1e-4;
  r.reserved[11] = 0xAB;
  StageRecord& s = r.stages[1];
  s.mass = 0.01, s.reserved8 = 2, s.runPropellantMass = 3, s.runCasingMass = 4, s.otherArea = 5;
  s.ignitionDelay = 6, s.diameter = 7, s.runIgnitionTime = 8, s.runSeparationTime = 9;
  s.absent = 1;
  s.padding = {0x11, 0x22, 0x33};
  s.counts = {1, -2, 20};
  s.reserved[0] = 0xCD;
  s.motors[2].name.assign("C6-5");
  s.motors[2].burnTime = 1.86;
  r.notes[0] = 'N';
  r.notes[1] = 0;

  const auto b = Bytes(r);
  const std::size_t st = 104 + 6208;  // stage 2
  const struct {
    std::size_t offset;
    double value;
  } doubles[] = {{72, 0.75},   {80, 1.5},     {88, 3.3},
                 {96, 0.048},  {26912, 1e-4}, {st + 0, 0.01},
                 {st + 8, 2},  {st + 16, 3},  {st + 24, 4},
                 {st + 32, 5}, {st + 40, 6},  {st + 48, 7},
                 {st + 56, 8}, {st + 64, 9},  {st + 76 + 2 * 2036 + 400, 1.86}};  // slot 3 burnTime
  for (const auto& d : doubles) EXPECT_EQ(DoubleAt(b, d.offset), d.value) << d.offset;
  EXPECT_EQ(b[st + 72], 1);
  EXPECT_EQ(b[st + 73], 0x11);
  EXPECT_EQ(b[st + 75], 0x33);
  EXPECT_EQ(Int32At(b, st + 6184), 1);
  EXPECT_EQ(Int32At(b, st + 6188), -2);
  EXPECT_EQ(Int32At(b, st + 6192), 20);
  EXPECT_EQ(b[st + 6196], 0xCD);
  EXPECT_EQ(b[st + 76 + 2 * 2036 + 51], 4);  // slot 3 name length
  EXPECT_EQ(b[st + 76 + 2 * 2036 + 52], 'C');
  EXPECT_EQ(b[18728], 'N');
  EXPECT_EQ(b[26931], 0xAB);
}

TEST(RocketRecordTest, DecodeInvertsEncodeForEveryByte) {
  std::vector<std::uint8_t> b(RocketRecord::kSize);
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 131 + 7);
  EXPECT_EQ(Bytes(DecodeRocketRecord(b)), b);
}

TEST(RocketRecordTest, InitRaketeLeavesTheBytesItDoesNotOwn) {
  RocketRecord r;
  StageRecord& s = r.stages[0];
  s.absent = 1, s.runIgnitionTime = 2, s.runSeparationTime = 3;
  s.motors[0].burnTime = 1.0;
  s.motors[0].name.assign("D12");
  s.counts = {2, 0, 0};
  s.mass = s.reserved8 = s.diameter = 1.0;
  r.runPoweredEnd = 4, r.runMass = 5, r.runArea = 6;
  r.name.assign("Saturn V Modell");
  InitRakete(r);
  EXPECT_EQ(r.name.view(), "KeinName");
  EXPECT_EQ(r.name.raw()[10], 'M') << "bytes after the text stay";
  EXPECT_EQ(s.mass, 0.0);
  EXPECT_EQ(s.reserved8, 0.0);
  EXPECT_EQ(s.diameter, 0.0);
  EXPECT_EQ(s.counts, (std::array<std::int32_t, 3>{0, 0, 0}));
  EXPECT_TRUE(s.motors[0].name.empty());
  EXPECT_EQ(r.runArea, 0.0);
  // Left as they were.
  EXPECT_EQ(s.absent, 1);
  EXPECT_EQ(s.runIgnitionTime, 2.0);
  EXPECT_EQ(s.runSeparationTime, 3.0);
  EXPECT_EQ(s.motors[0].burnTime, 1.0);
  EXPECT_EQ(r.runPoweredEnd, 4.0);
  EXPECT_EQ(r.runMass, 5.0);
}

TEST(RocketRecordTest, MagicMustMatchLengthAndText) {
  RocketRecord r;
  InitRakete(r);
  EXPECT_TRUE(HasRocketMagic(r));
  r.magic.assign("KOMET W95/NX");
  EXPECT_FALSE(HasRocketMagic(r));
  r.magic.assign("KOMET W95/NT ");
  EXPECT_FALSE(HasRocketMagic(r));
  r.magic.assign("KOMET W95/NT");
  r.magic.raw()[0] = 11;
  EXPECT_FALSE(HasRocketMagic(r));
}

TEST(RocketRecordTest, NotesAreBoundedWithoutATerminator) {
  RocketRecord r;
  r.notes.fill('x');
  EXPECT_EQ(NotesText(r).size(), RocketRecord::kMaxNotesLength);
  SetNotesText(r, std::string(9000, 'y'));
  EXPECT_EQ(NotesText(r), std::string(8183, 'y'));
  SetNotesText(r, "kurz\r\nzwei");
  EXPECT_EQ(NotesText(r), "kurz\r\nzwei");
  EXPECT_EQ(r.notes[11], 'y') << "bytes after the terminator stay";
}

}  // namespace
}  // namespace komet
