// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "model/rocket_record.h"
#include "model/rocket_shape.h"
#include "motors/motor_details.h"

namespace komet {

// Published diameters are rounded (an "18 mm" motor measures 17.8 to 18.3
// mm, a mount is measured with a ruler): a motor this much wider than the
// mount still goes in.
inline constexpr double kMountDiameterToleranceMm = 0.5;

// What a mount takes, in mm: the widest motor and the longest one (the
// mount's length plus the overhang allowed). 0: not known, anything fits.
struct MountLimit {
  double diameterMm = 0.0;
  double lengthMm = 0.0;
};

// A mount's limits to a tenth of a millimetre (a 0.018 m mount takes 18 mm
// motors, not 17.999...).
MountLimit LimitOf(const MotorMount& mount);

enum class MountFit { Fits, TooWide, TooLong };

// Whether a motor of that diameter and length (mm; 0: not known) goes into
// the mount; a size that either side does not know fits.
MountFit FitOf(const MountLimit& limit, double motorDiameterMm, double motorLengthMm);

// A stage's mount and where it is known from.
struct StageMount {
  enum class Source { None, Shape, Motor };
  MotorMount mount;  // all 0 without a source
  Source source = Source::None;
};

// The mount of `stage` (0-based): the shape's where the shape has that
// stage and a mount diameter; else a mount as wide and long as `motor`, the
// stage's motor now (its details' size, no overhang); else none, which
// takes every motor.
StageMount StageMountOf(const RocketShape* shape, int stage, const std::optional<MotorDetails>& motor);
// The same for a rocket: its motor is the one in the stage's first slot.
StageMount StageMountOf(const RocketRecord& rocket, const RocketShape* shape, int stage);

}  // namespace komet
