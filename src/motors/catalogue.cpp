// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/catalogue.h"

#include "common/file_io.h"
#include "common/komet_error.h"
#include "motors/catalogue_source.h"
#include "motors/motor_database.h"

namespace komet {

std::vector<MotorRecord> BuildCatalogue(const std::filesystem::path& sourceDir) {
  const std::filesystem::path path = sourceDir / kCatalogueSource;
  const std::vector<std::uint8_t> bytes = ReadFilePrefix(path, 64 * 1024 * 1024);
  try {
    return ReadCatalogueSource(std::string(bytes.begin(), bytes.end()));
  } catch (const KometError& e) {
    throw KometError(e.kind(), path.filename().string() + ", " + e.what());
  }
}

void WriteCatalogue(const std::filesystem::path& sourceDir, std::span<const MotorRecord> motors) {
  const std::string text = WriteCatalogueSource(motors);
  std::filesystem::create_directories(sourceDir / kCatalogueSource.substr(0, kCatalogueSource.find('/')));
  WriteFileAtomically(sourceDir / kCatalogueSource,
                      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  WriteMotorDatabase(sourceDir / kCatalogueDatabase, motors);
}

}  // namespace komet
