// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_location.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace komet {
namespace {

// A portable copy keeps its options beside itself, and only one that has
// them there already; an installed program (data in ../share/komet) keeps
// them in the user's folder even where it could write beside itself.
TEST(OptionsLocation, BesideAPortableCopyNeverBesideAnInstalledProgram) {
  const struct {
    const char* program;
    const char* data;  // a folder made beside the program, or none
    bool optionsBeside;
    bool expectBeside;
  } cases[] = {
      {"portable", nullptr, true, true},
      {"empty", nullptr, false, false},  // writable is not enough
      {"usr/bin", "usr/share/komet", false, false},
      {"usr/local/bin", "usr/local/share/komet", true, false},
  };
  for (const auto& c : cases) {
    testing::TempDir dir;
    const auto program = dir.path() / c.program;
    std::filesystem::create_directories(program);
    if (c.data) std::filesystem::create_directories(dir.path() / c.data);
    if (c.optionsBeside) std::ofstream(program / kOptionsFileName) << "x";
    const auto config = dir.path() / "config";
    const auto chosen = ChooseOptionsFile(program, config);
    EXPECT_EQ(chosen, (c.expectBeside ? program : config) / kOptionsFileName) << c.program;
  }
}

TEST(OptionsLocation, SystemFoldersAreToldByTheirPath) {
  for (const char* system : {"/usr/bin", "/usr/local/bin", "/opt/komet", "/", "/usr/../usr/games"})
    EXPECT_TRUE(IsSystemFolder(system)) << system;
  for (const char* own : {"/home/anna/komet", "/tmp/komet", "/home/usr", "/usr/../home/anna"})
    EXPECT_FALSE(IsSystemFolder(own)) << own;
}

}  // namespace
}  // namespace komet
