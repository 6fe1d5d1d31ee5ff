// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_facts.h"

#include <algorithm>

#include "common/win1252.h"
#include "motors/eng_import.h"
#include "motors/motor_makers.h"
#include "motors/motor_naming.h"

namespace komet {

bool MotorFacts::offersDelay(int seconds) const {
  if (seconds == 0) return booster;
  return std::find(delays.begin(), delays.end(), seconds) != delays.end();
}

MotorFacts MakeMotorFacts(const MotorRecord& motor) {
  MotorFacts f;
  f.name = Cp1252ToUtf8(motor.name.view());
  f.totalImpulse = TotalImpulse(motor);
  f.impulseClass = ImpulseClass(f.totalImpulse);
  f.classRank = ImpulseClassRank(f.impulseClass);
  f.peakThrust = motor.maxThrust;
  f.burnTime = motor.burnTime;
  f.averageThrust = motor.burnTime > 0.0 ? f.totalImpulse / motor.burnTime : 0.0;
  f.totalMass = motor.totalMass;
  f.propellantMass = motor.propellantMass;
  f.delays = PublishedDelays(motor);
  const std::size_t bracket = f.name.find(" [");
  f.commonName = f.name.substr(0, bracket);
  const std::optional<MotorDetails> d = ReadMotorDetails(motor);
  if (!d) return f;
  f.hasDetails = true;
  f.maker = Cp1252ToUtf8(d->maker);
  f.makerFull = Cp1252ToUtf8(MakerFullName(d->maker));
  f.designation = Cp1252ToUtf8(d->designation);
  f.alsoSoldAs = Cp1252ToUtf8(d->alsoSoldAs);
  if (!d->commonName.empty()) f.commonName = Cp1252ToUtf8(d->commonName);
  f.publishedImpulse = PublishedImpulseBeside(*d, f.totalImpulse);
  // The class is the maker's, as its name states it: a B4 whose curve gives
  // 5.09 N·s is still a B.
  if (const std::string named = ClassOfCommonName(f.commonName); !named.empty()) {
    f.impulseClass = named;
    f.classRank = ImpulseClassRank(named);
  }
  f.diameterMm = d->diameterMm;
  f.lengthMm = d->lengthMm;
  f.booster = d->booster;
  f.plugged = d->plugged;
  f.type = d->type;
  f.dataCheck = Cp1252ToUtf8(d->dataCheck);
  return f;
}

std::string DelayCodes(const MotorFacts& f) {
  return DelayCodes(f.delays, f.booster, f.plugged);
}

}  // namespace komet
