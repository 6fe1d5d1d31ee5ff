// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/natural_order.h"

namespace komet {
namespace {

// Wide enough for any number in a motor's name; longer runs keep their
// digits and still sort after every shorter one.
constexpr std::size_t kNumberWidth = 12;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

// A digit run becomes its length in a fixed-width prefix-free form: padded
// with zeros to kNumberWidth, so that byte order is numeric order.
std::string NaturalSortKey(std::string_view text) {
  std::string key;
  key.reserve(text.size() + kNumberWidth);
  for (std::size_t i = 0; i < text.size();) {
    if (!IsDigit(text[i])) {
      const char c = text[i++];
      key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && IsDigit(text[end])) ++end;
    std::size_t start = i;
    while (start + 1 < end && text[start] == '0') ++start;
    const std::size_t digits = end - start;
    if (digits < kNumberWidth) key.append(kNumberWidth - digits, '0');
    key.append(text.substr(start, digits));
    i = end;
  }
  return key;
}

}  // namespace komet
