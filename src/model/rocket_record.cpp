#include "model/rocket_record.h"

#include <algorithm>

#include "common/field_codec.h"

namespace komet {

namespace {

template <class T>
using StageField = RecordField<StageRecord, T>;
template <class T>
using RocketField = RecordField<RocketRecord, T>;

// The motors and the stages are records of their own, coded after these.
constexpr std::tuple kStageFields{
    StageField{stage_layout::kMass, &StageRecord::mass},
    StageField{stage_layout::kReserved8, &StageRecord::reserved8},
    StageField{stage_layout::kRunPropellantMass, &StageRecord::runPropellantMass},
    StageField{stage_layout::kRunCasingMass, &StageRecord::runCasingMass},
    StageField{stage_layout::kOtherArea, &StageRecord::otherArea},
    StageField{stage_layout::kIgnitionDelay, &StageRecord::ignitionDelay},
    StageField{stage_layout::kDiameter, &StageRecord::diameter},
    StageField{stage_layout::kRunIgnitionTime, &StageRecord::runIgnitionTime},
    StageField{stage_layout::kRunSeparationTime, &StageRecord::runSeparationTime},
    StageField{stage_layout::kAbsent, &StageRecord::absent},
    StageField{stage_layout::kPadding, &StageRecord::padding},
    StageField{stage_layout::kCounts, &StageRecord::counts},
    StageField{stage_layout::kReserved, &StageRecord::reserved}};

constexpr std::tuple kRocketFields{RocketField{rocket_layout::kMagic, &RocketRecord::magic},
                                   RocketField{rocket_layout::kName, &RocketRecord::name},
                                   RocketField{rocket_layout::kCw, &RocketRecord::cw},
                                   RocketField{rocket_layout::kReserved80, &RocketRecord::reserved80},
                                   RocketField{rocket_layout::kRunPoweredEnd, &RocketRecord::runPoweredEnd},
                                   RocketField{rocket_layout::kRunMass, &RocketRecord::runMass},
                                   RocketField{rocket_layout::kNotes, &RocketRecord::notes},
                                   RocketField{rocket_layout::kRunArea, &RocketRecord::runArea},
                                   RocketField{rocket_layout::kReserved, &RocketRecord::reserved}};

// Where element i of an array of records stands.
template <class Part, class Bytes>
Bytes Element(Bytes all, std::size_t start, std::size_t i) {
  return all.subspan(start + i * Part::kSize, Part::kSize);
}

}  // namespace

void EncodeStageRecord(const StageRecord& s, std::span<std::uint8_t> out) {
  EncodeFields(kStageFields, s, out);
  for (std::size_t j = 0; j < kSlotCount; ++j)
    EncodeMotorRecord(s.motors[j], Element<MotorRecord>(out, stage_layout::kMotors, j));
}

StageRecord DecodeStageRecord(std::span<const std::uint8_t> in) {
  StageRecord s;
  DecodeFields(kStageFields, in, s);
  for (std::size_t j = 0; j < kSlotCount; ++j)
    s.motors[j] = DecodeMotorRecord(Element<MotorRecord>(in, stage_layout::kMotors, j));
  return s;
}

void EncodeRocketRecord(const RocketRecord& rk, std::span<std::uint8_t> out) {
  EncodeFields(kRocketFields, rk, out);
  for (std::size_t i = 0; i < kStageCount; ++i)
    EncodeStageRecord(rk.stages[i], Element<StageRecord>(out, rocket_layout::kStages, i));
}

RocketRecord DecodeRocketRecord(std::span<const std::uint8_t> in) {
  RocketRecord rk;
  DecodeFields(kRocketFields, in, rk);
  for (std::size_t i = 0; i < kStageCount; ++i)
    rk.stages[i] = DecodeStageRecord(Element<StageRecord>(in, rocket_layout::kStages, i));
  return rk;
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
