#include "motors/motor_record.h"

#include "common/byte_io.h"

namespace komet {

using namespace motor_layout;

void EncodeMotorRecord(const MotorRecord& m, std::span<std::uint8_t> out) {
  ByteWriter w(out);
  w.bytes(kHead, m.head);
  w.shortString(kName, m.name);
  w.bytes(kMiddle, m.middle);
  w.f64(kPropellantMass, m.propellantMass);
  w.f64(kTotalMass, m.totalMass);
  for (std::size_t k = 0; k < m.delays.size(); ++k) w.i8(kDelays + k, m.delays[k]);
  w.f64(kBurnTime, m.burnTime);
  w.f64(kMaxThrust, m.maxThrust);
  for (std::size_t k = 0; k < MotorRecord::kCurvePoints; ++k) {
    w.f64(kCurveTime + 8 * k, m.curveTime[k]);
    w.f64(kCurveThrust + 8 * k, m.curveThrust[k]);
  }
  w.u8(kDeletedMark, m.deletedMark);
  w.bytes(kPadding, m.padding);
}

MotorRecord DecodeMotorRecord(std::span<const std::uint8_t> in) {
  ByteReader r(in);
  MotorRecord m;
  r.bytes(kHead, m.head);
  r.shortString(kName, m.name);
  r.bytes(kMiddle, m.middle);
  m.propellantMass = r.f64(kPropellantMass);
  m.totalMass = r.f64(kTotalMass);
  for (std::size_t k = 0; k < m.delays.size(); ++k) m.delays[k] = r.i8(kDelays + k);
  m.burnTime = r.f64(kBurnTime);
  m.maxThrust = r.f64(kMaxThrust);
  for (std::size_t k = 0; k < MotorRecord::kCurvePoints; ++k) {
    m.curveTime[k] = r.f64(kCurveTime + 8 * k);
    m.curveThrust[k] = r.f64(kCurveThrust + 8 * k);
  }
  m.deletedMark = r.u8(kDeletedMark);
  r.bytes(kPadding, m.padding);
  return m;
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
