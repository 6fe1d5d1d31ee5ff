// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <vector>

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

// Whatever step of the write fails, the older file keeps its bytes, no
// temporary stays behind, and the error names the cause.
TEST(FileIoTest, AFailingDiskNeverReplacesTheOlderFile) {
  using At = WriteFault::At;
  const struct {
    WriteFault fault;
    const char* reason;
  } cases[] = {
      {{1, 0, ENOSPC}, "kein Platz"},
      {{1, 700, ENOSPC}, "kein Platz"},
      {{1, 1, EDQUOT}, "Quota"},
      {{0, 0, EIO, At::Sync}, "E/A-Fehler 5"},
      {{0, 0, ENOSPC, At::Close}, "kein Platz"},
  };
  const std::vector<std::uint8_t> data(4096, 'n');
  for (const auto& c : cases) {
    testing::TempDir dir;
    const testing::ReplacedFile old(dir.path() / "a.kmw", "old content", 0644);
    SetWriteFault(c.fault);
    try {
      WriteFileAtomically(old.path(), data);
      ADD_FAILURE() << c.reason << ": no error";
    } catch (const KometError& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
    SetWriteFault({});
    EXPECT_EQ(ReadText(old.path()), "old content") << c.reason;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "a temporary is left";
  }
}

// A short write is no failure: the rest follows.
TEST(FileIoTest, AShortWriteGoesOn) {
  testing::TempDir dir;
  const std::vector<std::uint8_t> data(5000, 'x');
  SetWriteFault({1, 3, 0});
  WriteFileAtomically(dir.path() / "a.bin", data);
  SetWriteFault({});
  EXPECT_EQ(testing::ReadBytes(dir.path() / "a.bin"), data);
}

// A device cannot be renamed over; it is written where it is and stays a
// device. A link stays a link to the file that got the new content.
TEST(FileIoTest, DevicesAndLinksStayWhatTheyAre) {
  const std::uint8_t data[] = {'n', 'e', 'w'};
  struct stat st {};
  try {
    WriteFileAtomically("/dev/full", data);
    ADD_FAILURE() << "a full device took the bytes";
  } catch (const KometError& e) {
    EXPECT_EQ(e.code(), ENOSPC);
  }
  WriteFileAtomically("/dev/null", data);
  for (const char* device : {"/dev/full", "/dev/null"}) {
    ASSERT_EQ(::stat(device, &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << device;
  }

  testing::TempDir dir;
  std::ofstream(dir.path() / "ziel.kmw") << "old";
  std::filesystem::create_symlink("ziel.kmw", dir.path() / "link.kmw");
  WriteFileAtomically(dir.path() / "link.kmw", data);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.kmw"));
  EXPECT_EQ(ReadText(dir.path() / "ziel.kmw"), "new");
}

TEST(KometErrorTest, MapsErrnoToGermanTexts) {
  EXPECT_STREQ(KometError::FromErrno(ENOENT).what(), "Datei nicht gefunden");
  EXPECT_STREQ(KometError::FromErrno(EACCES).what(), "Dateizugriff verweigert");
  EXPECT_STREQ(KometError::FromErrno(EIO).what(), ("E/A-Fehler " + std::to_string(EIO)).c_str());
  EXPECT_EQ(KometError::FromErrno(EIO).code(), EIO);
  // Known causes stand beside the number.
  EXPECT_EQ(std::string(KometError::FromErrno(ENOSPC).what()).rfind("E/A-Fehler 28: ", 0), 0u);
  EXPECT_NE(std::string(KometError::FromErrno(EROFS).what()).find("schreibgeschützt"), std::string::npos);
}

}  // namespace
}  // namespace komet
