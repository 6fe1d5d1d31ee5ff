#include "dialogs/options_location.h"

#include <unistd.h>

namespace komet {

std::filesystem::path ChooseOptionsFile(const std::filesystem::path& programDir,
                                        const std::filesystem::path& userConfigDir) {
  const std::filesystem::path beside = programDir / kOptionsFileName;
  std::error_code ec;
  // An installed program (its data in ../share/komet) never writes beside
  // itself, not even when run by a user who could.
  if (std::filesystem::is_directory(programDir / ".." / "share" / "komet", ec))
    return userConfigDir / kOptionsFileName;
  if (std::filesystem::exists(beside, ec) || ::access(programDir.c_str(), W_OK) == 0) return beside;
  return userConfigDir / kOptionsFileName;
}

}  // namespace komet
