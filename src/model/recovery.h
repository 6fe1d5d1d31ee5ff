// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "model/rocket_record.h"

namespace komet {

// The recovery device of the top stage (stage 1, the one that flies to
// apogee) and when it opens. Lengths in mm as the rocketeer measures them,
// times in s.
struct Recovery {
  enum class Kind : std::uint8_t { Parachute = 1, Streamer = 2 };
  enum class Deployment : std::uint8_t { Delay, Apogee };

  Kind kind = Kind::Parachute;
  double diameterMm = 0.0;  // parachute: canopy diameter
  double lengthMm = 0.0;    // streamer
  double widthMm = 0.0;     // streamer
  double cw = 0.0;          // on the canopy area (parachute) or length × width (streamer)
  Deployment deployment = Deployment::Delay;
  double delay = 0.0;          // s after the main motor's burnout (Deployment::Delay)
  double inflationTime = 0.0;  // s from deployment to full drag; 0: at once

  // The reference area of cw, m².
  double Area() const;
  // cw × area, m².
  double DragArea() const { return cw * Area(); }

  friend bool operator==(const Recovery&, const Recovery&) = default;
};

// Whether electronics open it at apogee, so that no ejection charge is needed.
inline bool OpensAtApogee(const std::optional<Recovery>& recovery) {
  return recovery && recovery->deployment == Recovery::Deployment::Apogee;
}

// A flat circular canopy: cw 0.75 to 0.80 on its nominal area (Knacke,
// Parachute Recovery Systems Design Manual, NWC TP 6575, table 5-1), the
// value OpenRocket also starts a parachute with.
inline constexpr double kDefaultChuteCw = 0.8;
// The descent rate the chute-size helper aims at unless told otherwise.
inline constexpr double kDefaultDescentRate = 4.5;  // m/s
// Streamers are mostly crêpe paper or thin film of about this weight.
inline constexpr double kDefaultStreamerGsm = 30.0;  // g/m²

// The streamer drag rule of the OpenRocket Technical Documentation (v13.05,
// appendix C, eq. C.6), fitted to wind-tunnel and drop tests:
// cw = 0.034 × (σ + 25 g/m²) / 105 g/m² × (l + 1 m) / l on the area l × w,
// σ the material's weight per area. Longer streamers flutter less per metre.
double StreamerCw(double lengthMm, double gramsPerSquareMetre = kDefaultStreamerGsm);

// The ranges the dialog and komet-sim accept; the stored block holds no
// other values.
struct RecoveryLimits {
  double min, max;
};
inline constexpr RecoveryLimits kChuteDiameterMm{50.0, 5000.0};
inline constexpr RecoveryLimits kChuteCw{0.3, 2.5};
inline constexpr RecoveryLimits kStreamerLengthMm{100.0, 10000.0};
inline constexpr RecoveryLimits kStreamerWidthMm{10.0, 1000.0};
inline constexpr RecoveryLimits kStreamerCw{0.005, 1.0};
inline constexpr RecoveryLimits kDeployDelay{0.0, 25.0};   // s
inline constexpr RecoveryLimits kInflationTime{0.0, 2.5};  // s

// What is wrong with a recovery, in German, naming the field and its range;
// empty when every value lies in its range.
std::string RecoveryProblem(const Recovery& recovery, char decimalSeparator = ',');

// The block in the rocket record's 12 reserved bytes. Values are stored in
// whole mm, thousandths of cw, tenths of a second of delay and hundredths
// of inflation time.
namespace recovery_layout {
inline constexpr std::size_t kTag = 0;         // 'B'
inline constexpr std::size_t kVersion = 1;     // 1
inline constexpr std::size_t kCheck = 2;       // CRC-8 of every other byte of the block
inline constexpr std::size_t kFlags = 3;       // bits 0-1: kind, bit 2: at apogee
inline constexpr std::size_t kSizeA = 4;       // u16, mm: diameter or length
inline constexpr std::size_t kSizeB = 6;       // u16, mm: width, 0 for a parachute
inline constexpr std::size_t kCw = 8;          // u16, thousandths
inline constexpr std::size_t kDelay = 10;      // u8, tenths of a second
inline constexpr std::size_t kInflation = 11;  // u8, hundredths of a second
inline constexpr std::size_t kSize = 12;
}  // namespace recovery_layout

// The recovery the rocket's block holds; nothing for bytes that are no valid
// block (every file written without recovery, any file from elsewhere).
std::optional<Recovery> ReadRecovery(const RocketRecord& rocket);

// Stores the recovery in the block (values rounded to the block's steps and
// held to their ranges); nothing clears the block to zeros.
void WriteRecovery(RocketRecord& rocket, const std::optional<Recovery>& recovery);

// The value as the block stores it: what a rocket saved with it reads back.
Recovery StoredRecovery(const Recovery& recovery);

}  // namespace komet
