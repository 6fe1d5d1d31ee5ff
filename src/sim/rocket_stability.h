// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/rocket_record.h"
#include "model/rocket_shape.h"
#include "sim/flight_plan.h"
#include "sim/flight_results.h"
#include "sim/simulation.h"
#include "sim/stability.h"

namespace komet {

// The stability input of a flight: the plan's stages with their empty
// masses and motors (length from the motor's details, else the mount's),
// and the ignition and separation times the flight came to.
StabilityInput StabilityInputOf(const FlightPlan& plan, const FlightResults& results);
// The same before any flight: every time 0, right for the lift-off.
StabilityInput StabilityInputOf(const RocketRecord& rocket);

// The shape with each stage's diameter taken from the plan, which is what
// the flight flies; the shape's own copy may be older.
RocketShape WithPlanDiameters(RocketShape shape, const FlightPlan& plan);

// The balance over the boost before a flight: the stages' ignitions and
// separations from their schedule, which is all the flight adds to it.
StabilityFigures PlannedStability(const RocketShape& shape, const RocketRecord& rocket);

// The balance over the boost of the flight the simulation computed last.
StabilityFigures FlightStability(const RocketShape& shape, const Simulation& simulation);

}  // namespace komet
