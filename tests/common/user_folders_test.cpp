// The user's folders: named from the XDG variables, made with private rights.

#include "common/user_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "common/komet_error.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

unsigned Mode(const std::filesystem::path& p) {
  struct stat info {};
  EXPECT_EQ(::stat(p.c_str(), &info), 0) << p;
  return info.st_mode & 07777;
}

TEST(UserFoldersTest, FoldersFollowTheXdgVariablesAndFallBackToTheHome) {
  struct Case {
    const char* config;
    const char* data;
    const char* wantConfig;
    const char* wantData;
  };
  const Case cases[] = {
      {nullptr, nullptr, "/home/rakete/.config/Komet", "/home/rakete/.local/share/Komet"},
      {"/cfg", "/dat", "/cfg/Komet", "/dat/Komet"},
      {"", "", "/home/rakete/.config/Komet", "/home/rakete/.local/share/Komet"},
      // A relative value is not a valid base folder and is ignored.
      {"cfg", "dat", "/home/rakete/.config/Komet", "/home/rakete/.local/share/Komet"},
  };
  const ScopedEnv home("HOME", "/home/rakete");
  for (const Case& c : cases) {
    const ScopedEnv config("XDG_CONFIG_HOME", c.config);
    const ScopedEnv data("XDG_DATA_HOME", c.data);
    EXPECT_EQ(UserConfigFolder(), std::filesystem::path(c.wantConfig)) << (c.config ? c.config : "unset");
    EXPECT_EQ(UserDataFolder(), std::filesystem::path(c.wantData)) << (c.data ? c.data : "unset");
  }
}

TEST(UserFoldersTest, MissingLevelsAreMadePrivateAndExistingOnesKeepTheirRights) {
  testing::TempDir dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
  const std::filesystem::path folder = dir.path() / "home" / ".config" / "Komet";
  EXPECT_EQ(MakeUserFolder(folder), folder);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  for (const auto& p : {dir.path() / "home", dir.path() / "home" / ".config", folder})
    EXPECT_EQ(Mode(p), 0700u) << p;
  EXPECT_EQ(Mode(dir.path()), 0755u);

  std::filesystem::permissions(folder, std::filesystem::perms(0750));
  MakeUserFolder(folder);  // made before: left alone
  EXPECT_EQ(Mode(folder), 0750u);
}

TEST(UserFoldersTest, AFolderThatCannotBeMadeIsAnErrorNamingIt) {
  testing::TempDir dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0500));
  if (::access(dir.path().c_str(), W_OK) == 0) GTEST_SKIP() << "running as root";
  try {
    MakeUserFolder(dir.path() / "Komet");
    FAIL() << "no error";
  } catch (const KometError& e) {
    EXPECT_NE(std::string(e.what()).find("Komet"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace komet
