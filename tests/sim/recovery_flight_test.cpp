// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "model/rocket_file.h"
#include "sim/atmosphere.h"
#include "sim/flight_analysis.h"
#include "sim/simulation.h"

namespace komet {
namespace {

RocketRecord ExampleRocket() {
  return ReadRocketFile(KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6.kmw", RocketRecord{}).record;
}

Recovery Chute(double diameterMm, Recovery::Deployment how = Recovery::Deployment::Delay, double delay = 5.0,
               double inflation = 0.0) {
  Recovery r;
  r.kind = Recovery::Kind::Parachute;
  r.diameterMm = diameterMm;
  r.cw = kDefaultChuteCw;
  r.deployment = how;
  r.delay = delay;
  r.inflationTime = inflation;
  return r;
}

Recovery Streamer(double lengthMm, double widthMm) {
  Recovery r;
  r.kind = Recovery::Kind::Streamer;
  r.lengthMm = lengthMm;
  r.widthMm = widthMm;
  r.cw = StreamerCw(lengthMm);
  r.deployment = Recovery::Deployment::Apogee;
  return r;
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

TEST(RecoveryFlightTest, ExampleRocketProbe) {
  RocketRecord rocket = ExampleRocket();
  WriteRecovery(rocket, Chute(300.0));
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  const auto f = MeasureRecovery(sim, rocket);
  ASSERT_TRUE(f);
  std::printf("deploy t=%.3f h=%.1f v=%.2f shock=%.2f descent=%.2f landing=%.2f time=%.2f drift=%.1f apogee=%.1f@%.2f landed=%d\n",
              f->deploymentTime, f->deploymentHeight, f->deploymentSpeed, f->openingShock, f->descentRate,
              f->landingSpeed, f->flightTime, f->drift, sim.results().maxHeight, sim.results().maxHeightTime, f->landed);
}

}  // namespace
}  // namespace komet
