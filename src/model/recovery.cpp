// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/recovery.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/format.h"

namespace komet {
namespace {

namespace L = recovery_layout;

constexpr std::uint8_t kTagByte = 'B';
constexpr std::uint8_t kVersionByte = 1;
constexpr std::uint8_t kKindMask = 0x03;
constexpr std::uint8_t kApogeeBit = 0x04;

// The block's steps: what one stored unit stands for.
constexpr double kCwStep = 0.001;
constexpr double kDelayStep = 0.1;       // s
constexpr double kInflationStep = 0.01;  // s

// CRC-8 (polynomial x^8 + x^2 + x + 1): unlike a sum it finds every change
// of a single byte, so no one damaged byte can pass as another recovery.
std::uint8_t Crc8(std::span<const std::uint8_t> bytes) {
  std::uint8_t crc = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == L::kCheck) continue;
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit)
      crc = static_cast<std::uint8_t>(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
  }
  return crc;
}

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

void PutU16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v & 0xFF);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A value in whole steps, held to its range first.
long Steps(double value, RecoveryLimits limits, double step) {
  const double held = std::clamp(std::isfinite(value) ? value : limits.min, limits.min, limits.max);
  return std::lround(held / step);
}

bool Within(double value, RecoveryLimits limits) {
  // A stored value is a whole number of steps; a hair's width of rounding
  // must not refuse it.
  constexpr double kSlack = 1e-9;
  return value >= limits.min - kSlack && value <= limits.max + kSlack;
}

RecoveryLimits SizeALimits(Recovery::Kind kind) {
  return kind == Recovery::Kind::Parachute ? kChuteDiameterMm : kStreamerLengthMm;
}

RecoveryLimits CwLimits(Recovery::Kind kind) {
  return kind == Recovery::Kind::Parachute ? kChuteCw : kStreamerCw;
}

// One value the user sets, with its range and how a message names it.
struct RangedField {
  std::string_view name;
  double value = 0.0;
  RecoveryLimits limits{};
  std::string_view format;
};

// The values of a recovery that take part, in the dialog's order; a fixed
// array, as the flight reads a block without allocating.
struct RangedFieldList {
  std::array<RangedField, 5> fields;
  std::size_t count = 0;
  void Add(const RangedField& f) { fields[count++] = f; }
  std::span<const RangedField> Used() const { return {fields.data(), count}; }
};

RangedFieldList RangedFields(const Recovery& r) {
  constexpr std::string_view kMm = "%s: %.0f bis %.0f mm";
  RangedFieldList list;
  if (r.kind == Recovery::Kind::Parachute) {
    list.Add({"Fallschirmdurchmesser", r.diameterMm, kChuteDiameterMm, kMm});
    list.Add({"cw des Fallschirms", r.cw, kChuteCw, "%s: %.1f bis %.1f"});
  } else {
    list.Add({"Länge des Bands", r.lengthMm, kStreamerLengthMm, kMm});
    list.Add({"Breite des Bands", r.widthMm, kStreamerWidthMm, kMm});
    list.Add({"cw des Bands", r.cw, kStreamerCw, "%s: %.3f bis %.1f"});
  }
  // The delay plays no part when electronics open the device at apogee.
  if (r.deployment == Recovery::Deployment::Delay)
    list.Add({"Verzögerung", r.delay, kDeployDelay, "%s: %.0f bis %.0f s"});
  list.Add({"Öffnungsdauer", r.inflationTime, kInflationTime, "%s: %.1f bis %.1f s"});
  return list;
}

bool InRanges(const Recovery& r) {
  const RangedFieldList list = RangedFields(r);
  for (const RangedField& f : list.Used())
    if (!std::isfinite(f.value) || !Within(f.value, f.limits)) return false;
  return true;
}

}  // namespace

double Recovery::Area() const {
  if (kind == Kind::Parachute) {
    const double radius = diameterMm / 2000.0;
    return radius * radius * std::numbers::pi;
  }
  return lengthMm / 1000.0 * (widthMm / 1000.0);
}

double StreamerCw(double lengthMm, double gramsPerSquareMetre) {
  const double length = lengthMm / 1000.0;
  if (!(length > 0.0)) return 0.0;
  return 0.034 * (gramsPerSquareMetre + 25.0) / 105.0 * (length + 1.0) / length;
}

std::string RecoveryProblem(const Recovery& r, char sep) {
  const RangedFieldList list = RangedFields(r);
  for (const RangedField& f : list.Used())
    if (!std::isfinite(f.value) || !Within(f.value, f.limits))
      return Format(sep, f.format, f.name, f.limits.min, f.limits.max);
  return {};
}

Recovery StoredRecovery(const Recovery& r) {
  Recovery s = r;
  const bool chute = r.kind == Recovery::Kind::Parachute;
  const double sizeA =
      static_cast<double>(Steps(chute ? r.diameterMm : r.lengthMm, SizeALimits(r.kind), 1.0));
  s.diameterMm = chute ? sizeA : 0.0;
  s.lengthMm = chute ? 0.0 : sizeA;
  s.widthMm = chute ? 0.0 : static_cast<double>(Steps(r.widthMm, kStreamerWidthMm, 1.0));
  s.cw = static_cast<double>(Steps(r.cw, CwLimits(r.kind), kCwStep)) * kCwStep;
  s.delay = static_cast<double>(Steps(r.delay, kDeployDelay, kDelayStep)) * kDelayStep;
  s.inflationTime =
      static_cast<double>(Steps(r.inflationTime, kInflationTime, kInflationStep)) * kInflationStep;
  return s;
}

std::optional<Recovery> ReadRecovery(const RocketRecord& rocket) {
  const std::span<const std::uint8_t> b(rocket.reserved);
  static_assert(std::tuple_size_v<decltype(rocket.reserved)> == L::kSize);
  if (b[L::kTag] != kTagByte || b[L::kVersion] != kVersionByte || b[L::kCheck] != Crc8(b))
    return std::nullopt;
  const std::uint8_t flags = b[L::kFlags];
  if ((flags & ~(kKindMask | kApogeeBit)) != 0) return std::nullopt;
  Recovery r;
  switch (flags & kKindMask) {
    case 1:
      r.kind = Recovery::Kind::Parachute;
      break;
    case 2:
      r.kind = Recovery::Kind::Streamer;
      break;
    default:
      return std::nullopt;
  }
  r.deployment = flags & kApogeeBit ? Recovery::Deployment::Apogee : Recovery::Deployment::Delay;
  const double sizeA = U16(b, L::kSizeA);
  const double sizeB = U16(b, L::kSizeB);
  if (r.kind == Recovery::Kind::Parachute) {
    if (sizeB != 0.0) return std::nullopt;
    r.diameterMm = sizeA;
  } else {
    r.lengthMm = sizeA;
    r.widthMm = sizeB;
  }
  r.cw = U16(b, L::kCw) * kCwStep;
  r.delay = b[L::kDelay] * kDelayStep;
  r.inflationTime = b[L::kInflation] * kInflationStep;
  // A block of ours holds values in range only; the delay is kept even
  // when the charge plays no part, and must be in range too.
  Recovery check = r;
  check.deployment = Recovery::Deployment::Delay;
  if (!InRanges(check)) return std::nullopt;
  return r;
}

void WriteRecovery(RocketRecord& rocket, const std::optional<Recovery>& recovery) {
  const std::span<std::uint8_t> b(rocket.reserved);
  if (!recovery) {
    std::fill(b.begin(), b.end(), std::uint8_t{0});
    return;
  }
  const Recovery& r = *recovery;
  const bool chute = r.kind == Recovery::Kind::Parachute;
  b[L::kTag] = kTagByte;
  b[L::kVersion] = kVersionByte;
  b[L::kFlags] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(r.kind) |
                                           (r.deployment == Recovery::Deployment::Apogee ? kApogeeBit : 0));
  PutU16(b, L::kSizeA,
         static_cast<std::uint16_t>(Steps(chute ? r.diameterMm : r.lengthMm, SizeALimits(r.kind), 1.0)));
  PutU16(b, L::kSizeB, chute ? 0 : static_cast<std::uint16_t>(Steps(r.widthMm, kStreamerWidthMm, 1.0)));
  PutU16(b, L::kCw, static_cast<std::uint16_t>(Steps(r.cw, CwLimits(r.kind), kCwStep)));
  b[L::kDelay] = static_cast<std::uint8_t>(Steps(r.delay, kDeployDelay, kDelayStep));
  b[L::kInflation] = static_cast<std::uint8_t>(Steps(r.inflationTime, kInflationTime, kInflationStep));
  b[L::kCheck] = Crc8(b);
}

}  // namespace komet
