// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace komet {

// A finite number written with a decimal point, whatever the locale says; a
// leading "+" is allowed, -0 becomes 0 (a record would show its other bytes).
std::optional<double> ParseMotorNumber(std::string_view text);

// Whether the text is well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF); motor files that are not are Windows-1252.
bool IsValidUtf8(std::string_view text);

// The text of a motor file of at most `maxBytes`. Throws KometError
// "NAME: reason" (the file's name) when it cannot be read or is larger.
std::string ReadMotorFileText(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace komet
