#include "dialogs/options_record.h"

#include <cmath>
#include <vector>

#include "common/byte_io.h"
#include "common/file_io.h"
#include "common/komet_error.h"

namespace komet {

using namespace options_layout;

void EncodeOptionsRecord(const OptionsRecord& o, std::span<std::uint8_t> out) {
  ByteWriter w(out);
  w.shortString(kMagic, o.magic);
  w.bytes(kPadding17, o.padding17);
  w.f64(kGravity, o.gravity);
  w.f64(kRailLength, o.railLength);
  w.f64(kRailFriction, o.railFriction);
  w.f64(kAirDensity, o.airDensity);
  w.shortString(kDbPath, o.dbPath);
  w.u8(kPadding307, o.padding307);
  w.f64(kCalcPeriod, o.calcPeriod);
}

OptionsRecord DecodeOptionsRecord(std::span<const std::uint8_t> in) {
  ByteReader r(in);
  OptionsRecord o;
  r.shortString(kMagic, o.magic);
  r.bytes(kPadding17, o.padding17);
  o.gravity = r.f64(kGravity);
  o.railLength = r.f64(kRailLength);
  o.railFriction = r.f64(kRailFriction);
  o.airDensity = r.f64(kAirDensity);
  r.shortString(kDbPath, o.dbPath);
  o.padding307 = r.u8(kPadding307);
  o.calcPeriod = r.f64(kCalcPeriod);
  return o;
}

ConstantValues ConstantsFrom(const OptionsRecord& o) {
  return {.calcPeriod = o.calcPeriod,
          .gravity = o.gravity,
          .airDensity = o.airDensity,
          .railLength = o.railLength,
          .railFriction = o.railFriction};
}

void StoreConstants(OptionsRecord& o, const ConstantValues& c) {
  o.calcPeriod = c.calcPeriod;
  o.gravity = c.gravity;
  o.airDensity = c.airDensity;
  o.railLength = c.railLength;
  o.railFriction = c.railFriction;
}

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
  std::vector<std::uint8_t> bytes(OptionsRecord::kSize);
  EncodeOptionsRecord(o, bytes);
  WriteFileAtomically(file, bytes);
}

}  // namespace komet
