// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a RockSim .rse file: parsed into motor records with
// diagnostics; every motor it gives is one the program can store and fly.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz_support.h"
#include "motor_import_checks.h"
#include "motors/motor_details.h"
#include "motors/rse_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace komet;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const MotorImport in = ParseRse(text, "fuzz.rse");
  fuzz::RequireSaneDiagnostics(in, text);
  const bool xmlFault = in.problems.size() == 1 && in.problems[0].message.starts_with("kein gültiges XML");
  fuzz::Require(!xmlFault || (in.motors.empty() && in.refused == 1), "a broken file gave motors");
  for (const MotorRecord& m : in.motors) {
    fuzz::RequireSaneMotor(m);
    const std::optional<MotorDetails> details = ReadMotorDetails(m);
    fuzz::Require(details && std::isfinite(details->totalImpulse) && details->totalImpulse >= 0.0, "details");
  }
  return 0;
}
