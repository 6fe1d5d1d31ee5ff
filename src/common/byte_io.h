// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>

#include "common/short_string.h"

namespace komet {

static_assert(std::endian::native == std::endian::little || std::endian::native == std::endian::big);

// Bounds-checked little-endian access to a record's bytes. Every field of a
// file record goes through one of these at its named offset; a field that
// would not fit is a programming error (records are decoded from buffers of
// their full size) and throws std::out_of_range.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t u8(std::size_t offset) const { return at(offset, 1)[0]; }
  std::int8_t i8(std::size_t offset) const { return static_cast<std::int8_t>(u8(offset)); }
  std::int32_t i32(std::size_t offset) const {
    return static_cast<std::int32_t>(fetch<std::uint32_t>(offset));
  }
  double f64(std::size_t offset) const { return std::bit_cast<double>(fetch<std::uint64_t>(offset)); }
  float f32(std::size_t offset) const { return std::bit_cast<float>(fetch<std::uint32_t>(offset)); }

  template <std::size_t N>
  void bytes(std::size_t offset, std::array<std::uint8_t, N>& out) const {
    std::memcpy(out.data(), at(offset, N), N);
  }
  template <std::size_t N>
  void shortString(std::size_t offset, ShortString<N>& out) const {
    bytes(offset, out.raw());
  }

 private:
  const std::uint8_t* at(std::size_t offset, std::size_t n) const {
    if (offset > bytes_.size() || n > bytes_.size() - offset) throw std::out_of_range("record field");
    return bytes_.data() + offset;
  }
  template <typename U>
  U fetch(std::size_t offset) const {
    const std::uint8_t* p = at(offset, sizeof(U));
    U v = 0;
    for (std::size_t k = 0; k < sizeof(U); ++k) v |= static_cast<U>(p[k]) << (8 * k);
    return v;
  }

  std::span<const std::uint8_t> bytes_;
};

class ByteWriter {
 public:
  explicit ByteWriter(std::span<std::uint8_t> bytes) : bytes_(bytes) {}

  void u8(std::size_t offset, std::uint8_t v) { at(offset, 1)[0] = v; }
  void i8(std::size_t offset, std::int8_t v) { u8(offset, static_cast<std::uint8_t>(v)); }
  void i32(std::size_t offset, std::int32_t v) { store(offset, static_cast<std::uint32_t>(v)); }
  void f64(std::size_t offset, double v) { store(offset, std::bit_cast<std::uint64_t>(v)); }
  void f32(std::size_t offset, float v) { store(offset, std::bit_cast<std::uint32_t>(v)); }

  template <std::size_t N>
  void bytes(std::size_t offset, const std::array<std::uint8_t, N>& in) {
    std::memcpy(at(offset, N), in.data(), N);
  }
  template <std::size_t N>
  void shortString(std::size_t offset, const ShortString<N>& in) {
    bytes(offset, in.raw());
  }

 private:
  std::uint8_t* at(std::size_t offset, std::size_t n) {
    if (offset > bytes_.size() || n > bytes_.size() - offset) throw std::out_of_range("record field");
    return bytes_.data() + offset;
  }
  template <typename U>
  void store(std::size_t offset, U v) {
    std::uint8_t* p = at(offset, sizeof(U));
    for (std::size_t k = 0; k < sizeof(U); ++k) p[k] = static_cast<std::uint8_t>(v >> (8 * k));
  }

  std::span<std::uint8_t> bytes_;
};

}  // namespace komet
