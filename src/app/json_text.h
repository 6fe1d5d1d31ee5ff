// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace komet {

// A number at full precision ("%.17g"); JSON has no NaN or infinity, so a
// non-finite value is null.
std::string JsonNumber(double value);
std::string JsonNumber(const std::optional<double>& value);  // nothing: null

// A JSON string of UTF-8 text: quotes, backslashes and control characters
// escaped.
std::string JsonString(std::string_view utf8);

inline const char* JsonBool(bool b) {
  return b ? "true" : "false";
}

}  // namespace komet
