// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/user_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "common/komet_error.h"

namespace komet {
namespace {

constexpr const char* kProgramFolder = "Komet";

// A session without HOME (a service, sudo -H) still has a home in passwd.
std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

std::filesystem::path XdgFolder(const char* variable, const std::filesystem::path& fallback) {
  const char* value = std::getenv(variable);
  const std::filesystem::path base =
      value && *value == '/' ? std::filesystem::path(value) : HomeFolder() / fallback;
  return base / kProgramFolder;
}

KometError FolderError(const std::filesystem::path& folder, int err) {
  return KometError(KometError::Kind::Io,
                    "Der Ordner \"" + folder.string() +
                        "\" konnte nicht angelegt werden: " + KometError::FromErrno(err).what(),
                    err);
}

}  // namespace

std::filesystem::path UserConfigFolder() {
  return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path UserSettingsFile() {
  return UserConfigFolder() / "komet.conf";
}

std::filesystem::path UserDataFolder() {
  return XdgFolder("XDG_DATA_HOME", std::filesystem::path(".local") / "share");
}

// mkdir per missing level rather than create_directories, which would give
// every new level the umask's rights.
std::filesystem::path MakeUserFolder(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> missing;
  std::error_code ec;
  for (std::filesystem::path p = folder; !p.empty() && !std::filesystem::exists(p, ec); p = p.parent_path()) {
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it)
    if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) throw FolderError(*it, errno);
  if (!std::filesystem::is_directory(folder, ec)) throw FolderError(folder, ENOTDIR);
  return folder;
}

}  // namespace komet
