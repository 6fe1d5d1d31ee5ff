// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/flight_plan.h"

namespace komet {

FlightPlan MakeFlightPlan(const RocketRecord& rocket, const SimConstants& constants) {
  FlightPlan plan;
  for (std::size_t i = 0; i < kStageCount; ++i) {
    const StageRecord& from = rocket.stages[i];
    StagePlan& to = plan.stages[i];
    to.mass = from.mass;
    to.otherArea = from.otherArea;
    to.ignitionDelay = from.ignitionDelay;
    to.diameter = from.diameter;
    for (std::size_t j = 0; j < kSlotCount; ++j) to.motors[j] = &from.motors[j];
    to.counts = from.counts;
  }
  plan.cw = rocket.cw;
  plan.recovery = ReadRecovery(rocket);
  plan.constants = constants.Values();
  plan.site = constants.Site();
  return plan;
}

double LiftOffMass(const FlightPlan& plan) {
  double m = 0.0;
  for (const StagePlan& stage : plan.stages) {
    if (stage.counts[0] <= 0) break;
    m += stage.mass;
  }
  for (const StagePlan& stage : plan.stages) {
    if (stage.counts[0] <= 0) break;
    for (std::size_t j = 0; j < kSlotCount; ++j)
      if (stage.counts[j] > 0) m += stage.counts[j] * stage.motors[j]->totalMass;
  }
  return m;
}

}  // namespace komet
