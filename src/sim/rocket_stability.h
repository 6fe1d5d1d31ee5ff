// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/rocket_record.h"
#include "model/rocket_shape.h"
#include "sim/stability.h"

namespace komet {

// The stability input of a rocket: its present stages' empty masses and
// motors (length from the motor's details, else the mount's), with the
// ignition and separation times the flight set (zero before any flight,
// which is right for the lift-off).
StabilityInput StabilityInputOf(const RocketRecord& rocket);

// The shape with each stage's diameter taken from the rocket, which is what
// the flight flies; the shape's own copy may be older.
RocketShape WithRocketDiameters(RocketShape shape, const RocketRecord& rocket);

}  // namespace komet
