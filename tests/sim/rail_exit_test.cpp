// SPDX-License-Identifier: GPL-3.0-or-later
// The speed off the rail against the forces integrated here with fine
// steps; the remedies against flights on the rails they propose.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/flight_analysis.h"
#include "sim/remedies.h"
#include "sim/sim_test_support.h"

namespace komet {
namespace {

// A 75 g, 25 mm kit (cw 0.6) on a C motor: 14 N peak at 0.2 s, 4.5 N to
// 1.8 s, 10.8 g of propellant in 24 g.
constexpr double kBody = 0.075, kDiameter = 0.025, kCw = 0.6;
const MotorRecord kMotor = test::MakeMotor(
    {{0.0, 0.0}, {0.04, 6.0}, {0.2, 14.0}, {0.3, 5.0}, {1.8, 4.5}, {1.9, 0.0}}, 1.9, 0.0108, 0.024);

RocketRecord Kit(const MotorRecord& motor = kMotor) {
  RocketRecord r;
  InitRakete(r);
  r.stages[0].mass = kBody;
  r.stages[0].diameter = kDiameter;
  r.cw = kCw;
  test::Fit(r, 0, 0, motor);
  return r;
}

// Newton's law in 0.1 ms steps: the curve's thrust, the propellant burnt
// evenly, weight, friction, drag ½ ρ cw A v²; the speed at the rail's end.
double FineExitSpeed(double rail) {
  const FixedConstants c;
  const MotorRecord& m = kMotor;
  const double dt = 1e-4, k = 0.5 * c.airDensity * kCw * std::numbers::pi * kDiameter * kDiameter / 4.0;
  double t = 0.0, h = 0.0, v = 0.0;
  for (std::size_t p = 1; t < m.burnTime; t += dt) {
    const double mid = t + dt / 2.0;
    while (m.curveTime[p] < mid) ++p;
    const double thrust = m.curveThrust[p - 1] + (m.curveThrust[p] - m.curveThrust[p - 1]) *
                                                     (mid - m.curveTime[p - 1]) /
                                                     (m.curveTime[p] - m.curveTime[p - 1]);
    const double mass = kBody + m.totalMass - m.propellantMass * mid / m.burnTime;
    const double force = thrust - k * v * v - mass * c.gravity - c.railFriction;
    if (h == 0.0 && force <= 0.0) continue;  // still standing on the pad
    const double v1 = v + force / mass * dt, h1 = h + (v + v1) / 2.0 * dt;
    if (h1 >= rail) return v + (v1 - v) * (rail - h) / (h1 - h);
    h = h1, v = v1;
  }
  return 0.0;
}

// The flight keeps pointing at the rocket's motors: the rocket lives as
// long as the simulation.
Simulation& Fly(double rail, const RocketRecord& rocket = Kit()) {
  static Simulation sim;
  static RocketRecord flown;
  flown = rocket;
  FixedConstants c;
  c.railLength = rail;
  sim.RunSimulation(flown, c);
  return sim;
}

double ExitSpeed(double rail) {
  return RailExitSpeed(Fly(rail)).value_or(0.0);
}

TEST(RailExit, FollowsTheRailSmoothlyAndMatchesFineSteps) {
  for (int cm = 90; cm <= 110; ++cm) {
    const double speed = ExitSpeed(cm / 100.0), exact = FineExitSpeed(cm / 100.0);
    EXPECT_NEAR(speed, exact, 0.005 * exact) << cm << " cm";
    if (cm > 90) {
      EXPECT_LT(std::fabs(speed - ExitSpeed((cm - 1) / 100.0)), 0.15) << cm << " cm";
    }
  }
}

TEST(RailRemedy, AtTheLimitAndJustBelowIt) {
  double lo = 0.1, hi = kMaxRemedyRail;  // the rail where the flown speed reaches the limit
  for (int i = 0; i < 40; ++i) ((ExitSpeed((lo + hi) / 2) < kMinRailExitSpeed) ? lo : hi) = (lo + hi) / 2;
  ASSERT_GT(hi, 1.3);  // the kit is red on the default rail, a few tenths short
  for (const double rail : {1.0, hi - 0.002, hi, hi + 0.002}) {
    const FlightAnalysis a = AnalyseFlight(Fly(rail), ',');
    const Remedy* remedy = RemedyFor(a.remedies, SafetyRuleId::RailExitSpeed);
    ASSERT_EQ(remedy != nullptr, rail < hi) << rail;
    if (remedy == nullptr) continue;
    // The shortest whole tenth above the rail that, flown, is fast enough.
    const int tenths = static_cast<int>(std::lround(remedy->value * 10.0));
    EXPECT_NEAR(remedy->value, tenths / 10.0, 1e-12);
    EXPECT_GE(remedy->value, std::max(hi, rail));
    EXPECT_LT(remedy->value - 0.1, std::max(hi, rail));
    const double flown = ExitSpeed(remedy->value);
    EXPECT_GE(flown, kMinRailExitSpeed);
    // The text names that rail with the separator asked for, and the speed flown on it.
    const std::string& text = remedy->text;
    EXPECT_NE(text.find(std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " m"),
              std::string::npos)
        << text;
    std::string speed = text.substr(text.rfind(' ', text.size() - 5) + 1);
    std::replace(speed.begin(), speed.end(), ',', '.');
    EXPECT_NEAR(std::stod(speed), flown, 0.05 + 1e-9) << text;
  }
  // Barely more thrust than weight and friction: 15 m/s lie beyond any
  // rail; with less, the rocket never leaves.
  for (const double thrust : {4.0, 2.0}) {
    const FlightAnalysis a = AnalyseFlight(Fly(1.0, Kit(test::ConstantMotor(thrust, 1.5, 0.01, 0.025))), ',');
    ASSERT_EQ(WorstLevel(a.warnings), SafetyLevel::Red);
    EXPECT_TRUE(a.remedies.empty()) << thrust;
  }
}

TEST(Remedies, DelayWithinItsBandAndSlowEnough) {
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
      {{check(10, -2.1, false), check(15, 2.9, false)}, 15},  // the wider band of the longer delay
      {{check(5, 0.2, true)}, std::nullopt},                  // fits, but too fast
  };
  for (const auto& c : cases) {
    const std::optional<DelayCheck> d = FittingDelay(c.delays);
    EXPECT_EQ(d ? std::optional<int>(d->delay) : std::nullopt, c.fitting);
  }
}

TEST(Remedies, HeightAboveTheFieldsLimit) {
  const Simulation& sim = Fly(1.0);
  for (const double over : {0.4, 25.0, 0.0}) {
    const FlightAnalysis a = AnalyseFlight(sim, ',', {.heightLimit = sim.results().maxHeight - over});
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
