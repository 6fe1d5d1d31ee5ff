// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/format.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace komet {
namespace {

struct FormatDirective {
  bool left = false, plus = false, space = false, zero = false, alt = false;
  int width = 0;
  int precision = -1;
  char conversion = 0;
};

// Parses a conversion after its '%'; returns the index after it.
std::size_t ParseDirective(std::string_view f, std::size_t i, FormatDirective& s) {
  for (; i < f.size(); ++i) {
    const char c = f[i];
    if (c == '-')
      s.left = true;
    else if (c == '+')
      s.plus = true;
    else if (c == ' ')
      s.space = true;
    else if (c == '0')
      s.zero = true;
    else if (c == '#')
      s.alt = true;
    else
      break;
  }
  while (i < f.size() && f[i] >= '0' && f[i] <= '9' && s.width < 1000)
    s.width = s.width * 10 + (f[i++] - '0');
  if (i < f.size() && f[i] == '.') {
    s.precision = 0;
    ++i;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9' && s.precision < 1000)
      s.precision = s.precision * 10 + (f[i++] - '0');
  }
  while (i < f.size() && (f[i] == 'l' || f[i] == 'h' || f[i] == 'L')) ++i;
  if (i < f.size()) s.conversion = f[i++];
  return i;
}

double AsDouble(const FormatArg& a) {
  if (auto d = std::get_if<double>(&a)) return *d;
  if (auto n = std::get_if<std::int64_t>(&a)) return static_cast<double>(*n);
  return 0.0;
}

std::int64_t AsInt(const FormatArg& a) {
  if (auto n = std::get_if<std::int64_t>(&a)) return *n;
  if (auto d = std::get_if<double>(&a)) {
    if (!std::isfinite(*d) || std::fabs(*d) >= 9.2e18) return 0;
    return static_cast<std::int64_t>(*d);
  }
  return 0;
}

// Digits of a non-negative finite value without sign.
std::string FloatDigits(double v, const FormatDirective& s, char sep) {
  const int precision = std::min(s.precision < 0 ? 6 : s.precision, 400);
  std::chars_format fmt = std::chars_format::fixed;
  const char lower = static_cast<char>(s.conversion | 0x20);
  if (lower == 'e') fmt = std::chars_format::scientific;
  if (lower == 'g') fmt = std::chars_format::general;
  std::vector<char> buf(precision + 330);
  const int p = (lower == 'g' && precision == 0) ? 1 : precision;
  auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v, fmt, p);
  std::string out(buf.data(), r.ptr);
  if (lower == 'e' || lower == 'g') {
    // printf writes at least two exponent digits.
    if (auto e = out.find('e'); e != std::string::npos && out.size() - e == 3)
      out = out.substr(0, e + 2) + '0' + out.substr(e + 2);
  }
  if (s.alt && out.find('.') == std::string::npos) {
    const std::size_t e = std::min(out.find('e'), out.size());
    out = out.substr(0, e) + '.' + out.substr(e);
  }
  if (s.conversion == 'E' || s.conversion == 'G')
    for (char& c : out)
      if (c == 'e') c = 'E';
  for (char& c : out)
    if (c == '.') c = sep;
  return out;
}

std::string Pad(std::string sign, std::string body, const FormatDirective& s, bool numeric) {
  const std::size_t len = sign.size() + body.size();
  if (static_cast<std::size_t>(s.width) <= len) return sign + body;
  const std::size_t fill = s.width - len;
  if (s.left) return sign + body + std::string(fill, ' ');
  if (s.zero && numeric) return sign + std::string(fill, '0') + body;
  return std::string(fill, ' ') + sign + body;
}

std::string Convert(const FormatDirective& s, const FormatArg& a, char sep) {
  switch (s.conversion) {
    case 'd':
    case 'i':
    case 'u': {
      const std::int64_t n = AsInt(a);
      std::string digits = std::to_string(n < 0 ? -(n + 1) + 1ULL : static_cast<unsigned long long>(n));
      if (s.precision >= 0 && digits.size() < static_cast<std::size_t>(s.precision))
        digits.insert(0, s.precision - digits.size(), '0');
      const std::string sign = n < 0 ? "-" : s.plus ? "+" : s.space ? " " : "";
      return Pad(sign, digits, s, s.precision < 0);
    }
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G': {
      const double v = AsDouble(a);
      const std::string sign = std::signbit(v) ? "-" : s.plus ? "+" : s.space ? " " : "";
      if (std::isnan(v)) return Pad(s.plus ? "+" : "", "nan", s, false);
      if (std::isinf(v)) return Pad(sign, "inf", s, false);
      return Pad(sign, FloatDigits(std::fabs(v), s, sep), s, true);
    }
    case 's': {
      std::string text;
      if (auto t = std::get_if<std::string_view>(&a))
        text = std::string(*t);
      else if (auto d = std::get_if<double>(&a))
        text = FloatDigits(std::fabs(*d), FormatDirective{.conversion = 'g'}, sep);
      else
        text = std::to_string(std::get<std::int64_t>(a));
      if (s.precision >= 0 && text.size() > static_cast<std::size_t>(s.precision)) text.resize(s.precision);
      return Pad("", text, s, false);
    }
    default:
      return {};
  }
}

}  // namespace

std::string FormatList(char sep, std::string_view f, std::initializer_list<FormatArg> args) {
  std::string out;
  auto next = args.begin();
  for (std::size_t i = 0; i < f.size();) {
    if (f[i] != '%') {
      out += f[i++];
      continue;
    }
    if (i + 1 < f.size() && f[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    FormatDirective s;
    i = ParseDirective(f, i + 1, s);
    if (next == args.end()) continue;
    out += Convert(s, *next++, sep);
  }
  return out;
}

std::string JoinNumbers(const std::vector<int>& values, std::string_view separator) {
  std::string out;
  for (int v : values) {
    if (!out.empty()) out.append(separator);
    out.append(std::to_string(v));
  }
  return out;
}

std::string Concat(std::initializer_list<std::string_view> pieces) {
  std::size_t size = 0;
  for (std::string_view p : pieces) size += p.size();
  std::string out;
  out.reserve(size);
  for (std::string_view p : pieces) out.append(p);
  return out;
}

}  // namespace komet
