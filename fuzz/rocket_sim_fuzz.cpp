// SPDX-License-Identifier: GPL-3.0-or-later
// A rocket file as komet-sim --raw takes it: read over the empty rocket and
// simulated as stored. Bytes past the record (which the loader ignores)
// supply the constants, so that hostile settings meet hostile rockets.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "model/rocket_record.h"
#include "sim/sim_constants.h"
#include "sim/simulation.h"

namespace komet::fuzz {
namespace {

std::vector<std::uint8_t> Encoded(const RocketRecord& rocket) {
  std::vector<std::uint8_t> bytes(RocketRecord::kSize);
  EncodeRocketRecord(rocket, bytes);
  return bytes;
}

// The file's bytes replace the beginning of the empty rocket, as
// ReadRocketFile does.
RocketRecord Load(std::span<const std::uint8_t> file) {
  RocketRecord empty;
  InitRakete(empty);
  std::vector<std::uint8_t> bytes = Encoded(empty);
  const std::size_t n = std::min(file.size(), RocketRecord::kSize);
  std::copy_n(file.begin(), n, bytes.begin());
  const RocketRecord rocket = DecodeRocketRecord(bytes);
  Require(Encoded(rocket) == bytes, "decode and encode do not keep every byte");
  return rocket;
}

void RequireSaneRecord(const RocketRecord& rocket, std::span<const std::uint8_t> file) {
  const std::string notes = NotesText(rocket);
  Require(notes.size() <= RocketRecord::kMaxNotesLength, "notes beyond their field");
  Require(notes.find('\0') == std::string::npos, "notes hold their terminator");
  Require(rocket.name.view().size() <= 50, "name beyond its capacity");
  const bool magic = file.size() >= 13 && file[0] == 12 &&
                     std::equal(file.begin() + 1, file.begin() + 13, RocketRecord::kMagic.begin(),
                                [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
  // A file shorter than the magic keeps the empty rocket's magic there.
  if (file.size() >= 13) Require(HasRocketMagic(rocket) == magic, "magic test disagrees with the bytes");
}

FixedConstants Constants(std::span<const std::uint8_t> file) {
  FixedConstants c;
  const std::size_t at = RocketRecord::kSize;
  c.calcPeriod = DoubleAt(file, at, c.calcPeriod);
  c.gravity = DoubleAt(file, at + 8, c.gravity);
  c.airDensity = DoubleAt(file, at + 16, c.airDensity);
  c.railLength = DoubleAt(file, at + 24, c.railLength);
  c.railFriction = DoubleAt(file, at + 32, c.railFriction);
  return c;
}

}  // namespace
}  // namespace komet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace komet;
  const std::span<const std::uint8_t> file(data, size);
  RocketRecord rocket = fuzz::Load(file);
  fuzz::RequireSaneRecord(rocket, file);
  Simulation& sim = fuzz::SharedSimulation();
  sim.RunSimulation(rocket, fuzz::Constants(file));
  fuzz::RequireSaneFlight(sim);
  // Working values are stored with the rocket: whatever they became, the
  // record still encodes and decodes to the same bytes.
  const std::vector<std::uint8_t> after = fuzz::Encoded(rocket);
  fuzz::Require(fuzz::Encoded(DecodeRocketRecord(after)) == after, "simulated record does not round-trip");
  return 0;
}
