#include "model/rocket_record.h"

#include <algorithm>

#include "common/byte_io.h"

namespace komet {

void EncodeStageRecord(const StageRecord& s, std::span<std::uint8_t> out) {
  using namespace stage_layout;
  ByteWriter w(out);
  w.f64(kMass, s.mass);
  w.f64(kReserved8, s.reserved8);
  w.f64(kRunPropellantMass, s.runPropellantMass);
  w.f64(kRunCasingMass, s.runCasingMass);
  w.f64(kOtherArea, s.otherArea);
  w.f64(kIgnitionDelay, s.ignitionDelay);
  w.f64(kDiameter, s.diameter);
  w.f64(kRunIgnitionTime, s.runIgnitionTime);
  w.f64(kRunSeparationTime, s.runSeparationTime);
  w.u8(kAbsent, s.absent);
  w.bytes(kPadding, s.padding);
  for (std::size_t j = 0; j < kSlotCount; ++j)
    EncodeMotorRecord(s.motors[j], out.subspan(kMotors + j * MotorRecord::kSize, MotorRecord::kSize));
  for (std::size_t j = 0; j < kSlotCount; ++j) w.i32(kCounts + 4 * j, s.counts[j]);
  w.bytes(kReserved, s.reserved);
}

StageRecord DecodeStageRecord(std::span<const std::uint8_t> in) {
  using namespace stage_layout;
  ByteReader r(in);
  StageRecord s;
  s.mass = r.f64(kMass);
  s.reserved8 = r.f64(kReserved8);
  s.runPropellantMass = r.f64(kRunPropellantMass);
  s.runCasingMass = r.f64(kRunCasingMass);
  s.otherArea = r.f64(kOtherArea);
  s.ignitionDelay = r.f64(kIgnitionDelay);
  s.diameter = r.f64(kDiameter);
  s.runIgnitionTime = r.f64(kRunIgnitionTime);
  s.runSeparationTime = r.f64(kRunSeparationTime);
  s.absent = r.u8(kAbsent);
  r.bytes(kPadding, s.padding);
  for (std::size_t j = 0; j < kSlotCount; ++j)
    s.motors[j] = DecodeMotorRecord(in.subspan(kMotors + j * MotorRecord::kSize, MotorRecord::kSize));
  for (std::size_t j = 0; j < kSlotCount; ++j) s.counts[j] = r.i32(kCounts + 4 * j);
  r.bytes(kReserved, s.reserved);
  return s;
}

void EncodeRocketRecord(const RocketRecord& rk, std::span<std::uint8_t> out) {
  using namespace rocket_layout;
  ByteWriter w(out);
  w.shortString(kMagic, rk.magic);
  w.shortString(kName, rk.name);
  w.f64(kCw, rk.cw);
  w.f64(kReserved80, rk.reserved80);
  w.f64(kRunPoweredEnd, rk.runPoweredEnd);
  w.f64(kRunMass, rk.runMass);
  for (std::size_t i = 0; i < kStageCount; ++i)
    EncodeStageRecord(rk.stages[i], out.subspan(kStages + i * StageRecord::kSize, StageRecord::kSize));
  w.bytes(kNotes, rk.notes);
  w.f64(kRunArea, rk.runArea);
  w.bytes(kReserved, rk.reserved);
}

RocketRecord DecodeRocketRecord(std::span<const std::uint8_t> in) {
  using namespace rocket_layout;
  ByteReader r(in);
  RocketRecord rk;
  r.shortString(kMagic, rk.magic);
  r.shortString(kName, rk.name);
  rk.cw = r.f64(kCw);
  rk.reserved80 = r.f64(kReserved80);
  rk.runPoweredEnd = r.f64(kRunPoweredEnd);
  rk.runMass = r.f64(kRunMass);
  for (std::size_t i = 0; i < kStageCount; ++i)
    rk.stages[i] = DecodeStageRecord(in.subspan(kStages + i * StageRecord::kSize, StageRecord::kSize));
  r.bytes(kNotes, rk.notes);
  rk.runArea = r.f64(kRunArea);
  r.bytes(kReserved, rk.reserved);
  return rk;
}

void InitRakete(RocketRecord& rk) {
  rk.magic.assign(RocketRecord::kMagic);
  rk.name.assign(RocketRecord::kEmptyName);
  rk.cw = 0.0;
  rk.reserved80 = 0.0;
  rk.runArea = 0.0;
  for (StageRecord& s : rk.stages) {
    s.mass = s.reserved8 = s.runPropellantMass = s.runCasingMass = 0.0;
    s.otherArea = s.ignitionDelay = s.diameter = 0.0;
    s.counts = {};
    for (MotorRecord& m : s.motors) m.name.clear();
  }
  rk.notes[0] = 0;
}

bool HasRocketMagic(const RocketRecord& rk) {
  const auto& raw = rk.magic.raw();
  return raw[0] == RocketRecord::kMagic.size() &&
         std::equal(RocketRecord::kMagic.begin(), RocketRecord::kMagic.end(), raw.begin() + 1,
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

std::string NotesText(const RocketRecord& rk) {
  const auto end = std::find(rk.notes.begin(), rk.notes.begin() + RocketRecord::kMaxNotesLength, 0);
  return std::string(rk.notes.begin(), end);
}

void SetNotesText(RocketRecord& rk, std::string_view cp1252) {
  const std::size_t n = std::min(cp1252.size(), RocketRecord::kMaxNotesLength);
  std::copy_n(cp1252.begin(), n, rk.notes.begin());
  rk.notes[n] = 0;
}

}  // namespace komet
