// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "motors/motor_record.h"

namespace komet {

// The bundled motor catalogue: its facts as text, and the database made from
// them, relative to the source directory.
inline constexpr std::string_view kCatalogueSource = "catalogue/motoren.txt";
inline constexpr std::string_view kCatalogueDatabase = "catalogue/motoren.kdb";

// The catalogue's motors as its text gives them. Throws KometError
// "motoren.txt, Zeile N: ...".
std::vector<MotorRecord> BuildCatalogue(const std::filesystem::path& sourceDir);

// Writes the text and the database (each atomically). Throws KometError.
void WriteCatalogue(const std::filesystem::path& sourceDir, std::span<const MotorRecord> motors);

}  // namespace komet
