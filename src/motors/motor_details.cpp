// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_details.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "common/byte_io.h"
#include "common/format.h"
#include "common/win1252.h"
#include "motors/motor_naming.h"

namespace komet {
namespace {

using namespace details_layout;

constexpr std::array<std::uint8_t, 4> kTagBytes{'K', 'M', 'D', 1};
constexpr std::size_t kMaxNameLength = ShortString<50>::kCapacity;

// The record's free bytes as one block, at the record's offsets, so that the
// layout constants read the same everywhere.
std::array<std::uint8_t, kMiddleEnd> FreeBytes(const MotorRecord& motor) {
  std::array<std::uint8_t, kMiddleEnd> block{};
  std::copy(motor.head.begin(), motor.head.end(), block.begin());
  std::copy(motor.middle.begin(), motor.middle.end(), block.begin() + kDesignation);
  return block;
}

// FNV-1a over the block but for its tag and check value; the name in between
// is the record's and not part of it.
std::uint32_t CheckValue(std::span<const std::uint8_t, kMiddleEnd> block) {
  std::uint32_t h = 2166136261u;
  auto mix = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) h = (h ^ block[i]) * 16777619u;
  };
  mix(kMaker, kHeadEnd);
  mix(kDesignation, kMiddleEnd);
  return h;
}

template <std::size_t N>
ShortString<N> Short(std::string_view text) {
  return ShortString<N>(text);
}

}  // namespace

void WriteMotorDetails(const MotorDetails& d, MotorRecord& motor) {
  std::array<std::uint8_t, kMiddleEnd> block{};
  ByteWriter w(block);
  w.bytes(kTag, kTagBytes);
  w.shortString(kMaker, Short<30>(d.maker));
  w.u8(kType, static_cast<std::uint8_t>(d.type));
  w.u8(kFlags, (d.plugged ? 1 : 0) | (d.booster ? 2 : 0));
  const std::size_t count = std::min(d.delays.size(), MotorDetails::kMaxDelays);
  w.u8(kDelayCount, static_cast<std::uint8_t>(count));
  w.shortString(kDesignation, Short<40>(d.designation));
  w.f64(kDiameter, d.diameterMm);
  w.f64(kLength, d.lengthMm);
  w.f64(kTotalImpulse, d.totalImpulse);
  for (std::size_t k = 0; k < count; ++k)
    w.u8(kDelayList + k, static_cast<std::uint8_t>(std::clamp(d.delays[k], 0, 255)));
  w.shortString(kSource, Short<120>(d.source));
  w.shortString(kDataCheck, Short<60>(d.dataCheck));
  w.shortString(kCommonName, Short<14>(d.commonName));
  w.shortString(kAlsoSoldAs, Short<8>(d.alsoSoldAs));
  w.i32(kCheck, static_cast<std::int32_t>(CheckValue(block)));
  std::copy_n(block.begin(), motor.head.size(), motor.head.begin());
  std::copy_n(block.begin() + kDesignation, motor.middle.size(), motor.middle.begin());
}

std::optional<MotorDetails> ReadMotorDetails(const MotorRecord& motor) {
  const std::array<std::uint8_t, kMiddleEnd> block = FreeBytes(motor);
  const ByteReader r(block);
  std::array<std::uint8_t, 4> tag{};
  r.bytes(kTag, tag);
  if (tag != kTagBytes || static_cast<std::uint32_t>(r.i32(kCheck)) != CheckValue(block)) return std::nullopt;
  const std::uint8_t type = r.u8(kType);
  const std::size_t count = r.u8(kDelayCount);
  if (type > static_cast<std::uint8_t>(MotorDetails::Type::Hybrid) || count > MotorDetails::kMaxDelays)
    return std::nullopt;
  MotorDetails d;
  ShortString<30> maker;
  ShortString<40> designation;
  ShortString<120> source;
  ShortString<60> dataCheck;
  ShortString<14> commonName;
  ShortString<8> alsoSoldAs;
  r.shortString(kMaker, maker);
  r.shortString(kDesignation, designation);
  r.shortString(kSource, source);
  r.shortString(kDataCheck, dataCheck);
  r.shortString(kCommonName, commonName);
  r.shortString(kAlsoSoldAs, alsoSoldAs);
  d.maker = maker.str();
  d.designation = designation.str();
  d.source = source.str();
  d.dataCheck = dataCheck.str();
  d.commonName = commonName.str();
  d.alsoSoldAs = alsoSoldAs.str();
  d.type = static_cast<MotorDetails::Type>(type);
  d.plugged = (r.u8(kFlags) & 1) != 0;
  d.booster = (r.u8(kFlags) & 2) != 0;
  d.diameterMm = r.f64(kDiameter);
  d.lengthMm = r.f64(kLength);
  d.totalImpulse = r.f64(kTotalImpulse);
  for (std::size_t k = 0; k < count; ++k) d.delays.push_back(r.u8(kDelayList + k));
  return d;
}

std::string ImpulseClass(double totalImpulse) {
  if (!(totalImpulse > 0.0)) return {};
  static constexpr std::array<const char*, 3> kFractions{"1/8A", "1/4A", "1/2A"};
  double limit = 2.5 / 8;
  for (const char* fraction : kFractions) {
    if (totalImpulse <= limit) return fraction;
    limit *= 2;
  }
  for (char letter = 'A'; letter < 'Z'; ++letter, limit *= 2)
    if (totalImpulse <= limit) return std::string(1, letter);
  return "Z";
}

int ImpulseClassRank(std::string_view cls) {
  static constexpr std::array<std::string_view, 3> kFractions{"1/8A", "1/4A", "1/2A"};
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (std::size_t k = 0; k < kFractions.size(); ++k)
    if (cls.size() == 4 && cls.substr(0, 3) == kFractions[k].substr(0, 3) && upper(cls[3]) == 'A')
      return static_cast<int>(k);
  if (cls.size() != 1 || upper(cls[0]) < 'A' || upper(cls[0]) > 'Z') return -1;
  return static_cast<int>(kFractions.size()) + (upper(cls[0]) - 'A');
}

std::string_view MotorTypeText(MotorDetails::Type type) {
  switch (type) {
    case MotorDetails::Type::SingleUse:
      return "Einweg";
    case MotorDetails::Type::Reload:
      return "Wiederladbar";
    case MotorDetails::Type::Hybrid:
      return "Hybrid";
    case MotorDetails::Type::Unknown:
      break;
  }
  return "";
}

std::optional<double> PublishedImpulseBeside(const MotorDetails& d, double flownImpulse) {
  if (!(d.totalImpulse > 0.0) ||
      std::abs(d.totalImpulse - flownImpulse) <= kPublishedImpulseTolerance * flownImpulse)
    return std::nullopt;
  return d.totalImpulse;
}

std::string DelayCodes(const std::vector<int>& delays, bool booster, bool plugged) {
  std::string codes = JoinNumbers(delays, "-");
  if (booster) codes = codes.empty() ? "0" : "0-" + codes;
  if (plugged) codes += codes.empty() ? "P" : "-P";
  return codes;
}

std::string MotorSummaryText(const MotorDetails& d, double flownImpulse, char sep) {
  const std::string named = ClassOfCommonName(Cp1252ToUtf8(d.commonName));
  std::string text = Format(sep, "Klasse %s, Ø %.0f mm, %.1f Ns",
                            named.empty() ? ImpulseClass(flownImpulse) : named, d.diameterMm, flownImpulse);
  if (const std::optional<double> published = PublishedImpulseBeside(d, flownImpulse))
    text += Format(sep, " (veröffentlicht %.1f Ns)", *published);
  if (!d.dataCheck.empty()) text += ", Daten fraglich: " + Cp1252ToUtf8(d.dataCheck);
  return text;
}

std::vector<int> PublishedDelays(const MotorRecord& motor) {
  std::vector<int> delays;
  if (const std::optional<MotorDetails> d = ReadMotorDetails(motor); d && !d->delays.empty()) {
    delays = d->delays;
  } else {
    for (std::int8_t s : motor.delays)
      if (s > 0) delays.push_back(s);
  }
  std::sort(delays.begin(), delays.end());
  delays.erase(std::unique(delays.begin(), delays.end()), delays.end());
  return delays;
}

std::string CatalogueName(std::string_view commonName, std::string_view maker) {
  if (maker.empty()) return std::string(commonName.substr(0, kMaxNameLength));
  const std::string suffix = " [" + std::string(maker.substr(0, kMaxNameLength - 4)) + "]";
  const std::size_t room = kMaxNameLength - suffix.size();
  return std::string(commonName.substr(0, room)) + suffix;
}

}  // namespace komet
