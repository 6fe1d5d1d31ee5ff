// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "model/rocket_file.h"
#include "sim/atmosphere.h"
#include "sim/flight_analysis.h"
#include "sim/simulation.h"
#include "support/recovery_fixtures.h"

namespace komet {
namespace {

using testing::Chute;
using testing::Streamer;

RocketRecord ExampleRocket() {
  return ReadRocketFile(KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6.kmw", RocketRecord{}).record;
}

// cw × A from the measures, m²: the top stage's circle and other areas, the
// canopy's circle or the streamer's strip.
double RocketDragArea(const RocketRecord& r) {
  const double d = r.stages[0].diameter;
  return r.cw * (std::numbers::pi * d * d / 4.0 + r.stages[0].otherArea);
}
double DeviceDragArea(const Recovery& r) {
  if (r.kind == Recovery::Kind::Parachute)
    return r.cw * std::numbers::pi * std::pow(r.diameterMm / 1000.0, 2) / 4.0;
  return r.cw * (r.lengthMm / 1000.0) * (r.widthMm / 1000.0);
}

FixedConstants Air(bool standard, double altitude = 0.0, double temperature = 15.0) {
  FixedConstants c;
  c.site.standardAtmosphere = standard;
  c.site.altitude = altitude;
  c.site.temperature = temperature;
  return c;
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

RocketRecord TwoStageRocket() {
  return ReadRocketFile(KOMET_SOURCE_DIR "/examples/rockets/zweistufig.kmw", RocketRecord{}).record;
}

// The flight with recovery is the flight without it, bit for bit, up to the
// step the device opens; there the drag grows, and a delay is counted from
// the main motor's burnout, apogee as the first step after the climb.
TEST(RecoveryFlightTest, SameFlightUpToTheDeploymentStep) {
  const struct {
    RocketRecord rocket;
    Recovery recovery;
    bool standardAir;
  } cases[] = {
      {ExampleRocket(), Chute(300.0), false},
      {ExampleRocket(), Chute(300.0, Recovery::Deployment::Apogee), false},
      {ExampleRocket(), Chute(450.0, Recovery::Deployment::Delay, 7.0, 0.5), true},
      {ExampleRocket(), Streamer(1200.0, 60.0), false},
      {TwoStageRocket(), Chute(300.0, Recovery::Deployment::Delay, 3.0), false},
      {TwoStageRocket(), Chute(300.0, Recovery::Deployment::Apogee), true},
  };
  for (const auto& c : cases) {
    FlightPlan with = MakeFlightPlan(c.rocket, Air(c.standardAir));
    with.recovery = StoredRecovery(c.recovery);
    Simulation a, b;
    a.RunSimulation(c.rocket, Air(c.standardAir));
    b.Run(with);
    const FlightResults& r = b.results();
    ASSERT_TRUE(r.deployed);
    const std::size_t d = r.deploymentStep;
    ASSERT_GT(d, 1u);
    ASSERT_LE(d, a.lastSample());
    for (std::size_t n = 1; n < d; ++n) {
      const FlightSample& x = a.samples()[n];
      const FlightSample& y = b.samples()[n];
      ASSERT_TRUE(SameBits(x.height, y.height) && SameBits(x.velocity, y.velocity) &&
                  SameBits(x.accel, y.accel) && SameBits(x.force, y.force) && SameBits(x.thrust, y.thrust))
          << "sample " << n;
    }
    EXPECT_NE(b.samples()[d].accel, a.samples()[d].accel) << "the device's drag acts from step " << d;
    const auto& s = b.samples();
    EXPECT_EQ(s[d].time, r.deploymentTime);
    if (c.recovery.deployment == Recovery::Deployment::Delay) {
      const double due = r.burnoutTime + c.recovery.delay;
      EXPECT_GE(s[d].time, due - 1e-9);
      EXPECT_LT(s[d - 1].time, due - 1e-9);
    } else {
      EXPECT_LE(s[d - 1].velocity, 0.0);
      EXPECT_GT(s[d - 2].velocity, 0.0);
      EXPECT_EQ(s[d - 2].height, r.maxHeight);
    }
    EXPECT_TRUE(r.landed);
  }
}

// Under the device the rocket sinks at the terminal speed where weight and
// drag balance, sqrt(2 m g / (rho (cw A + cw_r A_r))), in the air at the
// ground it lands on.
TEST(RecoveryFlightTest, DescentRateIsTheTerminalSpeed) {
  const struct {
    Recovery recovery;
    LaunchSite site;
  } cases[] = {
      {Chute(300.0), {}},
      {Chute(900.0, Recovery::Deployment::Apogee), {}},
      {Streamer(1500.0, 80.0), {}},
      {Chute(300.0), {true, 0.0, 15.0, 5.0}},
      {Chute(600.0, Recovery::Deployment::Apogee), {true, 1500.0, 30.0, 5.0}},
  };
  for (const auto& c : cases) {
    RocketRecord rocket = ExampleRocket();
    WriteRecovery(rocket, c.recovery);
    Simulation sim;
    FixedConstants constants;
    constants.site = c.site;
    sim.RunSimulation(rocket, constants);
    const auto f = MeasureRecovery(sim);
    ASSERT_TRUE(f && f->landed);
    const double rho = c.site.standardAtmosphere ? SiteDensity(c.site, 0.0) : constants.airDensity;
    const double dragArea = RocketDragArea(rocket) + DeviceDragArea(c.recovery);
    const double terminal = std::sqrt(2.0 * f->landingMass * constants.gravity / (rho * dragArea));
    EXPECT_NEAR(f->descentRate, terminal, 0.01 * terminal) << c.recovery.diameterMm;
    EXPECT_NEAR(f->landingSpeed, terminal, 0.01 * terminal);
    EXPECT_NEAR(f->drift, 5.0 * (f->flightTime - sim.results().maxHeightTime), 1e-9);
    // The helper's chute for that descent rate is the one flown.
    if (c.recovery.kind == Recovery::Kind::Parachute) {
      EXPECT_NEAR(ChuteDiameterFor(f->landingMass, terminal, RocketDragArea(rocket), rho, c.recovery.cw,
                                   constants.gravity),
                  c.recovery.diameterMm, 0.01);
    }
  }
}

// The guide's end of a descent: from the step it sinks steadily, the time
// through each layer of air at that layer's terminal speed. It lands when
// the flown descent lands, within 0.2 % of the time under the canopy, also
// where the air thins over the height of the descent.
TEST(RecoveryFlightTest, ASteadyEndLandsWithTheFlownOne) {
  RocketRecord rocket = ExampleRocket();
  WriteRecovery(rocket, Chute(300.0, Recovery::Deployment::Apogee));
  for (const bool standard : {false, true}) {
    const FixedConstants air = Air(standard, 1500.0, 5.0);
    Simulation flown, steady;
    flown.RunSimulation(rocket, air);
    steady.SetFlightEnd(Simulation::FlightEnd::SteadyDescent);
    steady.RunSimulation(rocket, air);
    const FlightResults& f = flown.results();
    const FlightResults& s = steady.results();
    ASSERT_TRUE(f.landed && s.steadyFrom > 0.0) << standard;
    EXPECT_NEAR(s.flightEndTime, f.flightEndTime, 0.002 * (f.flightEndTime - f.deploymentTime)) << standard;
    EXPECT_NEAR(s.landingVelocity, f.landingVelocity, 0.002 * -f.landingVelocity) << standard;
  }
}

// The flight goes on past the calculation period to landing, within the
// table; what the table cannot hold is said, not hidden.
TEST(RecoveryFlightTest, FliesToLandingWithinTheTable) {
  RocketRecord rocket = ExampleRocket();
  WriteRecovery(rocket, Chute(1500.0, Recovery::Deployment::Apogee));
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  EXPECT_FALSE(sim.results().landed);
  EXPECT_EQ(sim.lastSample(), static_cast<std::size_t>(kMaxSteps));
  WriteRecovery(rocket, Chute(300.0, Recovery::Deployment::Apogee));
  sim.RunSimulation(rocket, FixedConstants{});
  EXPECT_TRUE(sim.results().landed);
  EXPECT_GT(sim.results().flightEndTime, FixedConstants{}.calcPeriod);
  EXPECT_LT(sim.results().landingVelocity, 0.0);
}

// The standard atmosphere's density at geometric heights (U.S. Standard Atmosphere 1976):
// 1.2250, 1.1117 and 0.73643 kg/m³; the site's altitude takes the place of
// the height climbed, and the flight's table reads the same values.
TEST(RecoveryFlightTest, StandardAtmosphereDensity) {
  const struct {
    double height, density;
  } table[] = {{0.0, 1.2250}, {1000.0, 1.1117}, {5000.0, 0.73643}, {11000.0, 0.36480}, {15000.0, 0.19476}};
  const LaunchSite seaLevel{true, 0.0, 15.0, 5.0};
  DensityTable lookup;
  lookup.Build(seaLevel);
  for (const auto& row : table) {
    EXPECT_NEAR(SiteDensity(seaLevel, row.height), row.density, 0.001 * row.density) << row.height;
    EXPECT_NEAR(lookup.At(row.height + 3.3), SiteDensity(seaLevel, row.height + 3.3), 1e-6 * row.density);
    // A site at 1,000 m with the standard's 8.5 °C there.
    if (row.height >= 1000.0) {
      EXPECT_NEAR(SiteDensity({true, 1000.0, 8.5, 5.0}, row.height - 1000.0), row.density,
                  0.001 * row.density);
    }
  }
  EXPECT_NEAR(SpeedOfSound(15.0), 340.29, 0.01);
  EXPECT_GT(SiteDensity({true, 0.0, -10.0, 5.0}, 0.0), SiteDensity({true, 0.0, 30.0, 5.0}, 0.0));
}

}  // namespace
}  // namespace komet
