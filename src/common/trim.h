// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace komet {

// A line of a text file without the blanks, tabs and carriage returns around
// it, however the file's lines end.
inline std::string_view TrimLine(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace komet
