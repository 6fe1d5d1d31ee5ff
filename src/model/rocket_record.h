// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/record_layout.h"
#include "common/short_string.h"
#include "motors/motor_record.h"

namespace komet {

inline constexpr std::size_t kStageCount = 3;  // stages[0] is stage 1, the main stage
inline constexpr std::size_t kSlotCount = 3;   // motor slots per stage

// One stage. Masses in kg, lengths in m, areas in m², times in s. The run*
// fields and `absent` are working values of the simulation, recomputed before
// every run and stored as they stand after the last one.
struct StageRecord {
  static constexpr std::size_t kSize = 6208;

  double mass = 0.0;  // without motors
  double reserved8 = 0.0;
  double runPropellantMass = 0.0;
  double runCasingMass = 0.0;
  double otherArea = 0.0;
  double ignitionDelay = 0.0;  // from this stage's burnout to the ignition of the stage above
  double diameter = 0.0;
  double runIgnitionTime = 0.0;
  double runSeparationTime = 0.0;
  std::uint8_t absent = 0;
  std::array<std::uint8_t, 3> padding{};
  std::array<MotorRecord, kSlotCount> motors{};
  std::array<std::int32_t, kSlotCount> counts{};  // 0..20 from the stage dialog
  std::array<std::uint8_t, 12> reserved{};

  friend bool operator==(const StageRecord&, const StageRecord&) = default;
};

// The rocket document, written to rocket files byte for byte.
struct RocketRecord {
  static constexpr std::size_t kSize = 26932;
  static constexpr std::size_t kNotesSize = 8184;
  static constexpr std::size_t kMaxNotesLength = kNotesSize - 1;  // leaves the terminator
  static constexpr std::string_view kMagic = "KOMET W95/NT";
  static constexpr std::string_view kEmptyName = "KeinName";

  ShortString<20> magic;
  ShortString<50> name;
  double cw = 0.0;
  double reserved80 = 0.0;
  double runPoweredEnd = 0.0;
  double runMass = 0.0;
  std::array<StageRecord, kStageCount> stages{};
  std::array<std::uint8_t, kNotesSize> notes{};  // zero-terminated, Windows-1252
  double runArea = 0.0;
  std::array<std::uint8_t, 12> reserved{};

  friend bool operator==(const RocketRecord&, const RocketRecord&) = default;
};

namespace stage_layout {
inline constexpr std::size_t kMass = 0, kReserved8 = 8, kRunPropellantMass = 16, kRunCasingMass = 24,
                             kOtherArea = 32, kIgnitionDelay = 40, kDiameter = 48, kRunIgnitionTime = 56,
                             kRunSeparationTime = 64, kAbsent = 72, kPadding = 73, kMotors = 76,
                             kCounts = 6184, kReserved = 6196;

static_assert(FieldsFollowOn(
    {kMass, kReserved8, kRunPropellantMass, kRunCasingMass, kOtherArea, kIgnitionDelay, kDiameter,
     kRunIgnitionTime, kRunSeparationTime, kAbsent, kPadding, kMotors, kCounts, kReserved},
    {8, 8, 8, 8, 8, 8, 8, 8, 8, 1, 3, kSlotCount* MotorRecord::kSize, 4 * kSlotCount, 12},
    StageRecord::kSize));
}  // namespace stage_layout

namespace rocket_layout {
inline constexpr std::size_t kMagic = 0, kName = 21, kCw = 72, kReserved80 = 80, kRunPoweredEnd = 88,
                             kRunMass = 96, kStages = 104, kNotes = 18728, kRunArea = 26912,
                             kReserved = 26920;

static_assert(FieldsFollowOn({kMagic, kName, kCw, kReserved80, kRunPoweredEnd, kRunMass, kStages, kNotes,
                              kRunArea, kReserved},
                             {ShortString<20>::kSize, ShortString<50>::kSize, 8, 8, 8, 8,
                              kStageCount* StageRecord::kSize, RocketRecord::kNotesSize, 8, 12},
                             RocketRecord::kSize));
}  // namespace rocket_layout

// Field-by-field (de)serialisation; the span must hold exactly kSize bytes.
void EncodeStageRecord(const StageRecord& stage, std::span<std::uint8_t> out);
StageRecord DecodeStageRecord(std::span<const std::uint8_t> in);
void EncodeRocketRecord(const RocketRecord& rocket, std::span<std::uint8_t> out);
RocketRecord DecodeRocketRecord(std::span<const std::uint8_t> in);

// The empty rocket: sets magic, "KeinName", cw, the reserved double, runArea,
// the stage doubles at offsets 0..48, counts, motor names and notes; leaves
// every other byte as it was.
void InitRakete(RocketRecord& rocket);

// Whether the first 13 bytes are the length byte 12 and "KOMET W95/NT".
bool HasRocketMagic(const RocketRecord& rocket);

// The notes up to their terminator, at most kMaxNotesLength characters even
// when the field holds no zero. Windows-1252.
std::string NotesText(const RocketRecord& rocket);

// Stores the notes, cut to kMaxNotesLength characters, zero-terminated; the
// bytes after the terminator keep what they held.
void SetNotesText(RocketRecord& rocket, std::string_view cp1252);

}  // namespace komet
