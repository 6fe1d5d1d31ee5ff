// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/file_io.h"
#include "common/komet_error.h"

namespace komet {

std::optional<double> ParseMotorNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value + 0.0;  // no -0 in a record
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int extra = b < 0x80 ? 0 : b < 0xC2 ? -1 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : b < 0xF5 ? 3 : -1;
    if (extra < 0 || i + extra >= s.size()) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    // Overlong forms, surrogates and code points above U+10FFFF are no UTF-8.
    const auto b1 = extra > 0 ? static_cast<unsigned char>(s[i + 1]) : 0;
    if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 > 0x9F) || (b == 0xF0 && b1 < 0x90) ||
        (b == 0xF4 && b1 > 0x8F))
      return false;
    i += extra + 1;
  }
  return true;
}

std::string ReadMotorFileText(const std::filesystem::path& path, std::size_t maxBytes) {
  const std::string name = path.filename().string();
  std::vector<std::uint8_t> bytes;
  try {
    bytes = ReadFilePrefix(path, maxBytes + 1);
  } catch (const KometError& e) {
    throw KometError(e.kind(), name + ": " + e.what(), e.code());
  }
  if (bytes.size() > maxBytes) throw KometError(KometError::Kind::Io, name + ": Datei zu groß");
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace komet
