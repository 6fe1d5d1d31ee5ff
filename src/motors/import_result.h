// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "motors/motor_record.h"

namespace komet {

// One problem found in a motor file. Errors reject the entry they belong to
// (or the whole file, line 0); warnings keep it (a name cut to 50
// characters, an unknown delay token).
struct ImportDiagnostic {
  std::string file;  // as given to the parser, UTF-8
  int line = 0;      // 1-based; 0 = the file as a whole
  std::string message;
  bool warning = false;

  // "motors.eng, Zeile 12: Zeit nicht aufsteigend"; warnings read
  // "motors.eng, Zeile 3: Warnung: ...", line 0 "motors.eng: ...".
  std::string text() const;
};

// What motor files gave: their valid motors in file order and every problem.
struct MotorImport {
  std::vector<MotorRecord> motors;
  std::vector<ImportDiagnostic> problems;
  std::size_t refused = 0;  // entries (or whole files) that gave no motor

  // Whether a problem is an error (not only warnings).
  bool hasErrors() const;

  // Appends another file's result.
  void append(MotorImport&& other);
};

}  // namespace komet
