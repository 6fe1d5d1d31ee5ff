// SPDX-License-Identifier: GPL-3.0-or-later
// The number conversions of everything the user types and of the count
// texts that a rocket file's counts pass through: ParseNumber, ParseInteger
// and the roundings to integers.

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/format.h"
#include "common/komet_error.h"
#include "common/numbers.h"
#include "common/win1252.h"
#include "fuzz_support.h"

namespace komet::fuzz {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Digits with at most one point: the plain decimals strtod reads the same way.
bool IsPlainDecimal(std::string_view t) {
  if (t.empty() || t.size() > 20 || t.find_first_not_of("0123456789.") != std::string_view::npos)
    return false;
  const auto points = std::count(t.begin(), t.end(), '.');
  return points <= 1 && std::any_of(t.begin(), t.end(), IsDigit);
}

void CheckParseNumber(std::string_view t) {
  const double v = ParseNumber(t);
  Require(!std::isnan(v), "ParseNumber gave NaN");
  const bool room = Utf8Length(t) <= 19;  // a prefix still fits the 20 characters read
  if (room && !t.empty() && IsDigit(t[0])) {
    Require(ParseNumber("-" + std::string(t)) == -v, "a minus sign does not negate");
    Require(ParseNumber(" " + std::string(t)) == v, "a leading blank changes the number");
  }
  if (std::count(t.begin(), t.end(), ',') == 1) {
    std::string point(t);
    point[point.find(',')] = '.';
    Require(ParseNumber(point) == v, "decimal comma and point differ");
  }
  if (IsPlainDecimal(t)) {
    const std::string s(t);
    Require(v == std::strtod(s.c_str(), nullptr), "plain decimal misread");
  }
}

void CheckRounding(double v) {
  const std::int64_t r = RoundHalfEven(v), tr = Trunc(v);
  const int ri = RoundToInt(v), ti = TruncToInt(v);
  if (std::fabs(v) < 1e15) {
    Require(std::fabs(static_cast<double>(r) - v) <= 0.5, "RoundHalfEven off by more than a half");
    Require(std::fabs(static_cast<double>(tr)) <= std::fabs(v) && std::fabs(v - static_cast<double>(tr)) < 1,
            "Trunc");
  }
  if (std::fabs(v) < 2e9) Require(ri == static_cast<int>(r) && ti == static_cast<int>(tr), "int forms");
}

// The stage form shows a number with "%.1f" or "%.2f" and reads it back:
// what it shows reads back to the shown precision, whichever separator.
void CheckShownNumber(double v) {
  if (!std::isfinite(v) || std::fabs(v) >= 1e15) return;
  for (char sep : {',', '.'}) {
    const double back = ParseNumber(Format(sep, "%.2f", v));
    Require(std::fabs(back - v) <= 0.005 + std::fabs(v) * 1e-15, "shown number reads back different");
    Require(ParseNumber(Format(sep, "%.2f", back)) == back, "shown number changes when shown again");
  }
}

void CheckParseInteger(std::string_view t) {
  int value = 0;
  try {
    value = ParseInteger(t);
  } catch (const KometError& e) {
    Require(e.kind() == KometError::Kind::Conversion && !std::string_view(e.what()).empty(), "error kind");
    return;
  }
  std::string s(t);
  errno = 0;
  char* end = nullptr;
  const long long expected = std::strtoll(s.c_str(), &end, 10);
  Require(errno == 0 && expected == value, "integer misread");
  for (; *end != '\0'; ++end) Require(*end == ' ', "integer with trailing characters taken");
}

}  // namespace
}  // namespace komet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace komet;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fuzz::CheckParseNumber(text);
  fuzz::CheckRounding(ParseNumber(text));
  fuzz::CheckShownNumber(ParseNumber(text));
  fuzz::CheckShownNumber(fuzz::DoubleAt({data, size}, 0, 0.0));
  fuzz::CheckRounding(fuzz::DoubleAt({data, size}, 0, 0.0));
  fuzz::CheckParseInteger(text);
  return 0;
}
