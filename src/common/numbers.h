// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace komet {

// Nearest integer, halves to the even neighbour. Values outside the range of
// int64 (and NaN) are clamped, so a corrupt input never makes this undefined.
std::int64_t RoundHalfEven(double value);

// Cut toward zero, clamped like RoundHalfEven.
std::int64_t Trunc(double value);

// Round / Trunc into an int (pixel and device coordinates), clamped to the
// range of int.
int RoundToInt(double value);
int TruncToInt(double value);

// The conversion of every decimal number the user types. Looks at the first
// 20 characters, takes the first comma as the decimal point, skips leading
// blanks and reads sign, digits, point, digits and exponent. A text that
// stops being a number gives the number read up to there ("12.5 g" -> 12.5,
// "1e" -> 1, "abc" -> 0, "" -> 0). Never fails; an overflowing exponent
// gives an infinity of the number's sign.
double ParseNumber(std::string_view utf8);

// Strict decimal integer as the count fields need it: optional blanks, sign,
// digits, blanks. Throws KometError "'%s' ist kein gültiger Integerwert".
int ParseInteger(std::string_view utf8);

// A number as the user types it in the newer fields: blanks around, an
// optional sign, a comma or point, an exponent; nothing for any other text
// (unlike ParseNumber, "12 g" and "" are no numbers) and for an infinity.
std::optional<double> ParseStrictNumber(std::string_view utf8);

}  // namespace komet
