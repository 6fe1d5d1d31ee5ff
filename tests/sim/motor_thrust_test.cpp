// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/motor_thrust.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "sim/forces.h"
#include "sim_test_support.h"

namespace komet {
namespace {

using test::MakeMotor;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct CurveCase {
  const char* what;
  MotorRecord motor;
  double tau;
  double thrust;
};

TEST(CurveThrust, FollowsTheCurveAndStopsAtItsEnd) {
  const MotorRecord ramp = MakeMotor({{0.0, 0.0}, {0.5, 10.0}, {1.0, 500.0}}, 1.0);
  const MotorRecord step = MakeMotor({{0.0, 4.0}, {0.2, 4.0}, {0.2, 8.0}, {0.4, 8.0}}, 0.4);
  const CurveCase cases[] = {
      {"first point", ramp, 0.0, 0.0},
      {"inside the first segment", ramp, 0.25, 5.0},
      {"on a point", ramp, 0.5, 10.0},
      {"inside the last segment", ramp, 0.75, 255.0},
      {"on the last point", ramp, 1.0, 500.0},
      // Not extrapolated towards the empty point: 500 × 1.5 / 1.0 before.
      {"beyond the last point", ramp, 1.5, 0.0},
      {"a segment's end belongs to it", step, 0.2, 4.0},
      {"after a step", step, 0.3, 8.0},
      {"a vertical segment has slope 0", MakeMotor({{0.3, 4.0}, {0.3, 8.0}, {0.6, 8.0}}, 0.6), 0.1, 4.0},
      {"one point at time 0, at its time", MakeMotor({{0.0, 7.0}}, 1.0), 0.0, 7.0},
      {"one point at time 0, after it", MakeMotor({{0.0, 7.0}}, 1.0), 0.1, 0.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(CurveThrust(c.motor, c.tau), c.thrust) << c.what;
}

TEST(CurveThrust, AllPointsUsedGivesZeroBeyondPoint100) {
  MotorRecord m;
  for (std::size_t p = 0; p < MotorRecord::kCurvePoints; ++p) {
    m.curveTime[p] = 0.01 * static_cast<double>(p + 1);
    m.curveThrust[p] = 3.0;
  }
  EXPECT_DOUBLE_EQ(CurveThrust(m, 1.01), 3.0);
  EXPECT_EQ(CurveThrust(m, 1.02), 0.0);
  EXPECT_EQ(CurveThrust(m, 1e300), 0.0);
}

TEST(CurveThrust, DisorderedTimesStayInsideTheCurve) {
  MotorRecord descending, repeated, nan, inf;
  for (std::size_t p = 0; p < MotorRecord::kCurvePoints; ++p) {
    descending.curveTime[p] = 100.0 - static_cast<double>(p);
    repeated.curveTime[p] = 1.0;
    nan.curveTime[p] = kNaN;
    inf.curveTime[p] = p % 2 ? kInf : -kInf;
    descending.curveThrust[p] = repeated.curveThrust[p] = nan.curveThrust[p] = inf.curveThrust[p] = 5.0;
  }
  for (double tau : {-1.0, 0.0, 0.5, 1.0, 2.0, 200.0, kNaN, kInf}) {
    EXPECT_TRUE(std::isfinite(Finite(CurveThrust(descending, tau))));
    EXPECT_TRUE(std::isfinite(Finite(CurveThrust(nan, tau))));
    EXPECT_TRUE(std::isfinite(Finite(CurveThrust(inf, tau))));
    EXPECT_EQ(CurveThrust(repeated, tau), tau <= 1.0 ? 5.0 : 0.0) << tau;
  }
}

TEST(CurveThrust, ResumedSearchAgreesWithAFullSearch) {
  for (const MotorRecord& m : test::AwkwardMotors()) {
    std::size_t from = 1;
    for (double tau = -0.1; tau < 4.0; tau += 0.005)
      ASSERT_EQ(Finite(CurveThrust(m, tau, from)), Finite(CurveThrust(m, tau))) << tau;
  }
}

TEST(MotorThrust, RunsOnTheStageClockTimesTheCount) {
  StageRecord stage;
  stage.motors[1] = MakeMotor({{0.0, 0.0}, {1.0, 10.0}}, 1.0);
  stage.counts[1] = 3;
  stage.runIgnitionTime = 2.0;
  EXPECT_DOUBLE_EQ(MotorThrust(stage, 1, 2.5), 15.0);
  EXPECT_EQ(MotorThrust(stage, 1, 3.5), 0.0);
}

TEST(MotorPropellantUse, EveryMotorOfTheSlotBurnsItsOwnPropellant) {
  StageRecord stage;
  stage.motors[0] = MakeMotor({{0.0, 1.0}}, 0.5, 0.01);
  stage.runIgnitionTime = 1.0;
  const double one = 0.005 * (0.01 / 0.5);
  const struct {
    int count;
    double t;
    double use;
  } cases[] = {{1, 1.0, one},         {2, 1.0, 2 * one},
               {20, 1.495, 20 * one}, {2, 1.5, 0.0},  // the burn time is over
               {-1, 1.2, 0.0},        {0, 1.2, 0.0}};
  for (const auto& c : cases) {
    stage.counts[0] = c.count;
    EXPECT_DOUBLE_EQ(MotorPropellantUse(stage, 0, c.t, 0.005), c.use) << c.count << " at " << c.t;
  }
}

TEST(Forces, DragOpposesTheMotionAndMasslessRocketsStand) {
  EXPECT_DOUBLE_EQ(Drag(0.5, 4.0), 8.0);
  EXPECT_DOUBLE_EQ(Drag(0.5, -4.0), -8.0);
  EXPECT_DOUBLE_EQ(NetForce(10.0, 1.0, 2.0, 3.0), 4.0);
  EXPECT_EQ(Acceleration(5.0, 0.0), 0.0);
  EXPECT_DOUBLE_EQ(Acceleration(5.0, 2.0), 2.5);
  EXPECT_EQ(Finite(kNaN), 0.0);
  EXPECT_EQ(Finite(-kInf), -std::numeric_limits<double>::max());
}

}  // namespace
}  // namespace komet
