// SPDX-License-Identifier: GPL-3.0-or-later
// The speed off the rail and the remedies, against the forces integrated
// here with fine steps and against flights on the rails they propose.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/flight_analysis.h"
#include "sim/remedies.h"
#include "sim/sim_test_support.h"

namespace komet {
namespace {

// A C-class kit motor: a peak of 14 N at 0.2 s, 4.5 N sustain to 1.8 s,
// 10.8 g of propellant in a 24 g motor.
MotorRecord KitMotor() {
  return test::MakeMotor({{0.0, 0.0}, {0.04, 6.0}, {0.2, 14.0}, {0.3, 5.0}, {1.8, 4.5}, {1.9, 0.0}}, 1.9,
                         0.0108, 0.024);
}

struct Kit {
  double body = 0.075;      // kg
  double diameter = 0.025;  // m
  double cw = 0.6;
};

RocketRecord KitRocket(const Kit& kit, const MotorRecord& motor) {
  RocketRecord r;
  InitRakete(r);
  r.stages[0].mass = kit.body;
  r.stages[0].diameter = kit.diameter;
  r.cw = kit.cw;
  test::Fit(r, 0, 0, motor);
  return r;
}

double CurveAt(const MotorRecord& m, double t) {
  for (std::size_t p = 1; p < MotorRecord::kCurvePoints && m.curveTime[p] > 0.0; ++p)
    if (t <= m.curveTime[p]) {
      const double x0 = m.curveTime[p - 1], x1 = m.curveTime[p];
      return m.curveThrust[p - 1] + (m.curveThrust[p] - m.curveThrust[p - 1]) * (t - x0) / (x1 - x0);
    }
  return 0.0;
}

// Newton's law with 0.1 ms steps: the curve's thrust, the propellant burnt
// evenly over the burn time, weight, the rail's friction, drag ½ ρ cw A v².
// The speed where the height passes the rail's end.
double FineExitSpeed(const Kit& kit, const MotorRecord& m, const FixedConstants& c) {
  const double dt = 1e-4;
  const double k = 0.5 * c.airDensity * kit.cw * std::numbers::pi * kit.diameter * kit.diameter / 4.0;
  double t = 0.0, h = 0.0, v = 0.0;
  while (t < 3.0) {
    const double mid = t + dt / 2.0;
    const double mass = kit.body + m.totalMass - m.propellantMass * std::min(mid, m.burnTime) / m.burnTime;
    const double force = CurveAt(m, mid) - k * v * v - mass * c.gravity - c.railFriction;
    t += dt;
    if (h == 0.0 && force <= 0.0) continue;  // still standing on the pad
    const double v1 = v + force / mass * dt;
    const double h1 = h + (v + v1) / 2.0 * dt;
    if (h1 >= c.railLength) return v + (v1 - v) * (c.railLength - h) / (h1 - h);
    h = h1;
    v = v1;
  }
  return 0.0;
}

double FlownExit(const RocketRecord& rocket, double rail, double friction = 3.0) {
  FixedConstants c;
  c.railLength = rail;
  c.railFriction = friction;
  Simulation sim;
  sim.RunSimulation(rocket, c);
  return RailExitSpeed(sim).value_or(0.0);
}

TEST(RailExit, FollowsTheRailSmoothlyAndMatchesFineSteps) {
  const Kit kit;
  const MotorRecord motor = KitMotor();
  const RocketRecord rocket = KitRocket(kit, motor);
  double previous = 0.0;
  for (int cm = 90; cm <= 110; ++cm) {
    FixedConstants c;
    c.railLength = cm / 100.0;
    const double exact = FineExitSpeed(kit, motor, c);
    const double speed = FlownExit(rocket, c.railLength);
    EXPECT_NEAR(speed, exact, 0.005 * exact) << cm << " cm";
    if (cm > 90) {
      EXPECT_GT(speed, previous) << cm << " cm";
      EXPECT_LT(speed - previous, 0.15) << cm << " cm";
    }
    previous = speed;
  }
}

// The rail on which the flown speed crosses the limit, by bisection.
double RailForLimit(const RocketRecord& rocket) {
  double lo = 0.1, hi = kMaxRemedyRail;
  for (int i = 0; i < 40; ++i) {
    const double mid = (lo + hi) / 2.0;
    (FlownExit(rocket, mid) < kMinRailExitSpeed ? lo : hi) = mid;
  }
  return hi;
}

TEST(RailRemedy, AtTheLimitAndJustBelowIt) {
  const RocketRecord rocket = KitRocket(Kit{}, KitMotor());
  const double limit = RailForLimit(rocket);
  ASSERT_GT(limit, 1.3);  // the kit is red on the default rail, a few tenths short
  const struct {
    double rail;
    bool red;
  } cases[] = {{1.0, true}, {limit - 0.002, true}, {limit, false}, {limit + 0.002, false}};
  for (const auto& c : cases) {
    FixedConstants constants;
    constants.railLength = c.rail;
    Simulation sim;
    sim.RunSimulation(rocket, constants);
    const FlightAnalysis a = AnalyseFlight(sim, ',');
    const Remedy* remedy = RemedyFor(a.remedies, SafetyRuleId::RailExitSpeed);
    ASSERT_EQ(remedy != nullptr, c.red) << c.rail;
    if (!c.red) continue;
    // A whole tenth above the rail; flown, it is fast enough, and the tenth
    // below is not.
    EXPECT_NEAR(remedy->value * 10.0, std::round(remedy->value * 10.0), 1e-9);
    EXPECT_GT(remedy->value, c.rail);
    EXPECT_GE(remedy->value, limit);
    EXPECT_LT(remedy->value - 0.1, std::max(limit, c.rail));
    const double flown = FlownExit(rocket, remedy->value);
    EXPECT_GE(flown, kMinRailExitSpeed);
    // The text names the rail with the separator asked for, and the speed flown on it.
    const int tenths = static_cast<int>(std::lround(remedy->value * 10.0));
    EXPECT_NE(remedy->text.find(std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " m"),
              std::string::npos)
        << remedy->text;
    std::string speed = remedy->text.substr(remedy->text.rfind(' ', remedy->text.size() - 5) + 1);
    std::replace(speed.begin(), speed.end(), ',', '.');
    EXPECT_NEAR(std::stod(speed), flown, 0.05 + 1e-9) << remedy->text;
  }
}

TEST(RailRemedy, NoneWhereNoRailWouldDo) {
  // Barely more thrust than weight and friction: 15 m/s lie far beyond
  // any rail; without thrust enough it never leaves.
  for (const double thrust : {4.0, 2.0}) {
    RocketRecord rocket = KitRocket(Kit{}, test::ConstantMotor(thrust, 1.5, 0.01, 0.025));
    Simulation sim;
    sim.RunSimulation(rocket, FixedConstants{});
    const FlightAnalysis a = AnalyseFlight(sim, ',');
    ASSERT_FALSE(a.warnings.empty());
    EXPECT_EQ(a.warnings[0].level(), SafetyLevel::Red) << thrust;
    EXPECT_TRUE(a.remedies.empty()) << thrust << ": " << a.remedies[0].text;
  }
}

TEST(Remedies, DelayWithinItsBandAndSlowEnough) {
  // The delay closest to the apogee among those that fit and eject slowly.
  auto check = [](int delay, double fromApogee, bool tooFast) {
    DelayCheck c;
    c.delay = delay;
    c.fromApogee = fromApogee;
    c.tolerance = DelayTolerance(delay);
    c.tooFast = tooFast;
    return c;
  };
  const struct {
    std::vector<DelayCheck> delays;
    std::optional<int> fitting;
  } cases[] = {
      {{check(3, -2.6, true), check(5, -0.6, false), check(7, 1.4, false)}, 5},
      {{check(3, -1.5, false), check(10, 2.01, false)}, 3},  // at the band's edge
      {{check(3, -1.51, false), check(10, 2.01, false)}, std::nullopt},
      {{check(15, 2.9, false), check(10, -2.1, false)}, 15},
      {{check(5, 0.2, true)}, std::nullopt},  // fits, but too fast
      {{}, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<DelayCheck> d = FittingDelay(c.delays);
    EXPECT_EQ(d ? std::optional<int>(d->delay) : std::nullopt, c.fitting);
  }
}

TEST(Remedies, HeightAboveTheFieldsLimit) {
  const RocketRecord rocket = KitRocket(Kit{}, KitMotor());
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  const double apogee = sim.results().maxHeight;
  for (const double over : {0.4, 25.0, 0.0}) {
    SafetyInputs in;
    in.heightLimit = apogee - over;
    const FlightAnalysis a = AnalyseFlight(sim, ',', in);
    const Remedy* r = RemedyFor(a.remedies, SafetyRuleId::HeightLimit);
    ASSERT_EQ(r != nullptr, over > 0.0) << over;
    if (r != nullptr) {
      EXPECT_NEAR(r->value, over, 1e-9);
      EXPECT_EQ(r->text.rfind(std::to_string(static_cast<int>(std::ceil(over))) + " m ", 0), 0u) << r->text;
    }
  }
}

}  // namespace
}  // namespace komet
