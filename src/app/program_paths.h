// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace komet {

// The bundled motor catalogue (catalogue/motoren.kdb), found as
// FindBundledFile finds its files; nothing (an empty path) when there is none.
std::filesystem::path FindBundledDatabase(const std::filesystem::path& programDir);

// A bundled file by its path in the program's data ("examples/..."): under
// <prefix>/share/komet for a program in <prefix>/bin, beside the program or
// above it. Empty when none has it.
std::filesystem::path FindBundledFile(const std::filesystem::path& programDir,
                                      const std::filesystem::path& relative);

}  // namespace komet
