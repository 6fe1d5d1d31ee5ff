// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Text helpers shared by every reader and writer. ASCII-only case folding:
// the texts compared are motor names, makers, units and keys, which never
// need more, and Windows-1252 bytes above 127 must pass unchanged.
namespace komet {

constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text with A-Z lowered; every other byte as it was.
inline std::string AsciiLowered(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

// Whether the two texts are equal when A-Z and a-z count as the same.
constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// The text without any of `blanks` around it; empty when it holds nothing else.
constexpr std::string_view Trim(std::string_view s, std::string_view blanks = " \t\r") {
  const std::size_t first = s.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// A line of a text file without the blanks, tabs and carriage returns around
// it, however the file's lines end.
constexpr std::string_view TrimLine(std::string_view s) {
  return Trim(s);
}

// A CSV field in double quotes, inner quotes doubled, as spreadsheets read it.
inline std::string CsvQuoted(std::string_view s) {
  std::string quoted = "\"";
  for (char c : s) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace komet
