#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <tuple>

#include "common/byte_io.h"
#include "common/short_string.h"

namespace komet {

// One field of a file record: its offset and the member that holds it. A
// record's encoder and decoder share one list of these, so the two cannot
// drift apart.
template <class Record, class T>
struct RecordField {
  std::size_t offset;
  T Record::*member;
};

namespace field_codec {

inline void Put(ByteWriter& w, std::size_t at, double v) {
  w.f64(at, v);
}
inline void Put(ByteWriter& w, std::size_t at, std::uint8_t v) {
  w.u8(at, v);
}
inline void Put(ByteWriter& w, std::size_t at, std::int8_t v) {
  w.i8(at, v);
}
inline void Put(ByteWriter& w, std::size_t at, std::int32_t v) {
  w.i32(at, v);
}
template <std::size_t N>
void Put(ByteWriter& w, std::size_t at, const ShortString<N>& v) {
  w.shortString(at, v);
}
template <std::size_t N>
void Put(ByteWriter& w, std::size_t at, const std::array<std::uint8_t, N>& v) {
  w.bytes(at, v);
}
// An array of numbers: element k at `at + k * sizeof(T)`.
template <class T, std::size_t N>
void Put(ByteWriter& w, std::size_t at, const std::array<T, N>& v) {
  for (std::size_t k = 0; k < N; ++k) Put(w, at + k * sizeof(T), v[k]);
}

inline void Get(const ByteReader& r, std::size_t at, double& v) {
  v = r.f64(at);
}
inline void Get(const ByteReader& r, std::size_t at, std::uint8_t& v) {
  v = r.u8(at);
}
inline void Get(const ByteReader& r, std::size_t at, std::int8_t& v) {
  v = r.i8(at);
}
inline void Get(const ByteReader& r, std::size_t at, std::int32_t& v) {
  v = r.i32(at);
}
template <std::size_t N>
void Get(const ByteReader& r, std::size_t at, ShortString<N>& v) {
  r.shortString(at, v);
}
template <std::size_t N>
void Get(const ByteReader& r, std::size_t at, std::array<std::uint8_t, N>& v) {
  r.bytes(at, v);
}
template <class T, std::size_t N>
void Get(const ByteReader& r, std::size_t at, std::array<T, N>& v) {
  for (std::size_t k = 0; k < N; ++k) Get(r, at + k * sizeof(T), v[k]);
}

}  // namespace field_codec

// Writes every listed field of `record` at its offset, in the list's order.
template <class Record, class... T>
void EncodeFields(const std::tuple<RecordField<Record, T>...>& fields, const Record& record,
                  std::span<std::uint8_t> out) {
  ByteWriter w(out);
  std::apply([&](const auto&... f) { (field_codec::Put(w, f.offset, record.*f.member), ...); }, fields);
}

// Reads every listed field into `record`; other members keep their values.
template <class Record, class... T>
void DecodeFields(const std::tuple<RecordField<Record, T>...>& fields, std::span<const std::uint8_t> in,
                  Record& record) {
  const ByteReader r(in);
  std::apply([&](const auto&... f) { (field_codec::Get(r, f.offset, record.*f.member), ...); }, fields);
}

}  // namespace komet
