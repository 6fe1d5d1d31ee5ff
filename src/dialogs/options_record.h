// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/record_layout.h"
#include "common/short_string.h"
#include "sim/sim_constants.h"

namespace komet {

// The constants of the options file "KOMET.OPT", byte for byte. SI units.
struct OptionsRecord {
  static constexpr std::size_t kSize = 316;
  static constexpr std::string_view kMagic = "KOMETOPT 95/NT 3";

  ShortString<16> magic;
  std::array<std::uint8_t, 7> padding17{};
  double gravity = 0.0;
  double railLength = 0.0;
  double railFriction = 0.0;
  double airDensity = 0.0;
  ShortString<250> dbPath;  // written for the record's sake; never used on loading
  std::uint8_t padding307 = 0;
  double calcPeriod = 0.0;

  friend bool operator==(const OptionsRecord&, const OptionsRecord&) = default;
};

namespace options_layout {
inline constexpr std::size_t kMagic = 0, kPadding17 = 17, kGravity = 24, kRailLength = 32, kRailFriction = 40,
                             kAirDensity = 48, kDbPath = 56, kPadding307 = 307, kCalcPeriod = 308;

static_assert(FieldsFollowOn({kMagic, kPadding17, kGravity, kRailLength, kRailFriction, kAirDensity, kDbPath,
                              kPadding307, kCalcPeriod},
                             {ShortString<16>::kSize, 7, 8, 8, 8, 8, ShortString<250>::kSize, 1, 8},
                             OptionsRecord::kSize));
}  // namespace options_layout

void EncodeOptionsRecord(const OptionsRecord& options, std::span<std::uint8_t> out);
OptionsRecord DecodeOptionsRecord(std::span<const std::uint8_t> in);

// Defaults: the constants' (`ConstantValues`), the magic, and dbPath =
// currentDir (Windows-1252, cut to 250). Other bytes untouched.
void InitOptions(OptionsRecord& options, std::string_view currentDirCp1252);

// Whether the length byte and as many characters as it says are the magic.
bool HasOptionsMagic(const OptionsRecord& options);

// A calculation period outside 3..50 s, or NaN, becomes 50.
double ClampCalcPeriod(double seconds);

struct OptionsLoad {
  OptionsRecord record;
  bool fromFile = false;         // false: the defaults are in use
  bool defaultsWritten = false;  // the defaults were written to a new or replaced file
};

// The record of a valid options file, or nothing (missing, unreadable,
// short or wrong magic). Writes nothing; never throws.
std::optional<OptionsRecord> ReadOptionsFile(const std::filesystem::path& file);

// Loads the options file. A missing, unreadable, short (under 316 bytes) or
// wrong-magic file gives the defaults, which are then written to the file
// (a failure of that write is not an error). Never throws.
OptionsLoad LoadOptions(const std::filesystem::path& file, std::string_view currentDirCp1252);

// Writes the 316 bytes, making a missing folder first (MakeUserFolder);
// throws KometError with the reason on failure, and the previous file stays
// intact.
void SaveOptions(const std::filesystem::path& file, const OptionsRecord& options);

// The record's constants for a run.
ConstantValues ConstantsFrom(const OptionsRecord& options);

}  // namespace komet
