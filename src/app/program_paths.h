#pragma once

#include <filesystem>

namespace komet {

// The bundled motor catalogue: beside the program (installed), in the source
// tree the program was built from, or nothing (an empty path).
std::filesystem::path FindBundledDatabase(const std::filesystem::path& programDir);

// The bundled example rocket of that name, found the same way.
std::filesystem::path FindBundledFile(const std::filesystem::path& programDir,
                                      const std::filesystem::path& relative);

}  // namespace komet
