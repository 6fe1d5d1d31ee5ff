// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_database.h"

#include <algorithm>
#include <fstream>

#include "common/file_io.h"
#include "common/komet_error.h"
#include "motors/eng_import.h"

namespace komet {

std::string TrimDatabasePath(std::string_view path) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!path.empty() && blank(path.front())) path.remove_prefix(1);
  while (!path.empty() && blank(path.back())) path.remove_suffix(1);
  return std::string(path);
}

MotorList ReadMotorList(const std::filesystem::path& database) {
  return MotorDatabase::Read(database).entries();
}

int CompareMotorNames(std::string_view a, std::string_view b) {
  auto key = [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? u - ('a' - 'A') : u;
  };
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int d = key(a[i]) - key(b[i]);
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

void SortMotorList(MotorList& list) {
  std::stable_sort(list.begin(), list.end(), [](const MotorListEntry& x, const MotorListEntry& y) {
    return CompareMotorNames(x.name, y.name) < 0;
  });
  for (std::size_t i = 0; i < list.size(); ++i) list[i].itemIndex = static_cast<std::int32_t>(i);
}

bool ReadMotorRecord(const std::filesystem::path& database, std::int32_t recordNo, MotorRecord& dest) {
  if (recordNo < 0) return false;
  const std::vector<std::uint8_t> bytes =
      ReadFileRange(database, static_cast<std::uint64_t>(recordNo) * MotorRecord::kSize, MotorRecord::kSize);
  if (bytes.size() != MotorRecord::kSize) return false;
  dest = DecodeMotorRecord(bytes);
  return true;
}

MotorDatabase MotorDatabase::Read(const std::filesystem::path& path) {
  MotorDatabase db;
  std::vector<std::uint8_t> bytes;
  try {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return db;
    // More records than any motor database holds: a wrong file, not read whole.
    constexpr std::uintmax_t kMaxBytes = std::uintmax_t{100000} * MotorRecord::kSize;
    bytes = ReadFilePrefix(path, static_cast<std::size_t>(std::min(size, kMaxBytes)));
  } catch (const KometError&) {
    return db;
  }
  const std::size_t count = bytes.size() / MotorRecord::kSize;
  db.records_.reserve(count);
  for (std::size_t n = 0; n < count; ++n) {
    db.records_.push_back(
        DecodeMotorRecord(std::span(bytes).subspan(n * MotorRecord::kSize, MotorRecord::kSize)));
    const MotorRecord& m = db.records_.back();
    if (m.deletedMark == 0)
      db.entries_.push_back({m.name.str(), static_cast<std::int32_t>(n), -1, MotorFlightKey(m),
                             ReadMotorDetails(m), TotalImpulse(m)});
  }
  return db;
}

const MotorRecord* MotorDatabase::record(std::int32_t recordNo) const {
  return recordNo >= 0 && static_cast<std::size_t>(recordNo) < records_.size() ? &records_[recordNo]
                                                                               : nullptr;
}

const MotorRecord* MotorDatabase::record(const MotorListEntry& entry) const {
  const MotorRecord* m = record(entry.recordNo);
  return m && m->name.view() == entry.name ? m : nullptr;
}

void WriteMotorDatabase(const std::filesystem::path& database, std::span<const MotorRecord> motors) {
  std::vector<std::uint8_t> bytes(motors.size() * MotorRecord::kSize);
  for (std::size_t i = 0; i < motors.size(); ++i)
    EncodeMotorRecord(motors[i], std::span(bytes).subspan(i * MotorRecord::kSize, MotorRecord::kSize));
  WriteFileAtomically(database, bytes);
}

}  // namespace komet
