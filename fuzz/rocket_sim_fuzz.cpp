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
#include "model/recovery.h"
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
  // The launch site, unchecked: the flight must bear any air.
  c.site.standardAtmosphere = file.size() > at + 40 && (file[at + 40] & 1) != 0;
  c.site.altitude = DoubleAt(file, at + 41, c.site.altitude);
  c.site.temperature = DoubleAt(file, at + 49, c.site.temperature);
  return c;
}

// A recovery from the bytes after the site, as the dialog or komet-sim
// would store it (WriteRecovery holds each value to its range); random
// bytes in the record's block itself almost never pass its check.
void FitRecovery(RocketRecord& rocket, std::span<const std::uint8_t> file) {
  const std::size_t at = RocketRecord::kSize + 57;
  if (file.size() <= at) return;
  Recovery r;
  r.kind = file[at] & 1 ? Recovery::Kind::Streamer : Recovery::Kind::Parachute;
  r.deployment = file[at] & 2 ? Recovery::Deployment::Apogee : Recovery::Deployment::Delay;
  r.diameterMm = r.lengthMm = DoubleAt(file, at + 1, 300.0);
  r.widthMm = DoubleAt(file, at + 9, 50.0);
  r.cw = DoubleAt(file, at + 17, 0.8);
  r.delay = DoubleAt(file, at + 25, 5.0);
  r.inflationTime = DoubleAt(file, at + 33, 0.0);
  WriteRecovery(rocket, r);
}

}  // namespace
}  // namespace komet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace komet;
  const std::span<const std::uint8_t> file(data, size);
  RocketRecord rocket = fuzz::Load(file);
  fuzz::RequireSaneRecord(rocket, file);
  fuzz::FitRecovery(rocket, file);
  Simulation& sim = fuzz::SharedSimulation();
  sim.RunSimulation(rocket, fuzz::Constants(file));
  fuzz::RequireSaneFlight(sim);
  // Working values are stored with the rocket: whatever they became, the
  // record still encodes and decodes to the same bytes.
  const std::vector<std::uint8_t> after = fuzz::Encoded(rocket);
  fuzz::Require(fuzz::Encoded(DecodeRocketRecord(after)) == after, "simulated record does not round-trip");
  return 0;
}
