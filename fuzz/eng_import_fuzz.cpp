// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a RASP .eng file: parsed into motor records with diagnostics,
// and the first motor flown.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "motor_import_checks.h"
#include "motors/eng_import.h"
#include "sim/sim_constants.h"
#include "sim/simulation.h"

namespace komet::fuzz {
namespace {

void Fly(const MotorRecord& motor) {
  RocketRecord rocket;
  InitRakete(rocket);
  rocket.cw = 0.75;
  rocket.stages[0].mass = 0.04, rocket.stages[0].diameter = 0.024;
  rocket.stages[0].motors[0] = motor;
  rocket.stages[0].counts[0] = 1;
  Simulation& sim = SharedSimulation();
  sim.RunSimulation(rocket, FixedConstants{});
  RequireSaneFlight(sim);
}

}  // namespace
}  // namespace komet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace komet;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const MotorImport in = ParseEng(text, "fuzz.eng");
  fuzz::RequireSaneDiagnostics(in, text);
  fuzz::Require(in.motors.size() <= static_cast<std::size_t>(fuzz::LineCount(text)),
                "more motors than lines");
  for (const MotorRecord& m : in.motors) {
    fuzz::RequireSaneMotor(m);
    for (const int d : m.delays) fuzz::Require(d >= 0 && d <= 98, "delay");
  }
  if (!in.motors.empty()) fuzz::Fly(in.motors.front());
  return 0;
}
