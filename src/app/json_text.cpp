// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/json_text.h"

#include <cmath>

#include "common/format.h"

namespace komet {

std::string JsonNumber(double v) {
  return std::isfinite(v) ? Format('.', "%.17g", v) : "null";
}

std::string JsonNumber(const std::optional<double>& v) {
  return v ? JsonNumber(*v) : "null";
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
      continue;
    }
    out += c;
  }
  return out + "\"";
}

}  // namespace komet
