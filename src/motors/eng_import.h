#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "motors/motor_record.h"

namespace komet {

// One problem found in a RASP .eng file. Errors reject the entry they belong
// to; warnings keep it (a name cut to 50 characters, an unknown delay token).
struct EngDiagnostic {
  std::string file;  // as given to the parser, UTF-8
  int line = 0;      // 1-based; 0 = the file as a whole
  std::string message;
  bool warning = false;

  // "motors.eng, Zeile 12: Zeit nicht aufsteigend"; warnings read
  // "motors.eng, Zeile 3: Warnung: ...", line 0 "motors.eng: ...".
  std::string text() const;
};

// What a file gave: its valid motors in file order and every problem.
struct EngImport {
  std::vector<MotorRecord> motors;
  std::vector<EngDiagnostic> problems;

  // Whether a problem is an error (not only warnings).
  bool hasErrors() const;
};

// Parses the text of a .eng file. Never throws: every fault of the text is a
// diagnostic, and a rejected entry does not stop the others.
EngImport ParseEng(std::string_view text, std::string_view fileName);

// Reads and parses a .eng file; diagnostics name the file by its file name.
// Throws KometError ("motors.eng: Datei nicht gefunden", ...) when the file
// cannot be read or is larger than kMaxEngFileBytes.
EngImport ImportEngFile(const std::filesystem::path& path);

inline constexpr std::size_t kMaxEngFileBytes = 16 * 1024 * 1024;

// The ejection delays of a .eng header field: tokens split on '-' or ',',
// whole seconds 1..98 kept, "0", 99 and above and the plugged marks ("P",
// "p", "Plugged", "NE") meaning none; the four smallest, ascending, unused
// slots 0. Tokens it does not know are returned in `unknown`.
struct EngDelays {
  std::array<std::int8_t, 4> delays{};
  std::vector<std::string> unknown;
};
EngDelays ParseEngDelays(std::string_view field);

// Total impulse of the motor's thrust curve by the trapezoid rule, N·s.
double TotalImpulse(const MotorRecord& motor);

}  // namespace komet
