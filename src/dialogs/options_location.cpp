#include "dialogs/options_location.h"

#include <unistd.h>

namespace komet {

std::filesystem::path ChooseOptionsFile(const std::filesystem::path& programDir,
                                        const std::filesystem::path& userConfigDir) {
  const std::filesystem::path beside = programDir / kOptionsFileName;
  std::error_code ec;
  if (std::filesystem::exists(beside, ec) || ::access(programDir.c_str(), W_OK) == 0) return beside;
  return userConfigDir / kOptionsFileName;
}

}  // namespace komet
