// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "common/physics.h"
#include "motors/motor_details.h"
#include "motors/motor_record.h"

namespace komet {

// The specific impulse a motor's data may imply, s (curve impulse over the
// weight of the propellant). Black powder lies near 80 s and composite near
// 200 s; no commercial solid motor reaches 260 s, and below 50 s the
// propellant figure is wrong rather than the motor poor.
inline constexpr double kSolidIspMin = 50.0;
inline constexpr double kSolidIspMax = 260.0;
// Hybrids' published propellant counts what each maker chooses: the whole
// load (the published hybrids reach down to 47 s) or only the solid grain
// (up to 3,526 s for a motor that counts 5 g), so only the extremes are
// refused: below 40 s, and above 5,000 s, where the one figure published
// (15,834 s) is a propellant mass typed a hundred times too small.
inline constexpr double kHybridIspMin = 40.0;
inline constexpr double kHybridIspMax = 5000.0;
// How far a file's figure may lie from the published summary.
inline constexpr double kSummaryTolerance = 0.05;

// Why masses cannot belong to a motor of this curve impulse and type
// (German, e.g. "Treibsatz 454 g nicht unter der Gesamtmasse 45,6 g"); empty
// when they can.
std::string CheckMotorMasses(double curveImpulse, double propellantKg, double totalKg,
                             MotorDetails::Type type);

// What a solid motor burns, for the specific impulse it usually gives.
enum class Propellant { Unknown, BlackPowder, Composite };

// The specific impulses a propellant usually gives, s: black powder about
// 60–110, composite about 150–250, an unknown one either.
struct IspRange {
  double low, high;
};
IspRange UsualIsp(Propellant propellant);

// The published summary of a motor; a figure it lacks is nothing.
struct PublishedMotor {
  std::optional<double> impulse;       // N·s
  std::optional<double> propellantKg;  // kg
  std::optional<double> totalKg;       // kg
  MotorDetails::Type type = MotorDetails::Type::Unknown;
  Propellant propellant = Propellant::Unknown;
};

// What the catalogue takes for a motor from its data files (best first).
struct MotorDataChoice {
  std::size_t file = 0;  // index of the file whose curve is taken
  double propellantKg = 0.0, totalKg = 0.0;
  std::string correction;  // what was taken instead of the best file's data; empty if nothing
  std::string doubt;       // why nothing passed ("Daten fraglich"); empty when the choice passed
  std::string fileMasses;  // why the file's masses stand against the summary's; empty if they agree
};

// The first file whose curve impulse matches the summary and whose masses
// pass; else the first such curve with the summary's masses where those
// pass, unless the file's own masses give a specific impulse nearer the
// propellant's usual one (UsualIsp); else the best file, with the reason of
// the doubt. A summary figure that is itself impossible is not compared
// with.
MotorDataChoice ChooseMotorData(std::span<const MotorRecord> files, const PublishedMotor& published);

}  // namespace komet
