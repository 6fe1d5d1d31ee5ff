// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_paths.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace komet {
namespace {

void Touch(const std::filesystem::path& p) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p) << "x";
}

// The bundled data are found in every layout a program runs from; an
// installed program takes its own share/komet before the source tree.
TEST(ProgramPaths, FindsTheBundledDataWhereTheProgramRuns) {
  testing::TempDir dir;
  const struct {
    const char* program;
    const char* data;
  } layouts[] = {
      {"usr/bin", "usr/share/komet/catalogue/motoren.kdb"},
      {"opt/komet", "opt/komet/catalogue/motoren.kdb"},
      {"src/build", "src/catalogue/motoren.kdb"},
  };
  for (const auto& l : layouts) {
    const auto data = dir.path() / l.data;
    Touch(data);
    std::filesystem::create_directories(dir.path() / l.program);
    EXPECT_TRUE(std::filesystem::equivalent(FindBundledDatabase(dir.path() / l.program), data)) << l.program;
    EXPECT_TRUE(
        std::filesystem::equivalent(FindBundledFile(dir.path() / l.program, "catalogue/motoren.kdb"), data));
  }
}

// A program knows no path of the machine it was built on: without a copy
// of its data around it, it finds none, not even the source tree's.
TEST(ProgramPaths, WithoutAnyCopyNothingIsFound) {
  testing::TempDir dir;
  EXPECT_TRUE(FindBundledDatabase(dir.path() / "usr/bin").empty());
  EXPECT_TRUE(FindBundledFile(dir.path() / "usr/bin", "examples/rockets/einstufig_c6.kmw").empty());
}

}  // namespace
}  // namespace komet
