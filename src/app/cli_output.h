// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

namespace komet {

// Writes a command-line result: to `out` for "-", else the whole file at
// once (beside, then renamed). Throws KometError "PATH: reason".
void WriteCliOutput(const std::filesystem::path& path, const std::string& text, std::ostream& out);

}  // namespace komet
