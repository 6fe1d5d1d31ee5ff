// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>

#include "common/komet_error.h"
#include "support/replaced_file.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using testing::ReadText;

TEST(FileIoTest, AtomicWriteReplacesTheFileWhole) {
  testing::TempDir dir;
  const auto file = dir.path() / "a.bin";
  const std::uint8_t first[] = {1, 2, 3};
  const std::uint8_t second[] = {9};
  WriteFileAtomically(file, first);
  WriteFileAtomically(file, second);
  EXPECT_EQ(ReadText(file), "\x09");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
}

TEST(FileIoTest, AtomicWriteLeavesTheOlderFileAloneAndKeepsItsRights) {
  for (const mode_t mode : {0640, 0604, 0600, 0755}) {
    testing::TempDir dir;
    const testing::ReplacedFile old(dir.path() / "a.kmw", "old content", mode);
    const std::uint8_t data[] = {'n', 'e', 'w'};
    WriteFileAtomically(old.path(), data);
    EXPECT_EQ(old.Fault(), "") << std::oct << mode;
    EXPECT_EQ(ReadText(old.path()), "new");
  }
}

TEST(FileIoTest, ANewFileGetsTheUsualRights) {
  testing::TempDir dir;
  const mode_t mask = ::umask(027);
  const std::uint8_t data[] = {1};
  WriteFileAtomically(dir.path() / "new.kmw", data);
  ::umask(mask);
  struct stat st {};
  ASSERT_EQ(::stat((dir.path() / "new.kmw").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(FileIoTest, FailedWriteReportsTheReasonAndLeavesNothing) {
  testing::TempDir dir;
  const auto blocker = dir.path() / "file";
  std::ofstream(blocker) << "x";
  const std::uint8_t data[] = {1};
  try {
    WriteFileAtomically(blocker / "inside.kmw", data);  // a file is no directory
    FAIL();
  } catch (const KometError& e) {
    EXPECT_EQ(e.kind(), KometError::Kind::Io);
    EXPECT_STREQ(e.what(), "Datei nicht gefunden");
  }
  EXPECT_EQ(ReadText(blocker), "x");
}

TEST(FileIoTest, ReadsPrefixesAndRanges) {
  testing::TempDir dir;
  const auto file = dir.path() / "r.bin";
  std::ofstream(file, std::ios::binary) << "0123456789";
  EXPECT_EQ(ReadFilePrefix(file, 4).size(), 4u);
  EXPECT_EQ(ReadFilePrefix(file, 100).size(), 10u);
  const auto range = ReadFileRange(file, 8, 5);
  ASSERT_EQ(range.size(), 2u);
  EXPECT_EQ(range[0], '8');
  EXPECT_TRUE(ReadFileRange(file, 50, 5).empty());
  EXPECT_THROW(ReadFilePrefix(dir.path() / "missing", 1), KometError);
}

TEST(KometErrorTest, MapsErrnoToGermanTexts) {
  EXPECT_STREQ(KometError::FromErrno(ENOENT).what(), "Datei nicht gefunden");
  EXPECT_STREQ(KometError::FromErrno(EACCES).what(), "Dateizugriff verweigert");
  EXPECT_STREQ(KometError::FromErrno(EIO).what(), ("E/A-Fehler " + std::to_string(EIO)).c_str());
  EXPECT_EQ(KometError::FromErrno(EIO).code(), EIO);
}

}  // namespace
}  // namespace komet
