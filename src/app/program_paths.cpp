// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_paths.h"

#include <system_error>

namespace komet {

// Installed, the data lie in share/komet beside bin/; unpacked, beside the
// program; built, above a build folder in the source tree, or beside the
// program through the links the build puts there. No path of the machine
// that built the program is looked at.
std::filesystem::path FindBundledFile(const std::filesystem::path& programDir,
                                      const std::filesystem::path& relative) {
  const std::filesystem::path roots[] = {programDir / ".." / "share" / "komet", programDir,
                                         programDir / ".."};
  for (const auto& root : roots) {
    std::error_code ec;
    const auto candidate = (root / relative).lexically_normal();
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return {};
}

std::filesystem::path FindBundledDatabase(const std::filesystem::path& programDir) {
  return FindBundledFile(programDir, "catalogue/motoren.kdb");
}

}  // namespace komet
