// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/rocket_record.h"

#include <algorithm>

#include "common/field_codec.h"

namespace komet {

namespace {

constexpr auto StageFields() {
  using namespace stage_layout;
  using S = StageRecord;
  return std::make_tuple(
      FieldAt(kMass, &S::mass), FieldAt(kReserved8, &S::reserved8),
      FieldAt(kRunPropellantMass, &S::runPropellantMass), FieldAt(kRunCasingMass, &S::runCasingMass),
      FieldAt(kOtherArea, &S::otherArea), FieldAt(kIgnitionDelay, &S::ignitionDelay),
      FieldAt(kDiameter, &S::diameter), FieldAt(kRunIgnitionTime, &S::runIgnitionTime),
      FieldAt(kRunSeparationTime, &S::runSeparationTime), FieldAt(kAbsent, &S::absent),
      FieldAt(kPadding, &S::padding), PartsAt(kMotors, &S::motors, EncodeMotorRecord, DecodeMotorRecord),
      FieldAt(kCounts, &S::counts), FieldAt(kReserved, &S::reserved));
}

constexpr auto RocketFields() {
  using namespace rocket_layout;
  using R = RocketRecord;
  return std::make_tuple(
      FieldAt(kMagic, &R::magic), FieldAt(kName, &R::name), FieldAt(kCw, &R::cw),
      FieldAt(kReserved80, &R::reserved80), FieldAt(kRunPoweredEnd, &R::runPoweredEnd),
      FieldAt(kRunMass, &R::runMass), PartsAt(kStages, &R::stages, EncodeStageRecord, DecodeStageRecord),
      FieldAt(kNotes, &R::notes), FieldAt(kRunArea, &R::runArea), FieldAt(kReserved, &R::reserved));
}

constexpr auto kStageFields = StageFields();
constexpr auto kRocketFields = RocketFields();

}  // namespace

void EncodeStageRecord(const StageRecord& s, std::span<std::uint8_t> out) {
  EncodeFields(kStageFields, s, out);
}

StageRecord DecodeStageRecord(std::span<const std::uint8_t> in) {
  return DecodeFields<StageRecord>(kStageFields, in);
}

void EncodeRocketRecord(const RocketRecord& rk, std::span<std::uint8_t> out) {
  EncodeFields(kRocketFields, rk, out);
}

RocketRecord DecodeRocketRecord(std::span<const std::uint8_t> in) {
  return DecodeFields<RocketRecord>(kRocketFields, in);
}

void InitRakete(RocketRecord& rk) {
  rk.magic.assign(RocketRecord::kMagic);
  rk.name.assign(RocketRecord::kEmptyName);
  rk.cw = 0.0;
  // Unused by the flight, but cleared (here and in the stages): a new rocket
  // made over an opened one must not carry that file's values into its own.
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
