// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "motors/motor_details.h"
#include "motors/motor_record.h"

namespace komet {

// One offered record of the motor database.
struct MotorListEntry {
  std::string name;                       // Windows-1252, at most 50 characters
  std::int32_t recordNo;                  // 0-based position in the file, counting every record
  std::int32_t itemIndex;                 // position in each motor list after sorting
  std::uint64_t flightKey = 0;            // MotorFlightKey of the record
  std::optional<MotorDetails> details{};  // what the import kept of the published data
  double flownImpulse = 0.0;              // N·s of the record's curve, what a flight uses

  friend bool operator==(const MotorListEntry&, const MotorListEntry&) = default;
};
using MotorList = std::vector<MotorListEntry>;

// The database path as the user gave it, without surrounding blanks and
// control characters.
std::string TrimDatabasePath(std::string_view path);

// Reads the database into a list in file order, skipping deleted records and
// a trailing piece shorter than a record. A file that cannot be read gives
// none; never throws.
MotorList ReadMotorList(const std::filesystem::path& database);

// Character codes compared after mapping a-z to A-Z (nothing else); a prefix
// is smaller. Negative, 0 or positive.
int CompareMotorNames(std::string_view a, std::string_view b);

// Sorts by name, equal names keeping their order, and numbers itemIndex.
void SortMotorList(MotorList& list);

// Copies record `recordNo` of the database into `dest`. Returns false and
// leaves `dest` alone when the file ends before that record; throws
// KometError ("Datei nicht gefunden", ...) when the file cannot be read.
bool ReadMotorRecord(const std::filesystem::path& database, std::int32_t recordNo, MotorRecord& dest);

// A database read whole, once: every record by its number and the offered
// ones as list entries (file order), so readers never count bytes.
class MotorDatabase {
 public:
  MotorDatabase() = default;

  // The database file as it is, up to its first 100,000 records; one that
  // cannot be read is empty, a trailing piece shorter than a record is no
  // record. Never throws.
  static MotorDatabase Read(const std::filesystem::path& path);

  // The offered records' entries in file order (not sorted).
  const MotorList& entries() const { return entries_; }
  // Record `recordNo`, or nothing beyond the end of the file.
  const MotorRecord* record(std::int32_t recordNo) const;
  // The record of an entry whose name it still carries; nothing when the
  // file changed since the entry was listed.
  const MotorRecord* record(const MotorListEntry& entry) const;

 private:
  std::vector<MotorRecord> records_;
  MotorList entries_;
};

// Writes a database file of the given records, replacing the file only once
// it is complete. Throws KometError.
void WriteMotorDatabase(const std::filesystem::path& database, std::span<const MotorRecord> motors);

}  // namespace komet
