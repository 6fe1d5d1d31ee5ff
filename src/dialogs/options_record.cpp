// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_record.h"

#include <cmath>
#include <filesystem>
#include <system_error>
#include <vector>

#include "common/field_codec.h"
#include "common/file_io.h"
#include "common/komet_error.h"
#include "common/user_folders.h"

namespace komet {

using namespace options_layout;

namespace {

constexpr auto kFields = std::make_tuple(
    FieldAt(kMagic, &OptionsRecord::magic), FieldAt(kPadding17, &OptionsRecord::padding17),
    FieldAt(kGravity, &OptionsRecord::gravity), FieldAt(kRailLength, &OptionsRecord::railLength),
    FieldAt(kRailFriction, &OptionsRecord::railFriction), FieldAt(kAirDensity, &OptionsRecord::airDensity),
    FieldAt(kDbPath, &OptionsRecord::dbPath), FieldAt(kPadding307, &OptionsRecord::padding307),
    FieldAt(kCalcPeriod, &OptionsRecord::calcPeriod));

}  // namespace

void EncodeOptionsRecord(const OptionsRecord& o, std::span<std::uint8_t> out) {
  EncodeFields(kFields, o, out);
}

OptionsRecord DecodeOptionsRecord(std::span<const std::uint8_t> in) {
  return DecodeFields<OptionsRecord>(kFields, in);
}

ConstantValues ConstantsFrom(const OptionsRecord& o) {
  return {.calcPeriod = o.calcPeriod,
          .gravity = o.gravity,
          .airDensity = o.airDensity,
          .railLength = o.railLength,
          .railFriction = o.railFriction};
}

namespace {

void StoreConstants(OptionsRecord& o, const ConstantValues& c) {
  o.calcPeriod = c.calcPeriod;
  o.gravity = c.gravity;
  o.airDensity = c.airDensity;
  o.railLength = c.railLength;
  o.railFriction = c.railFriction;
}

}  // namespace

void InitOptions(OptionsRecord& o, std::string_view currentDir) {
  StoreConstants(o, ConstantValues{});
  o.magic.assign(OptionsRecord::kMagic);
  o.dbPath.assign(currentDir);
}

bool HasOptionsMagic(const OptionsRecord& o) {
  // The length byte decides how much is compared, so a shorter text fails.
  return o.magic.raw()[0] == OptionsRecord::kMagic.size() && o.magic.view() == OptionsRecord::kMagic;
}

double ClampCalcPeriod(double seconds) {
  return (seconds >= 3.0 && seconds <= 50.0) ? seconds : 50.0;
}

std::optional<OptionsRecord> ReadOptionsFile(const std::filesystem::path& file) {
  try {
    const std::vector<std::uint8_t> bytes = ReadFilePrefix(file, OptionsRecord::kSize);
    if (bytes.size() != OptionsRecord::kSize) return std::nullopt;
    const OptionsRecord read = DecodeOptionsRecord(bytes);
    if (HasOptionsMagic(read)) return read;
  } catch (const KometError&) {
    // Missing or unreadable.
  }
  return std::nullopt;
}

OptionsLoad LoadOptions(const std::filesystem::path& file, std::string_view currentDir) {
  OptionsLoad result;
  InitOptions(result.record, currentDir);
  if (auto read = ReadOptionsFile(file)) {
    result.record = *read;
    result.fromFile = true;
    return result;
  }
  try {
    SaveOptions(file, result.record);
    result.defaultsWritten = true;
  } catch (const KometError&) {
    // Read-only place: the defaults stay in effect for this run.
  }
  return result;
}

void SaveOptions(const std::filesystem::path& file, const OptionsRecord& o) {
  // A new user has no configuration folder yet.
  if (file.has_parent_path()) MakeUserFolder(file.parent_path());
  std::vector<std::uint8_t> bytes(OptionsRecord::kSize);
  EncodeOptionsRecord(o, bytes);
  // The user's configuration folder may not exist yet on a fresh account;
  // where it cannot be made, the write below reports why.
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  WriteFileAtomically(file, bytes);
}

}  // namespace komet
