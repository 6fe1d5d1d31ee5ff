#include "app/program_paths.h"

#include <string>
#include <system_error>
#include <vector>

namespace komet {

namespace {

// The first of the places beside the program (installed under bin/ with
// share/komet/ beside it, or run from the build directory) that holds the file.
std::filesystem::path FindIn(const std::filesystem::path& programDir, const std::string& folder,
                             const std::filesystem::path& relative) {
  std::vector<std::filesystem::path> places = {
      programDir / folder, programDir / ".." / "share" / "komet" / folder, programDir / ".." / folder};
#ifdef KOMET_SOURCE_DIR
  places.push_back(std::filesystem::path(KOMET_SOURCE_DIR) / folder);
#endif
  for (const auto& dir : places) {
    std::error_code ec;
    const auto candidate = (dir / relative).lexically_normal();
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return {};
}

}  // namespace

std::filesystem::path FindBundledFile(const std::filesystem::path& programDir,
                                      const std::filesystem::path& relative) {
  return FindIn(programDir, "examples", relative);
}

std::filesystem::path FindBundledDatabase(const std::filesystem::path& programDir) {
  return FindIn(programDir, "catalogue", "motoren.kdb");
}

}  // namespace komet
