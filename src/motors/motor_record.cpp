// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_record.h"

#include "common/field_codec.h"

namespace komet {

using namespace motor_layout;

namespace {

constexpr auto kFields = std::make_tuple(
    FieldAt(kHead, &MotorRecord::head), FieldAt(kName, &MotorRecord::name),
    FieldAt(kMiddle, &MotorRecord::middle), FieldAt(kPropellantMass, &MotorRecord::propellantMass),
    FieldAt(kTotalMass, &MotorRecord::totalMass), FieldAt(kDelays, &MotorRecord::delays),
    FieldAt(kBurnTime, &MotorRecord::burnTime), FieldAt(kMaxThrust, &MotorRecord::maxThrust),
    FieldAt(kCurveTime, &MotorRecord::curveTime), FieldAt(kCurveThrust, &MotorRecord::curveThrust),
    FieldAt(kDeletedMark, &MotorRecord::deletedMark), FieldAt(kPadding, &MotorRecord::padding));

}  // namespace

void EncodeMotorRecord(const MotorRecord& m, std::span<std::uint8_t> out) {
  EncodeFields(kFields, m, out);
}

MotorRecord DecodeMotorRecord(std::span<const std::uint8_t> in) {
  return DecodeFields<MotorRecord>(kFields, in);
}

std::uint64_t MotorFlightKey(const MotorRecord& m) {
  std::array<std::uint8_t, MotorRecord::kSize> bytes;
  EncodeMotorRecord(m, bytes);
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (std::size_t i = kPropellantMass; i < kDeletedMark; ++i) h = (h ^ bytes[i]) * 1099511628211ull;
  return h;
}

std::size_t CurvePointCount(const MotorRecord& m) {
  std::size_t k = 1;
  while (k < MotorRecord::kCurvePoints && !(m.curveTime[k] == 0.0 && m.curveThrust[k] == 0.0)) ++k;
  return k;
}

}  // namespace komet
