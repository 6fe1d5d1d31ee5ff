#pragma once

#include <optional>
#include <string_view>

namespace komet {

// A finite number written with a decimal point, whatever the locale says; a
// leading "+" is allowed, -0 becomes 0 (a record would show its other bytes).
std::optional<double> ParseMotorNumber(std::string_view text);

// Whether the text is well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF); motor files that are not are Windows-1252.
bool IsValidUtf8(std::string_view text);

}  // namespace komet
