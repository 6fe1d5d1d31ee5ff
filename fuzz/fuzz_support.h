#pragma once

#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "sim/flight_results.h"
#include "sim/simulation.h"

namespace komet::fuzz {

// A broken invariant is a finding: name it on stderr, then stop the way the
// fuzzer recognises as a crash.
inline void Require(bool ok, const char* what) {
  if (ok) return;
  std::fputs("invariant broken: ", stderr);
  std::fputs(what, stderr);
  std::fputc('\n', stderr);
  __builtin_trap();
}

// The input as the file a user opens. One file per process in a directory of
// its own, in memory where the system offers /dev/shm.
class ScratchFile {
 public:
  explicit ScratchFile(const char* name) {
    std::error_code ec;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, ec)) base = std::filesystem::temp_directory_path();
    dir_ = base / ("komet-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    path_ = dir_ / name;
  }
  ~ScratchFile() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Replaces the file's content.
  const std::filesystem::path& Write(std::span<const std::uint8_t> bytes) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    Require(static_cast<bool>(out.flush()), "scratch file not written");
    return path_;
  }
  const std::filesystem::path& path() const { return path_; }
  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_, path_;
};

// The first sample index whose field holds the series' largest positive
// value, or 0 when none is positive (the maxima start at 0).
inline std::size_t FirstMaximum(std::span<const FlightSample> samples, std::size_t last,
                                double FlightSample::*field) {
  std::size_t at = 0;
  double best = 0.0;
  for (std::size_t n = 1; n <= last; ++n)
    if (samples[n].*field > best) best = samples[n].*field, at = n;
  return at;
}

// Checks the largest value of a series field and the time of its first step
// against the scalar result.
inline void RequireMaximum(std::span<const FlightSample> samples, std::size_t last,
                           double FlightSample::*field, double max, const double* time, const char* what) {
  const std::size_t at = FirstMaximum(samples, last, field);
  Require(max == (at == 0 ? 0.0 : samples[at].*field), what);
  if (time != nullptr) Require(*time == (at == 0 ? 0.0 : samples[at].time), what);
}

// What every run must leave, whatever the rocket and the constants: a
// series within the table, on the 5 ms grid, finite in every field up to the
// end marker, and scalar results that are finite and agree with the series.
inline void RequireSaneFlight(const Simulation& sim) {
  const std::span<const FlightSample> s = sim.samples();
  const std::size_t last = sim.lastSample();
  const FlightResults& r = sim.results();
  Require(s.size() == kSampleTableSize, "sample table resized");
  Require(last <= static_cast<std::size_t>(kMaxSteps), "series longer than the step bound");
  Require(s[last + 1].time == kEndMarkerTime, "end marker not after the last sample");
  for (std::size_t n = 1; n <= last; ++n) {
    const FlightSample& x = s[n];
    Require(x.time == static_cast<double>(5 * (n - 1)) / 1000.0, "sample off the time grid");
    for (double v : {x.thrust, x.height, x.force, x.accel, x.velocity, x.propellantUsed})
      Require(std::isfinite(v), "sample value not finite");
    Require(x.height >= 0.0, "recorded height below the ground");
  }
  Require(std::isfinite(r.peakThrust) && r.peakThrust >= 0.0, "peak thrust");
  Require(std::isfinite(r.burnoutTime), "burnout time not finite");
  if (!r.resultsValid) Require(r.noFlight, "results invalid without noFlight");
  if (!r.resultsValid || r.noFlight) return;
  Require(r.flightEndTime == static_cast<double>(5 * last) / 1000.0, "flight end time");
  RequireMaximum(s, last, &FlightSample::height, r.maxHeight, &r.maxHeightTime, "maxHeight");
  RequireMaximum(s, last, &FlightSample::velocity, r.maxVelocity, &r.maxVelocityTime, "maxVelocity");
  RequireMaximum(s, last, &FlightSample::accel, r.maxAccel, nullptr, "maxAccel");
  RequireMaximum(s, last, &FlightSample::force, r.maxForce, nullptr, "maxForce");
  for (double t : {r.burnoutTime, r.maxHeightTime, r.recommendedDelay(), -1.0, 1e300}) {
    const auto index = sim.SampleIndexAt(t);
    Require(!index || *index <= last, "sample index beyond the series");
  }
}

// Reads a little-endian double from bytes [at, at + 8) of data, or the
// fallback when data is shorter.
inline double DoubleAt(std::span<const std::uint8_t> data, std::size_t at, double fallback) {
  if (data.size() < at + 8) return fallback;
  std::uint64_t bits = 0;
  for (std::size_t k = 0; k < 8; ++k) bits |= static_cast<std::uint64_t>(data[at + k]) << (8 * k);
  return std::bit_cast<double>(bits);
}

}  // namespace komet::fuzz
