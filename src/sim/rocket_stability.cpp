// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/rocket_stability.h"

#include "motors/motor_details.h"
#include "sim/thrust_schedule.h"

namespace komet {

StabilityInput StabilityInputOf(const FlightPlan& plan, const FlightResults& results) {
  StabilityInput in{};
  for (std::size_t i = 0; i < in.size(); ++i) {
    const StagePlan& s = plan.stages[i];
    if (s.counts[0] <= 0) break;
    StabilityStage& out = in[i];
    out.present = true;
    out.emptyMass = s.mass;
    out.ignitionTime = results.stages[i].ignitionTime;
    out.separationTime = results.stages[i].separationTime;
    for (std::size_t k = 0; k < kSlotCount; ++k) {
      if (s.counts[k] <= 0 || !s.motors[k]) continue;
      const MotorRecord& m = *s.motors[k];
      const auto details = ReadMotorDetails(m);
      out.motors[k] = {static_cast<double>(s.counts[k]), m.totalMass, m.propellantMass, m.burnTime,
                       details ? details->lengthMm / 1000.0 : 0.0};
    }
  }
  return in;
}

StabilityInput StabilityInputOf(const RocketRecord& rocket) {
  return StabilityInputOf(MakeFlightPlan(rocket, FixedConstants{}), FlightResults{});
}

RocketShape WithPlanDiameters(RocketShape shape, const FlightPlan& plan) {
  for (std::size_t i = 0; i < shape.stages.size() && i < plan.stages.size(); ++i)
    if (plan.stages[i].diameter > 0.0) shape.stages[i].diameter = plan.stages[i].diameter;
  return shape;
}

StabilityFigures PlannedStability(const RocketShape& shape, const RocketRecord& rocket) {
  const FlightPlan plan = MakeFlightPlan(rocket, FixedConstants{});
  FlightResults times;
  std::array<double, kStageCount> stackDiameter{};
  PrepareStages(plan, times, stackDiameter);
  return StabilityOverBoost(WithPlanDiameters(shape, plan), StabilityInputOf(plan, times));
}

StabilityFigures FlightStability(const RocketShape& shape, const Simulation& simulation) {
  const FlightPlan& plan = simulation.plan();
  return StabilityOverBoost(WithPlanDiameters(shape, plan), StabilityInputOf(plan, simulation.results()));
}

}  // namespace komet
