// SPDX-License-Identifier: GPL-3.0-or-later
// The thrust look-up of the schedule pass remembers the curve segment of
// the step before and works the propellant of a burning step out once;
// these tests hold it to the plain look-up, bit for bit, so a remembered
// segment that goes stale shows up.

#include <gtest/gtest.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "sim/motor_thrust.h"
#include "sim_test_support.h"

namespace komet {
namespace {

using test::MakeMotor;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The same double, bit for bit (NaN and the sign of zero included).
bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(CurveThrust, RememberedSegmentAgreesWithAFullSearch) {
  for (const MotorRecord& m : test::AwkwardMotors()) {
    CurveCursor cursor;
    for (double tau = -0.1; tau < 4.0; tau += 0.005)
      ASSERT_TRUE(SameBits(CurveThrust(m, tau, cursor), CurveThrust(m, tau))) << tau;
  }
}

TEST(CurveThrust, RememberedSegmentIsLeftAtItsEnd) {
  // Steps that land exactly on a point and then just past it: the segment
  // ending there serves the first, the next one the second.
  const MotorRecord m = MakeMotor({{0.0, 0.0}, {0.01, 10.0}, {0.02, 0.0}, {0.03, 30.0}}, 0.03);
  CurveCursor cursor;
  for (double tau : {0.0, 0.005, 0.01, 0.015, 0.02, 0.025, 0.03, 0.035, 0.04})
    ASSERT_TRUE(SameBits(CurveThrust(m, tau, cursor), CurveThrust(m, tau))) << tau;
}

TEST(SlotTrack, AgreesWithMotorThrustAndPropellantUse) {
  for (const MotorRecord& m : test::AwkwardMotors()) {
    for (int count : {1, 3, -1}) {
      StageRecord stage;
      stage.motors[2] = m;
      stage.motors[2].propellantMass = 0.02;
      stage.counts[2] = count;
      stage.runIgnitionTime = 0.35;
      SlotTrack track(stage.motors[2], stage.counts[2], stage.runIgnitionTime, 0.005);
      for (double t = 0.0; t < 5.0; t += 0.005) {
        ASSERT_TRUE(SameBits(track.Thrust(t), MotorThrust(stage, 2, t))) << t;
        ASSERT_TRUE(SameBits(track.PropellantUse(t), MotorPropellantUse(stage, 2, t, 0.005))) << t;
      }
    }
  }
}

}  // namespace
}  // namespace komet
