// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_record.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <fstream>
#include <vector>

#include "common/komet_error.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using testing::ReadBytes;

double F64(const std::vector<std::uint8_t>& b, std::size_t off) {
  std::uint64_t v = 0;
  for (int k = 7; k >= 0; --k) v = (v << 8) | b.at(off + k);
  return std::bit_cast<double>(v);
}

TEST(OptionsRecordTest, MissingFileIsCreatedWithTheDefaults) {
  testing::TempDir dir;
  const auto file = dir.path() / "KOMET.OPT";
  const OptionsLoad load = LoadOptions(file, "/home/raketen");
  EXPECT_FALSE(load.fromFile);
  EXPECT_TRUE(load.defaultsWritten);
  const auto b = ReadBytes(file);
  ASSERT_EQ(b.size(), 316u);
  EXPECT_EQ(b[0], 16);
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 17), "KOMETOPT 95/NT 3");
  EXPECT_EQ(F64(b, 24), 9.81);
  EXPECT_EQ(F64(b, 32), 1.0);
  EXPECT_EQ(F64(b, 40), 3.0);
  EXPECT_EQ(F64(b, 48), 1.17);
  EXPECT_EQ(b[56], 13);
  EXPECT_EQ(std::string(b.begin() + 57, b.begin() + 70), "/home/raketen");
  EXPECT_EQ(F64(b, 308), 50.0);
  for (std::size_t i : {17u, 23u, 70u, 306u, 307u}) EXPECT_EQ(b[i], 0) << i;
}

TEST(OptionsRecordTest, SavedValuesLoadBackWithForeignBytesKept) {
  testing::TempDir dir;
  const auto file = dir.path() / "KOMET.OPT";
  OptionsRecord o;
  InitOptions(o, "x");
  o.railLength = 2.5;
  o.calcPeriod = 12;
  o.padding17[3] = 0x5A;
  o.padding307 = 0x77;
  SaveOptions(file, o);
  const OptionsLoad load = LoadOptions(file, "ignored");
  EXPECT_TRUE(load.fromFile);
  EXPECT_EQ(load.record, o);
}

TEST(OptionsRecordTest, BadFilesAreReplacedByDefaults) {
  const struct {
    const char* what;
    std::size_t size;
    std::size_t corruptAt;
    std::uint8_t value;
  } cases[] = {{"length byte not 16", 316, 0, 15},
               {"one character differs", 316, 16, '4'},
               {"short file", 315, 999, 0},
               {"empty file", 0, 999, 0}};
  for (const auto& c : cases) {
    testing::TempDir dir;
    const auto file = dir.path() / "KOMET.OPT";
    OptionsRecord o;
    InitOptions(o, "x");
    o.gravity = 1.62;
    std::vector<std::uint8_t> b(316);
    EncodeOptionsRecord(o, b);
    if (c.corruptAt < b.size()) b[c.corruptAt] = c.value;
    b.resize(c.size);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
    const OptionsLoad load = LoadOptions(file, "cwd");
    EXPECT_FALSE(load.fromFile) << c.what;
    EXPECT_EQ(load.record.gravity, 9.81) << c.what;
    EXPECT_EQ(ReadBytes(file).size(), 316u) << c.what << ": rewritten with the defaults";
    EXPECT_EQ(F64(ReadBytes(file), 24), 9.81) << c.what;
  }
}

TEST(OptionsRecordTest, UnwritablePlaceStillGivesDefaults) {
  testing::TempDir dir;
  std::ofstream(dir.path() / "datei") << "x";
  const OptionsLoad load = LoadOptions(dir.path() / "datei" / "KOMET.OPT", "cwd");
  EXPECT_FALSE(load.defaultsWritten);
  EXPECT_EQ(load.record.airDensity, 1.17);
  EXPECT_THROW(SaveOptions(dir.path() / "datei" / "KOMET.OPT", load.record), KometError);
}

// A fresh account has no configuration folder yet: the first start makes it.
TEST(OptionsRecordTest, FirstStartMakesTheConfigurationFolder) {
  testing::TempDir dir;
  const auto file = dir.path() / ".config" / "Komet" / "KOMET.OPT";
  const OptionsLoad load = LoadOptions(file, "cwd");
  EXPECT_TRUE(load.defaultsWritten);
  EXPECT_EQ(ReadBytes(file).size(), 316u);
}

TEST(OptionsRecordTest, CalcPeriodClamp) {
  const struct {
    double in, out;
  } cases[] = {{2, 50},      {51, 50}, {3, 3},    {50, 50},      {0, 50},
               {12.5, 12.5}, {-4, 50}, {NAN, 50}, {INFINITY, 50}};
  for (const auto& c : cases) EXPECT_EQ(ClampCalcPeriod(c.in), c.out) << c.in;
}

TEST(OptionsRecordTest, DefaultPathIsCutTo250) {
  OptionsRecord o;
  InitOptions(o, std::string(300, 'p'));
  EXPECT_EQ(o.dbPath.length(), 250u);
}

}  // namespace
}  // namespace komet
