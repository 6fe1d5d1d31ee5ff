// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/record_layout.h"
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
inline constexpr std::size_t kHead = 0, kName = 51, kMiddle = 102, kPropellantMass = 380, kTotalMass = 388,
                             kDelays = 396, kBurnTime = 400, kMaxThrust = 408, kCurveTime = 416,
                             kCurveThrust = 1224, kDeletedMark = 2032, kPadding = 2033;

static_assert(FieldsFollowOn({kHead, kName, kMiddle, kPropellantMass, kTotalMass, kDelays, kBurnTime,
                              kMaxThrust, kCurveTime, kCurveThrust, kDeletedMark, kPadding},
                             {51, ShortString<50>::kSize, 278, 8, 8, 4, 8, 8, 8 * MotorRecord::kCurvePoints,
                              8 * MotorRecord::kCurvePoints, 1, 3},
                             MotorRecord::kSize));
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
