// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "motors/eng_curve.h"
#include "motors/import_result.h"
#include "motors/motor_details.h"
#include "motors/motor_record.h"

namespace komet {

// Parses the text of a .eng file. Never throws: every fault of the text is a
// diagnostic, and a rejected entry does not stop the others.
MotorImport ParseEng(std::string_view text, std::string_view fileName);

// Reads and parses a .eng file; diagnostics name the file by its file name.
// Throws KometError ("motors.eng: Datei nicht gefunden", ...) when the file
// cannot be read or is larger than kMaxEngFileBytes.
MotorImport ImportEngFile(const std::filesystem::path& path);

inline constexpr std::size_t kMaxEngFileBytes = 16 * 1024 * 1024;

// The ejection delays of a .eng header field: tokens split on '-' or ',',
// whole seconds 1..98 kept; "0" sets `booster` (the version for a lower
// stage), 99 and above and the marks "P", "Plugged", "NE" (any case) set
// `plugged`; the record's four places hold neither. `all` holds every delay,
// ascending; `delays` the record's four places: all of them when they fit,
// else the three shortest and the longest, the others in `leftOut`. Tokens
// it does not know are returned in `unknown`.
struct EngDelays {
  std::array<std::int8_t, 4> delays{};
  std::vector<int> all;
  std::vector<int> leftOut;
  bool plugged = false;
  bool booster = false;
  std::vector<std::string> unknown;
};
EngDelays ParseEngDelays(std::string_view field);

// A record of a motor read from a file: the burn time is the curve's last
// time, the maximum thrust its peak; at most 101 points are taken.
MotorRecord MakeMotorRecord(std::string_view name, double propellantMass, double totalMass,
                            const std::array<std::int8_t, 4>& delays, std::span<const CurvePoint> points,
                            const MotorDetails& details);

// A motor entry of a file as a reader collects it.
struct MotorEntry {
  std::string name;             // Windows-1252, as the file gives it
  std::string maker;            // Windows-1252
  double propellantMass = 0.0;  // kg
  double totalMass = 0.0;       // kg
  double diameterMm = 0.0;
  double lengthMm = 0.0;
  EngDelays delays;
  std::vector<CurvePoint> points{CurvePoint{}};  // starts with the implicit (0, 0)
  bool rejected = false;
};

// The record of a complete entry, its curve finished (`thinnedNote` is the
// warning when it had to be thinned), named "COMMON [MAKER]" with the maker's
// one spelling, its masses checked against the curve (`doubt`). `details` brings what only the file's
// format knows; a total impulse it gives (above 0) stands, else the curve's.
struct EntryMotor {
  MotorRecord record;
  std::string thinnedNote;
  std::string doubt;  // why masses and curve cannot belong together (UTF-8); empty when they can
};
EntryMotor FinishEntry(MotorEntry&& entry, MotorDetails details, std::string_view fileNameUtf8);

// The warning that names the delays left out of the record's four places.
std::string LeftOutDelaysText(const EngDelays& delays);

// Total impulse of the motor's thrust curve by the trapezoid rule, N·s.
double TotalImpulse(const MotorRecord& motor);

}  // namespace komet
