// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "common/komet_error.h"
#include "common/win1252.h"

namespace komet {
namespace {

template <typename Int>
Int Clamped(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLow = static_cast<double>(std::numeric_limits<Int>::min());
  // The largest double below max+1: converting it is defined.
  constexpr double kHigh = -kLow;
  if (value <= kLow) return std::numeric_limits<Int>::min();
  if (value >= kHigh) return std::numeric_limits<Int>::max();
  return static_cast<Int>(value);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::int64_t RoundHalfEven(double value) {
  // nearbyint rounds in the current mode, which is to-nearest-even unless a
  // caller changed it; the program never does.
  return Clamped<std::int64_t>(std::nearbyint(value));
}

std::int64_t Trunc(double value) {
  return Clamped<std::int64_t>(std::trunc(value));
}

int RoundToInt(double value) {
  return Clamped<int>(std::nearbyint(value));
}
int TruncToInt(double value) {
  return Clamped<int>(std::trunc(value));
}

double ParseNumber(std::string_view utf8) {
  std::string text(Utf8Prefix(utf8, 20));
  if (auto comma = text.find(','); comma != std::string::npos) text[comma] = '.';

  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Find the longest prefix that is a valid number: mantissa, then an
  // exponent only if it has digits.
  const std::size_t start = i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  std::size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t expStart = j;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > expStart) end = j;
  }

  std::string number = text.substr(start, end - start);
  if (number[0] == '.') number.insert(number.begin(), '0');
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone; tell overflow from underflow by the
    // exponent's sign.
    const auto e = number.find_first_of("eE");
    const bool tiny = e != std::string::npos && number.size() > e + 1 && number[e + 1] == '-';
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -value : value;
}

int ParseInteger(std::string_view utf8) {
  std::size_t b = 0, e = utf8.size();
  while (b < e && utf8[b] == ' ') ++b;
  while (e > b && utf8[e - 1] == ' ') --e;
  std::string_view t = utf8.substr(b, e - b);
  // One sign only: from_chars would take the minus of "+-5".
  if (!t.empty() && t[0] == '+' && !t.substr(1).starts_with('-')) t.remove_prefix(1);
  int value = 0;
  const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || ptr != t.data() + t.size())
    throw KometError::NotAnInteger(std::string(utf8));
  return value;
}

std::optional<double> ParseStrictNumber(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (text.front() == '+') text.remove_prefix(1);
  std::string number(text);
  std::replace(number.begin(), number.end(), ',', '.');
  double value = 0.0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace komet
