// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "sim/simulation.h"
#include "support/flight_invariants.h"

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

// The input written to the one scratch file of the process, named `name`
// on its first call; destroyed at exit, which removes the scratch directory.
inline const std::filesystem::path& WriteScratchFile(const char* name, std::span<const std::uint8_t> bytes) {
  static const ScratchFile scratch(name);
  return scratch.Write(bytes);
}

// One table for every run, as the program keeps one: stale entries of an
// earlier flight must never show through.
inline Simulation& SharedSimulation() {
  static Simulation* const sim = new Simulation();
  return *sim;
}

// What every run must leave, whatever the rocket and the constants.
inline void RequireSaneFlight(const Simulation& sim) {
  const std::string fault = testing::FlightFault(sim);
  Require(fault.empty(), fault.c_str());
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
