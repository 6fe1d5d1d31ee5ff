// SPDX-License-Identifier: GPL-3.0-or-later
// Rocket files as they arrive from elsewhere: cut anywhere, too long, with
// length bytes above their capacity and notes without an end.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/komet_error.h"
#include "model/rocket_file.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encoded(const RocketRecord& r) {
  Bytes b(RocketRecord::kSize);
  EncodeRocketRecord(r, b);
  return b;
}

RocketRecord EmptyRocket() {
  RocketRecord r;
  InitRakete(r);
  return r;
}

// Every byte set, so that each one the file supplies shows.
Bytes FullFile() {
  Bytes b(RocketRecord::kSize);
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(0x11 + i % 0xEE);
  const std::string magic = "\x0c" + std::string(RocketRecord::kMagic);
  std::copy(magic.begin(), magic.end(), b.begin());
  return b;
}

RocketFileContent ReadBytesAsFile(const Bytes& bytes) {
  testing::TempDir dir;
  return ReadRocketFile(testing::WriteBytes(dir.path() / "rakete.kmw", bytes), EmptyRocket());
}

// The start of every field of the record, and of every field of a stage
// and of a motor slot in each of the three stages.
std::vector<std::size_t> FieldBoundaries() {
  namespace r = rocket_layout;
  namespace s = stage_layout;
  namespace m = motor_layout;
  std::vector<std::size_t> at = {r::kMagic,
                                 1,
                                 13,
                                 r::kName,
                                 r::kName + 1,
                                 r::kCw,
                                 r::kReserved80,
                                 r::kRunPoweredEnd,
                                 r::kRunMass,
                                 r::kNotes,
                                 r::kNotes + 1,
                                 r::kRunArea,
                                 r::kReserved,
                                 RocketRecord::kSize - 1};
  for (std::size_t i = 0; i < kStageCount; ++i) {
    const std::size_t stage = r::kStages + i * StageRecord::kSize;
    for (std::size_t f : {s::kMass, s::kReserved8, s::kRunPropellantMass, s::kRunCasingMass, s::kOtherArea,
                          s::kIgnitionDelay, s::kDiameter, s::kRunIgnitionTime, s::kRunSeparationTime,
                          s::kAbsent, s::kPadding, s::kCounts, s::kCounts + 4, s::kCounts + 8, s::kReserved})
      at.push_back(stage + f);
    for (std::size_t j = 0; j < kSlotCount; ++j) {
      const std::size_t motor = stage + s::kMotors + j * MotorRecord::kSize;
      for (std::size_t f :
           {m::kHead, m::kName, m::kMiddle, m::kPropellantMass, m::kTotalMass, m::kDelays, m::kBurnTime,
            m::kMaxThrust, m::kCurveTime, m::kCurveThrust, m::kDeletedMark, m::kPadding})
        at.push_back(motor + f);
    }
  }
  return at;
}

TEST(RocketFileLoadTest, FileCutAtEveryFieldKeepsTheEmptyRocketBehindTheCut) {
  const Bytes full = FullFile();
  const Bytes empty = Encoded(EmptyRocket());
  for (std::size_t boundary : FieldBoundaries()) {
    // At the field, and in the middle of it (inside a double or a count).
    for (std::size_t cut : {boundary, std::min(boundary + 3, RocketRecord::kSize)}) {
      const RocketFileContent c = ReadBytesAsFile(Bytes(full.begin(), full.begin() + cut));
      ASSERT_EQ(c.bytesRead, cut);
      const Bytes got = Encoded(c.record);
      ASSERT_TRUE(std::equal(got.begin(), got.begin() + cut, full.begin())) << "cut at " << cut;
      ASSERT_TRUE(std::equal(got.begin() + cut, got.end(), empty.begin() + cut)) << "cut at " << cut;
      // A file that ends inside the magic agrees with it as far as it goes.
      EXPECT_TRUE(c.isRocket()) << cut;
      EXPECT_EQ(c.complete(), cut == RocketRecord::kSize);
    }
  }
}

TEST(RocketFileLoadTest, BytesBeyondTheRecordAreNotRead) {
  Bytes longer = FullFile();
  longer.resize(RocketRecord::kSize + 100000, 0xEE);
  const RocketFileContent c = ReadBytesAsFile(longer);
  EXPECT_EQ(c.bytesRead, RocketRecord::kSize);
  EXPECT_EQ(Encoded(c.record), FullFile());
}

TEST(RocketFileLoadTest, LengthBytesAboveTheirCapacity) {
  const std::size_t motorName = rocket_layout::kStages + stage_layout::kMotors + motor_layout::kName;
  const struct {
    const char* what;
    std::size_t at;
    std::uint8_t length;
    bool rocket;
  } cases[] = {
      {"name 51", rocket_layout::kName, 51, true},      {"name 255", rocket_layout::kName, 255, true},
      {"motor name 255", motorName, 255, true},         {"magic 13", rocket_layout::kMagic, 13, false},
      {"magic 255", rocket_layout::kMagic, 255, false},
  };
  for (const auto& c : cases) {
    Bytes b = FullFile();
    b[c.at] = c.length;
    const RocketFileContent content = ReadBytesAsFile(b);
    EXPECT_EQ(content.isRocket(), c.rocket) << c.what;
    EXPECT_EQ(content.record.name.view().size(), std::min<std::size_t>(b[rocket_layout::kName], 50))
        << c.what;
    EXPECT_LE(content.record.stages[0].motors[0].name.view().size(), 50u) << c.what;
    EXPECT_EQ(Encoded(content.record), b) << c.what << ": the length byte is carried as it stands";
  }
}

TEST(RocketFileLoadTest, NotesEndAtTheirZeroOrAtTheField) {
  const struct {
    const char* what;
    std::ptrdiff_t zeroAt;  // -1: none
    std::size_t length;
  } cases[] = {{"no zero", -1, RocketRecord::kMaxNotesLength},
               {"zero in the last byte", RocketRecord::kNotesSize - 1, RocketRecord::kMaxNotesLength},
               {"zero first", 0, 0},
               {"zero inside", 100, 100}};
  for (const auto& c : cases) {
    Bytes b = FullFile();
    const auto notes = b.begin() + rocket_layout::kNotes;
    std::fill(notes, notes + RocketRecord::kNotesSize, 'A');
    if (c.zeroAt >= 0) notes[c.zeroAt] = 0;
    const std::string text = NotesText(ReadBytesAsFile(b).record);
    EXPECT_EQ(text.size(), c.length) << c.what;
    EXPECT_EQ(text.find('\0'), std::string::npos) << c.what;
  }
}

TEST(RocketFileLoadTest, WhatIsNoFileIsAnError) {
  testing::TempDir dir;
  EXPECT_THROW(ReadRocketFile(dir.path(), EmptyRocket()), KometError);
  EXPECT_THROW(ReadRocketFile(dir.path() / "fehlt.kmw", EmptyRocket()), KometError);
}

}  // namespace
}  // namespace komet
