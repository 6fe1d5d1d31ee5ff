#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/rocket_record.h"
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

  friend bool operator==(const MotorListEntry&, const MotorListEntry&) = default;
};
using MotorList = std::vector<MotorListEntry>;

// Nine motor lists: stage 1 slots 1..3, then stage 2, then stage 3.
inline constexpr std::size_t kMotorListCount = kStageCount * kSlotCount;
using MotorSelections = std::array<int, kMotorListCount>;  // item index, or -1 = none

// The database path as the user gave it, without surrounding blanks and
// control characters.
std::string TrimDatabasePath(std::string_view path);

// Reads the database into a list in file order, skipping deleted records and
// a trailing piece shorter than a record. A file that cannot be read gives
// the records read so far (none when it cannot be opened); never throws.
MotorList ReadMotorList(const std::filesystem::path& database);

// Character codes compared after mapping a-z to A-Z (nothing else); a prefix
// is smaller. Negative, 0 or positive.
int CompareMotorNames(std::string_view a, std::string_view b);

// Sorts by name, equal names keeping their order, and numbers itemIndex.
void SortMotorList(MotorList& list);

// For each of the nine slots whose count is above 0, the itemIndex of the
// entry whose name equals the slot motor's name; else -1. Of several such
// entries the last one whose flight fields equal the slot's copy wins, and
// only when none does, the last one (the same name from several makers must
// not swap the motor a rocket was built with). A slot whose name is in no
// entry selects the last entry whose flight fields equal its copy (a rocket
// saved before the catalogue's names), if any.
MotorSelections MatchRocketMotors(const MotorList& list, const RocketRecord& rocket);

// Copies record `recordNo` of the database into `dest`. Returns false and
// leaves `dest` alone when the file ends before that record; throws
// KometError ("Datei nicht gefunden", ...) when the file cannot be read.
bool ReadMotorRecord(const std::filesystem::path& database, std::int32_t recordNo, MotorRecord& dest);

// Writes a database file of the given records, replacing the file only once
// it is complete. Throws KometError.
void WriteMotorDatabase(const std::filesystem::path& database, std::span<const MotorRecord> motors);

}  // namespace komet
