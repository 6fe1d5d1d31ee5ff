// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "motors/import_result.h"

namespace komet {

// Parses the text of a RockSim engine file (.rse: <engine-database>,
// <engine-list>, one or more <engine> elements each with <data> and its
// <eng-data t= f=/> points). Never throws: a text that is not well-formed
// XML is one error with its line and column; a bad engine is rejected with
// its problems and does not stop the others.
MotorImport ParseRse(std::string_view text, std::string_view fileName);

// Reads and parses a .rse file; diagnostics name the file by its file name.
// Throws KometError when the file cannot be read or is too large.
MotorImport ImportRseFile(const std::filesystem::path& path);

}  // namespace komet
