// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace komet {

// A text of fixed capacity N as records store it: a length byte, then N
// Windows-1252 characters. Bytes after the text are carried as they stand,
// so a record read from a file is written back unchanged.
template <std::size_t N>
class ShortString {
  static_assert(N >= 1 && N <= 255, "a length byte holds at most 255");

 public:
  static constexpr std::size_t kCapacity = N;
  static constexpr std::size_t kSize = N + 1;  // bytes in a record

  ShortString() = default;
  explicit ShortString(std::string_view cp1252) { assign(cp1252); }

  // Length as the text is used: a length byte above the capacity (a corrupt
  // file) is clamped to the capacity.
  std::size_t length() const { return std::min<std::size_t>(bytes_[0], N); }
  bool empty() const { return length() == 0; }

  // The characters, Windows-1252.
  std::string_view view() const { return {reinterpret_cast<const char*>(bytes_.data() + 1), length()}; }
  std::string str() const { return std::string(view()); }

  // Stores the text, cut to the capacity; bytes after it keep what they held.
  void assign(std::string_view cp1252) {
    const std::size_t n = std::min(cp1252.size(), N);
    std::copy_n(cp1252.begin(), n, bytes_.begin() + 1);
    bytes_[0] = static_cast<std::uint8_t>(n);
  }
  void clear() { bytes_[0] = 0; }

  // The stored bytes, length byte first, exactly as a record holds them.
  const std::array<std::uint8_t, kSize>& raw() const { return bytes_; }
  std::array<std::uint8_t, kSize>& raw() { return bytes_; }

  friend bool operator==(const ShortString&, const ShortString&) = default;

 private:
  std::array<std::uint8_t, kSize> bytes_{};
};

}  // namespace komet
