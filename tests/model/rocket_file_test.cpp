// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/rocket_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "common/komet_error.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

RocketRecord EmptyRocket() {
  RocketRecord r;
  InitRakete(r);
  return r;
}

using testing::ReadBytes;
using testing::WriteBytes;

TEST(RocketFileTest, SavedEmptyRocketIsExactlyTheRecord) {
  testing::TempDir dir;
  const auto file = dir.path() / "leer.kmw";
  SaveRocketFile(file, EmptyRocket());
  const auto b = ReadBytes(file);
  ASSERT_EQ(b.size(), 26932u);
  EXPECT_EQ(b[0], 12);
  EXPECT_EQ(b[21], 8);
}

TEST(RocketFileTest, RoundTripKeepsEveryByte) {
  testing::TempDir dir;
  RocketRecord r = EmptyRocket();
  r.name.assign("Saturn");
  r.stages[0].counts = {1, 0, 0};
  r.stages[0].motors[0].name.assign("C6");
  r.stages[0].motors[0].curveThrust[5] = 14.09;
  r.reserved[3] = 9;
  SetNotesText(r, "Flug am Sonntag");
  SaveRocketFile(dir.path() / "r.kmw", r);
  const RocketFileContent c = ReadRocketFile(dir.path() / "r.kmw", EmptyRocket());
  EXPECT_TRUE(c.complete());
  EXPECT_TRUE(c.isRocket());
  EXPECT_EQ(c.record, r);
}

TEST(RocketFileTest, ShortFileReplacesOnlyTheBeginning) {
  testing::TempDir dir;
  RocketRecord full = EmptyRocket();
  full.cw = 0.62;
  full.stages[2].mass = 0.5;  // beyond the cut
  std::vector<std::uint8_t> b(RocketRecord::kSize);
  EncodeRocketRecord(full, b);
  b.resize(1000);
  WriteBytes(dir.path() / "kurz.kmw", b);
  const RocketFileContent c = ReadRocketFile(dir.path() / "kurz.kmw", EmptyRocket());
  EXPECT_EQ(c.bytesRead, 1000u);
  EXPECT_FALSE(c.complete());
  EXPECT_TRUE(c.isRocket());
  EXPECT_EQ(c.record.cw, 0.62);
  EXPECT_EQ(c.record.stages[2].mass, 0.0);
}

TEST(RocketFileTest, BytesBeyondTheRecordAreIgnored) {
  testing::TempDir dir;
  std::vector<std::uint8_t> b(RocketRecord::kSize);
  EncodeRocketRecord(EmptyRocket(), b);
  b.resize(RocketRecord::kSize + 500, 0xEE);
  WriteBytes(dir.path() / "lang.kmw", b);
  const RocketFileContent c = ReadRocketFile(dir.path() / "lang.kmw", EmptyRocket());
  EXPECT_EQ(c.bytesRead, RocketRecord::kSize);
  EXPECT_EQ(c.record, EmptyRocket());
}

TEST(RocketFileTest, WrongMagicIsNoRocket) {
  testing::TempDir dir;
  std::vector<std::uint8_t> b(RocketRecord::kSize);
  EncodeRocketRecord(EmptyRocket(), b);
  b[12] = '4';  // "KOMET W95/N4"
  WriteBytes(dir.path() / "x.kmw", b);
  EXPECT_FALSE(ReadRocketFile(dir.path() / "x.kmw", EmptyRocket()).isRocket());
  WriteBytes(dir.path() / "leer.kmw", {});
  const RocketFileContent empty = ReadRocketFile(dir.path() / "leer.kmw", EmptyRocket());
  EXPECT_EQ(empty.bytesRead, 0u);
}

TEST(RocketFileTest, MissingFileThrows) {
  testing::TempDir dir;
  EXPECT_THROW(ReadRocketFile(dir.path() / "fehlt.kmw", EmptyRocket()), KometError);
}

TEST(RocketFileTest, FailedSaveKeepsThePreviousFile) {
  testing::TempDir dir;
  const auto file = dir.path() / "alt.kmw";
  RocketRecord old = EmptyRocket();
  old.name.assign("Alt");
  SaveRocketFile(file, old);
  const auto before = ReadBytes(file);
  // Saving into a path whose directory is a file fails before anything is
  // touched, as a full disk or a read-only folder would.
  EXPECT_THROW(SaveRocketFile(file / "neu.kmw", EmptyRocket()), KometError);
  EXPECT_EQ(ReadBytes(file), before);
}

}  // namespace
}  // namespace komet
