#include "app/program_paths.h"

#include <string>
#include <system_error>
#include <vector>

namespace komet {

// Installed, the data lie in share/komet beside bin/; unpacked, beside the
// program; built, in the source tree above the build folder or the one the
// program was built from.
std::filesystem::path FindBundledFile(const std::filesystem::path& programDir,
                                      const std::filesystem::path& relative) {
  std::vector<std::filesystem::path> roots = {programDir / ".." / "share" / "komet", programDir,
                                              programDir / ".."};
#ifdef KOMET_SOURCE_DIR
  roots.push_back(std::filesystem::path(KOMET_SOURCE_DIR));
#endif
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
