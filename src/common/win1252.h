// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace komet {

// Records store Windows-1252; the program works in UTF-8. Converts at that
// boundary. Bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 control of the same value, so a round trip keeps them.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Characters outside Windows-1252, and malformed UTF-8, become "?".
std::string Utf8ToCp1252(std::string_view utf8);

// Appends a code point (up to U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// Number of code points of a UTF-8 text (malformed bytes count one each).
std::size_t Utf8Length(std::string_view utf8);

// The first n code points of a UTF-8 text.
std::string_view Utf8Prefix(std::string_view utf8, std::size_t n);

}  // namespace komet
