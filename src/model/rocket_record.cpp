#include "model/rocket_record.h"

#include <algorithm>

#include "common/field_codec.h"

namespace komet {

namespace {

template <class T>
using StageField = RecordField<StageRecord, T>;
template <class T>
using RocketField = RecordField<RocketRecord, T>;

constexpr auto StageFields() {
  using namespace stage_layout;
  using S = StageRecord;
  return std::make_tuple(StageField{kMass, &S::mass}, StageField{kReserved8, &S::reserved8},
                         StageField{kRunPropellantMass, &S::runPropellantMass},
                         StageField{kRunCasingMass, &S::runCasingMass}, StageField{kOtherArea, &S::otherArea},
                         StageField{kIgnitionDelay, &S::ignitionDelay}, StageField{kDiameter, &S::diameter},
                         StageField{kRunIgnitionTime, &S::runIgnitionTime},
                         StageField{kRunSeparationTime, &S::runSeparationTime},
                         StageField{kAbsent, &S::absent}, StageField{kPadding, &S::padding},
                         PartsField{kMotors, &S::motors, EncodeMotorRecord, DecodeMotorRecord},
                         StageField{kCounts, &S::counts}, StageField{kReserved, &S::reserved});
}

constexpr auto RocketFields() {
  using namespace rocket_layout;
  using R = RocketRecord;
  return std::make_tuple(RocketField{kMagic, &R::magic}, RocketField{kName, &R::name},
                         RocketField{kCw, &R::cw}, RocketField{kReserved80, &R::reserved80},
                         RocketField{kRunPoweredEnd, &R::runPoweredEnd}, RocketField{kRunMass, &R::runMass},
                         PartsField{kStages, &R::stages, EncodeStageRecord, DecodeStageRecord},
                         RocketField{kNotes, &R::notes}, RocketField{kRunArea, &R::runArea},
                         RocketField{kReserved, &R::reserved});
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
