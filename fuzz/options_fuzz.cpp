// SPDX-License-Identifier: GPL-3.0-or-later
// An options file KOMET.OPT: read, loaded (which replaces a bad file by the
// defaults) and used for a flight, whatever constants it holds.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "dialogs/options_record.h"
#include "fuzz_support.h"
#include "model/rocket_record.h"
#include "sim/simulation.h"

namespace komet::fuzz {
namespace {

constexpr std::string_view kCurrentDir = "/home/komet";

bool ValidOptionsBytes(std::span<const std::uint8_t> file) {
  if (file.size() < OptionsRecord::kSize || file[0] != OptionsRecord::kMagic.size()) return false;
  return std::equal(OptionsRecord::kMagic.begin(), OptionsRecord::kMagic.end(), file.begin() + 1,
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

OptionsRecord Defaults() {
  OptionsRecord o;
  InitOptions(o, kCurrentDir);
  return o;
}

bool SameBytes(const OptionsRecord& a, const OptionsRecord& b) {
  std::vector<std::uint8_t> x(OptionsRecord::kSize), y(OptionsRecord::kSize);
  EncodeOptionsRecord(a, x);
  EncodeOptionsRecord(b, y);
  return x == y;
}

// A simple rocket, so that the constants decide how the flight goes.
RocketRecord TestRocket() {
  RocketRecord r;
  InitRakete(r);
  r.cw = 0.6;
  StageRecord& s = r.stages[0];
  s.mass = 0.03, s.diameter = 0.025, s.counts[0] = 1;
  MotorRecord& m = s.motors[0];
  m.name.assign("C6");
  m.propellantMass = 0.012, m.totalMass = 0.024, m.burnTime = 1.8;
  m.curveTime[1] = 0.2, m.curveThrust[1] = 14.0;
  m.curveTime[2] = 1.8, m.curveThrust[2] = 5.0;
  return r;
}

// Read, loaded and flown: a valid file is taken byte for byte, any other
// gives the defaults and is replaced by them.
void CheckOptionsFile(std::span<const std::uint8_t> file) {
  const auto& path = WriteScratchFile("KOMET.OPT", file);
  const bool valid = ValidOptionsBytes(file);

  const std::optional<OptionsRecord> read = ReadOptionsFile(path);
  Require(read.has_value() == valid, "options file taken or refused against its bytes");
  if (read) {
    std::vector<std::uint8_t> bytes(OptionsRecord::kSize);
    EncodeOptionsRecord(*read, bytes);
    Require(std::equal(bytes.begin(), bytes.end(), file.begin()), "options bytes not kept");
  }

  const OptionsLoad load = LoadOptions(path, kCurrentDir);
  Require(load.fromFile == valid && load.defaultsWritten == !valid, "load outcome");
  if (!valid) {
    Require(SameBytes(load.record, Defaults()), "bad file did not give the defaults");
    const std::optional<OptionsRecord> again = ReadOptionsFile(path);
    Require(again && SameBytes(*again, load.record), "defaults not written back");
  }
  const double period = ClampCalcPeriod(load.record.calcPeriod);
  Require(period >= 3.0 && period <= 50.0, "clamped period outside 3..50");

  RocketRecord rocket = TestRocket();
  Simulation& sim = SharedSimulation();
  sim.RunSimulation(rocket, FixedConstants(ConstantsFrom(load.record)));
  RequireSaneFlight(sim);
}

}  // namespace
}  // namespace komet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  komet::fuzz::CheckOptionsFile({data, size});
  return 0;
}
