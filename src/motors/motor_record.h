#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/short_string.h"

namespace komet {

// One motor: a record of the motor database file and the content of every
// motor slot of a stage. Times in s, masses in kg, thrust in N.
struct MotorRecord {
  static constexpr std::size_t kSize = 2036;
  static constexpr std::size_t kCurvePoints = 101;

  std::array<std::uint8_t, 51> head{};  // the database program's; not read
  ShortString<50> name;
  std::array<std::uint8_t, 278> middle{};  // the database program's; not read
  double propellantMass = 0.0;
  double totalMass = 0.0;
  std::array<std::int8_t, 4> delays{};  // whole seconds; 0 or less = none
  double burnTime = 0.0;
  double maxThrust = 0.0;
  std::array<double, kCurvePoints> curveTime{};
  std::array<double, kCurvePoints> curveThrust{};
  std::uint8_t deletedMark = 0;  // nonzero: the record is not offered
  std::array<std::uint8_t, 3> padding{};

  friend bool operator==(const MotorRecord&, const MotorRecord&) = default;
};

namespace motor_layout {
inline constexpr std::size_t kHead = 0;
inline constexpr std::size_t kName = 51;
inline constexpr std::size_t kMiddle = 102;
inline constexpr std::size_t kPropellantMass = 380;
inline constexpr std::size_t kTotalMass = 388;
inline constexpr std::size_t kDelays = 396;
inline constexpr std::size_t kBurnTime = 400;
inline constexpr std::size_t kMaxThrust = 408;
inline constexpr std::size_t kCurveTime = 416;
inline constexpr std::size_t kCurveThrust = 1224;
inline constexpr std::size_t kDeletedMark = 2032;
inline constexpr std::size_t kPadding = 2033;

static_assert(kName == kHead + 51);
static_assert(kMiddle == kName + ShortString<50>::kSize);
static_assert(kPropellantMass == kMiddle + 278);
static_assert(kTotalMass == kPropellantMass + 8);
static_assert(kDelays == kTotalMass + 8);
static_assert(kBurnTime == kDelays + 4);
static_assert(kMaxThrust == kBurnTime + 8);
static_assert(kCurveTime == kMaxThrust + 8);
static_assert(kCurveThrust == kCurveTime + 8 * MotorRecord::kCurvePoints);
static_assert(kDeletedMark == kCurveThrust + 8 * MotorRecord::kCurvePoints);
static_assert(kPadding + 3 == MotorRecord::kSize);
}  // namespace motor_layout

// Field-by-field (de)serialisation; the span must hold exactly kSize bytes.
void EncodeMotorRecord(const MotorRecord& motor, std::span<std::uint8_t> out);
MotorRecord DecodeMotorRecord(std::span<const std::uint8_t> in);

// Number of points of the thrust curve: it ends before the first point
// k >= 1 whose time and thrust are both 0.
std::size_t CurvePointCount(const MotorRecord& motor);

// A 64-bit digest of the fields a flight uses (masses, delays, burn time,
// maximum thrust, curve), byte for byte: equal motors give equal keys, and
// two different motors of one name practically never do.
std::uint64_t MotorFlightKey(const MotorRecord& motor);

}  // namespace komet
