// SPDX-License-Identifier: GPL-3.0-or-later
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

// An array of records of their own inside a record, one after the other,
// each coded by its own functions.
template <class Record, class Part, std::size_t N>
struct PartsField {
  std::size_t offset;
  std::array<Part, N> Record::*member;
  void (*encode)(const Part&, std::span<std::uint8_t>);
  Part (*decode)(std::span<const std::uint8_t>);
};

// Field lists are written with these rather than with the types' own
// deduction: clang 14, which builds the fuzz targets, cannot deduce the
// arguments of an aggregate or an alias template.
template <class Record, class T>
constexpr RecordField<Record, T> FieldAt(std::size_t offset, T Record::*member) {
  return {offset, member};
}
template <class Record, class Part, std::size_t N>
constexpr PartsField<Record, Part, N> PartsAt(std::size_t offset, std::array<Part, N> Record::*member,
                                              void (*encode)(const Part&, std::span<std::uint8_t>),
                                              Part (*decode)(std::span<const std::uint8_t>)) {
  return {offset, member, encode, decode};
}

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

template <class Record, class T>
void Encode(ByteWriter& w, std::span<std::uint8_t>, const Record& record, const RecordField<Record, T>& f) {
  Put(w, f.offset, record.*f.member);
}
template <class Record, class Part, std::size_t N>
void Encode(ByteWriter&, std::span<std::uint8_t> out, const Record& record,
            const PartsField<Record, Part, N>& f) {
  for (std::size_t k = 0; k < N; ++k)
    f.encode((record.*f.member)[k], out.subspan(f.offset + k * Part::kSize, Part::kSize));
}

template <class Record, class T>
void Decode(const ByteReader& r, std::span<const std::uint8_t>, Record& record,
            const RecordField<Record, T>& f) {
  Get(r, f.offset, record.*f.member);
}
template <class Record, class Part, std::size_t N>
void Decode(const ByteReader&, std::span<const std::uint8_t> in, Record& record,
            const PartsField<Record, Part, N>& f) {
  for (std::size_t k = 0; k < N; ++k)
    (record.*f.member)[k] = f.decode(in.subspan(f.offset + k * Part::kSize, Part::kSize));
}

}  // namespace field_codec

// Writes every listed field of `record` at its offset, in the list's order.
template <class Record, class... Fields>
void EncodeFields(const std::tuple<Fields...>& fields, const Record& record, std::span<std::uint8_t> out) {
  ByteWriter w(out);
  std::apply([&](const auto&... f) { (field_codec::Encode(w, out, record, f), ...); }, fields);
}

// The record of the listed fields; other members keep their initial values.
template <class Record, class... Fields>
Record DecodeFields(const std::tuple<Fields...>& fields, std::span<const std::uint8_t> in) {
  const ByteReader r(in);
  Record record;
  std::apply([&](const auto&... f) { (field_codec::Decode(r, in, record, f), ...); }, fields);
  return record;
}

}  // namespace komet
