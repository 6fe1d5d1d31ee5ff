// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace komet {

bool IsSystemFolder(const std::filesystem::path& folder) {
  static constexpr std::array<std::string_view, 8> kSystemRoots = {"usr", "opt",   "bin", "sbin",
                                                                   "lib", "lib64", "etc", "snap"};
  const std::filesystem::path normal = folder.lexically_normal();
  auto part = normal.begin();
  if (part == normal.end() || *part != "/") return false;
  if (++part == normal.end()) return true;  // the root itself
  for (std::string_view root : kSystemRoots)
    if (part->native() == root) return true;
  return false;
}

bool IsPortableFolder(const std::filesystem::path& programDir) {
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::weakly_canonical(programDir, ec);
  if (ec || IsSystemFolder(real)) return false;
  struct stat info {};
  if (::stat(real.c_str(), &info) != 0 || info.st_uid != ::geteuid()) return false;
  // An installed program (its data in ../share/komet) is none, wherever it lies.
  if (std::filesystem::is_directory(real / ".." / "share" / "komet", ec)) return false;
  return std::filesystem::is_regular_file(real / kOptionsFileName, ec);
}

std::filesystem::path ChooseOptionsFile(const std::filesystem::path& programDir,
                                        const std::filesystem::path& userConfigDir) {
  if (IsPortableFolder(programDir)) return programDir / kOptionsFileName;
  return userConfigDir / kOptionsFileName;
}

}  // namespace komet
