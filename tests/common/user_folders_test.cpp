// SPDX-License-Identifier: GPL-3.0-or-later
// The user's folders as the XDG variables name them.

#include "common/user_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace komet {
namespace {

TEST(UserFoldersTest, FoldersFollowTheXdgVariablesAndFallBackToTheHome) {
  const struct {
    const char* xdg;  // XDG_CONFIG_HOME and XDG_DATA_HOME alike
    const char *config, *data;
  } cases[] = {
      {nullptr, "/home/rakete/.config/Komet", "/home/rakete/.local/share/Komet"},
      {"", "/home/rakete/.config/Komet", "/home/rakete/.local/share/Komet"},
      {"/xdg", "/xdg/Komet", "/xdg/Komet"},
      {"relativ", "/home/rakete/.config/Komet", "/home/rakete/.local/share/Komet"},  // not a valid base
  };
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", "/home/rakete", 1);
  for (const auto& c : cases) {
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
      c.xdg ? ::setenv(name, c.xdg, 1) : ::unsetenv(name);
    EXPECT_EQ(UserConfigFolder(), std::filesystem::path(c.config)) << (c.xdg ? c.xdg : "unset");
    EXPECT_EQ(UserDataFolder(), std::filesystem::path(c.data)) << (c.xdg ? c.xdg : "unset");
  }
  ::setenv("HOME", home.c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace komet
