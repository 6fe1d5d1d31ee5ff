#include "app/program_paths.h"

#include <system_error>
#include <vector>

namespace komet {

std::filesystem::path FindBundledFile(const std::filesystem::path& programDir,
                                      const std::filesystem::path& relative) {
  std::vector<std::filesystem::path> places = {programDir / "examples", programDir / ".." / "share" / "komet",
                                               programDir / ".." / "examples"};
#ifdef KOMET_SOURCE_DIR
  places.push_back(std::filesystem::path(KOMET_SOURCE_DIR) / "examples");
#endif
  for (const auto& dir : places) {
    std::error_code ec;
    const auto candidate = (dir / relative).lexically_normal();
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return {};
}

std::filesystem::path FindBundledDatabase(const std::filesystem::path& programDir) {
  return FindBundledFile(programDir, "motors.kdb");
}

}  // namespace komet
