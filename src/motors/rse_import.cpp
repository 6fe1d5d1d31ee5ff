#include "motors/rse_import.h"

#include "common/komet_error.h"

namespace komet {

MotorImport ParseRse(std::string_view, std::string_view fileName) {
  MotorImport out;
  out.problems.push_back({std::string(fileName), 0, ".rse-Dateien werden noch nicht gelesen", false});
  out.refused = 1;
  return out;
}

MotorImport ImportRseFile(const std::filesystem::path& path) {
  return ParseRse({}, path.filename().string());
}

}  // namespace komet
