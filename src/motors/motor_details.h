// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "motors/motor_record.h"

namespace komet {

// What a published motor file tells beyond the flight fields: kept in the
// record's bytes that the database format leaves to its writer, so record
// and rocket files keep their size and every flight field its bytes.
struct MotorDetails {
  enum class Type : std::uint8_t { Unknown = 0, SingleUse = 1, Reload = 2, Hybrid = 3 };
  static constexpr std::size_t kMaxDelays = 16;

  std::string maker;        // Windows-1252, at most 30 characters
  std::string designation;  // "C6-5", at most 40 characters
  double diameterMm = 0.0;
  double lengthMm = 0.0;
  double totalImpulse = 0.0;  // N·s
  Type type = Type::Unknown;
  bool plugged = false;      // sold without an ejection charge (also)
  bool booster = false;      // sold with a 0 delay, for a lower stage (also)
  std::vector<int> delays;   // every published delay, s, ascending, 1..255
  std::string source;        // the file the data came from, at most 120 characters
  std::string alsoSoldAs{};  // another designation of the very motor, folded and without hyphens
                             // ("O2645BL"), at most 8 characters; empty: none
  std::string commonName;    // "C6" as rockets are sold by, at most 14 characters
  std::string dataCheck;     // why the data are doubtful ("Daten fraglich"); empty when they passed

  friend bool operator==(const MotorDetails&, const MotorDetails&) = default;
};

// Where the block lies. Its first part fills the record's bytes 0..50, the
// second its bytes 102..379; offsets are the record's.
namespace details_layout {
inline constexpr std::size_t kTag = 0;    // "KMD" and the version
inline constexpr std::size_t kCheck = 4;  // FNV-1a of the rest of the block
inline constexpr std::size_t kMaker = 8;  // short string, capacity 30
inline constexpr std::size_t kType = 39;
inline constexpr std::size_t kFlags = 40;  // bit 0: plugged, bit 1: booster
inline constexpr std::size_t kDelayCount = 41;
inline constexpr std::size_t kAlsoSoldAs = 42;  // short string, capacity 8; zero in older blocks
inline constexpr std::size_t kHeadEnd = 51;
inline constexpr std::size_t kDesignation = 102;  // short string, capacity 40
inline constexpr std::size_t kDiameter = 143;
inline constexpr std::size_t kLength = 151;
inline constexpr std::size_t kTotalImpulse = 159;
inline constexpr std::size_t kDelayList = 167;  // kMaxDelays bytes
inline constexpr std::size_t kSource = 183;     // short string, capacity 120
// Zero in blocks written before these two were added: nothing doubtful, no
// common name.
inline constexpr std::size_t kDataCheck = 304;   // short string, capacity 60
inline constexpr std::size_t kCommonName = 365;  // short string, capacity 14
inline constexpr std::size_t kMiddleEnd = 380;

static_assert(kMaker + 31 == kType && kDelayCount + 1 == kAlsoSoldAs && kAlsoSoldAs + 9 == kHeadEnd);
static_assert(kHeadEnd == motor_layout::kName && kDesignation == motor_layout::kMiddle);
static_assert(kDesignation + 41 == kDiameter && kDiameter + 8 == kLength && kLength + 8 == kTotalImpulse);
static_assert(kTotalImpulse + 8 == kDelayList && kDelayList + MotorDetails::kMaxDelays == kSource);
static_assert(kSource + 121 == kDataCheck && kDataCheck + 61 == kCommonName &&
              kCommonName + 15 == kMiddleEnd);
static_assert(kMiddleEnd == motor_layout::kPropellantMass);
}  // namespace details_layout

// Relative difference above which a published impulse is shown beside the
// flown one.
inline constexpr double kPublishedImpulseTolerance = 0.02;

// Writes the block into the record's free bytes (texts and delays cut to
// their capacities); the record's own fields stay as they are.
void WriteMotorDetails(const MotorDetails& details, MotorRecord& motor);

// The block, when the tag and the check value are ours; otherwise nothing
// (the bytes of another writer).
std::optional<MotorDetails> ReadMotorDetails(const MotorRecord& motor);

// "1/8A" .. "O" by total impulse (each class doubles the one before, A up to
// 2.5 N·s); empty for 0 or less.
std::string ImpulseClass(double totalImpulse);

// Position of a class in "1/8A", "1/4A", "1/2A", "A", "B", ... "Z" (letters
// in either case); -1 for anything else (no impulse).
int ImpulseClassRank(std::string_view impulseClass);

// "Einweg", "Wiederladbar", "Hybrid", or "" for an unknown type.
std::string_view MotorTypeText(MotorDetails::Type type);

// The published impulse where it differs from the flown one by more than
// kPublishedImpulseTolerance; nothing otherwise (or when none is published).
std::optional<double> PublishedImpulseBeside(const MotorDetails& details, double flownImpulse);

// "0-3-5-7-P": delays as a motor's package writes them (0 for the booster
// version, P for plugged); empty when none is known.
std::string DelayCodes(const std::vector<int>& delays, bool booster, bool plugged);

// "Klasse C, Ø 18 mm, 8,8 Ns" (UTF-8) for a motor list's tooltip: the
// impulse flown, the published one beside it where it differs, and the
// mark of doubtful data.
std::string MotorSummaryText(const MotorDetails& details, double flownImpulse, char decimalSeparator);

// Every published delay of a motor: the details' list when there is one,
// else the record's positive delays; ascending, without repeats.
std::vector<int> PublishedDelays(const MotorRecord& motor);

// The name the import gives a motor: "C6 [Estes]", the maker in brackets
// after the motor's common name, cut to 50 characters by shortening the
// common name (the maker stays). Without a maker, the common name alone.
std::string CatalogueName(std::string_view commonName, std::string_view maker);

}  // namespace komet
