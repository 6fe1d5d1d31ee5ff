// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "motors/motor_details.h"
#include "motors/motor_record.h"

namespace komet {

// Everything Komet shows about a motor, computed once from its record and
// details. The figures are the ones a flight uses: impulse and thrust from
// the curve, masses from the record; the published impulse stands beside
// them only where it differs. Texts are UTF-8.
struct MotorFacts {
  std::string name;                        // the database name
  std::string maker;                       // short name ("AeroTech"); empty without details
  std::string makerFull;                   // "AeroTech", "Cesaroni Technology"; empty without details
  std::string designation;                 // "C6-5"; empty without details
  std::string commonName;                  // "C6": the details' one, else the name before its maker
  std::string alsoSoldAs;                  // another designation of the very motor ("O2645BL"); may be empty
  std::string impulseClass;                // "C", "1/2A"; empty without an impulse
  int classRank = -1;                      // ImpulseClassRank of impulseClass
  double totalImpulse = 0.0;               // N·s, the curve's
  std::optional<double> publishedImpulse;  // N·s, where it differs from the curve's by more than 2 %
  double averageThrust = 0.0;              // N: the curve's impulse over the burn time
  double peakThrust = 0.0;                 // N
  double burnTime = 0.0;                   // s
  double totalMass = 0.0;                  // kg, loaded
  double propellantMass = 0.0;             // kg
  double diameterMm = 0.0;                 // 0: not known
  double lengthMm = 0.0;                   // 0: not known
  std::vector<int> delays;                 // published delays, s, ascending (no 0)
  bool booster = false;                    // also sold with a 0 delay
  bool plugged = false;                    // also sold without an ejection charge
  MotorDetails::Type type = MotorDetails::Type::Unknown;
  std::string dataCheck;  // "" or why the data are doubtful
  bool hasDetails = false;

  // Whether the data failed the catalogue's check ("Daten fraglich").
  bool doubtful() const { return !dataCheck.empty(); }
  // Whether one of the published versions has this delay (0: the booster).
  bool offersDelay(int seconds) const;
};

MotorFacts MakeMotorFacts(const MotorRecord& motor);

// "0-3-5-7", "3-5-P": the delays as a motor's package writes them (0 for
// the booster, P for plugged); empty when none is known.
std::string DelayCodes(const MotorFacts& facts);

}  // namespace komet
