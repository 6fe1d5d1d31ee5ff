// The options file beside the program only for a portable copy.

#include "dialogs/options_location.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace komet {
namespace {

TEST(OptionsLocationTest, OnlyAFolderOfTheUsersOwnAlreadyHoldingOptionsIsPortable) {
  for (const char* system : {"/usr/bin", "/usr/local/bin", "/opt/komet", "/", "/usr/../usr/games"})
    EXPECT_TRUE(IsSystemFolder(system)) << system;
  for (const char* own : {"/home/anna/komet", "/tmp/komet", "/home/usr", "/usr/../home/anna"})
    EXPECT_FALSE(IsSystemFolder(own)) << own;

  testing::TempDir program;
  const std::filesystem::path config = "/home/anna/.config/Komet";
  EXPECT_EQ(ChooseOptionsFile(program.path(), config), config / "KOMET.OPT");  // writable is not enough
  std::ofstream(program.path() / "KOMET.OPT") << "x";
  EXPECT_EQ(ChooseOptionsFile(program.path(), config), program.path() / "KOMET.OPT");
}

}  // namespace
}  // namespace komet
