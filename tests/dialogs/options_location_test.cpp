// Where the options file goes: the user's folder unless a portable copy
// already keeps its own.

#include "dialogs/options_location.h"

#include <gtest/gtest.h>

#include <fstream>

#include "dialogs/options_record.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

TEST(OptionsLocationTest, SystemFoldersAreToldByTheirPath) {
  struct Case {
    const char* path;
    bool system;
  };
  const Case cases[] = {
      {"/usr/bin", true},
      {"/usr/local/bin", true},
      {"/opt/komet", true},
      {"/", true},
      {"/bin", true},
      {"/home/anna/komet", false},
      {"/tmp/komet", false},
      {"/home/usr/komet", false},
      {"/usr/../home/anna", false},
      {"/srv/komet/bin", false},
      {"relative/usr", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSystemFolder(c.path), c.system) << c.path;
}

TEST(OptionsLocationTest, OnlyAFolderAlreadyHoldingOptionsIsPortable) {
  testing::TempDir program;
  const std::filesystem::path config = "/home/anna/.config/Komet";
  // Writable but without options: an unpacked program still uses the user's folder.
  EXPECT_EQ(ChooseOptionsFile(program.path(), config), config / "KOMET.OPT");
  std::ofstream(program.path() / "KOMET.OPT") << "x";
  EXPECT_EQ(ChooseOptionsFile(program.path(), config), program.path() / "KOMET.OPT");
  // An installed program never reads a file beside itself.
  EXPECT_EQ(ChooseOptionsFile("/usr/bin", config), config / "KOMET.OPT");
}

TEST(OptionsLocationTest, SavingIntoAnEmptyHomeMakesTheFolder) {
  testing::TempDir home;
  const std::filesystem::path file =
      ChooseOptionsFile(home.path() / "bin", home.path() / ".config" / "Komet");
  OptionsRecord options;
  InitOptions(options, "/home/anna");
  options.gravity = 1.62;
  SaveOptions(file, options);
  ASSERT_TRUE(ReadOptionsFile(file).has_value());
  EXPECT_EQ(ReadOptionsFile(file)->gravity, 1.62);
  EXPECT_EQ(std::filesystem::status(file.parent_path()).permissions(), std::filesystem::perms(0700));
}

}  // namespace
}  // namespace komet
