// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "model/recovery.h"
#include "sim/simulation.h"
#include "sim_test_support.h"

// Counts the allocations of this test program while a window is open.
namespace {
bool g_counting = false;
long g_allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
  if (g_counting) ++g_allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return ::operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace komet {
namespace {

TEST(SimulationRun, AllocatesNothing) {
  RocketRecord rocket;
  rocket.cw = 0.5;
  rocket.stages[1].mass = 0.05;
  rocket.stages[1].ignitionDelay = 0.5;
  test::Fit(rocket, 1, 0, test::ConstantMotor(10.0, 1.0, 0.01, 0.02));
  rocket.stages[0].mass = 0.03;
  test::Fit(rocket, 0, 0, test::ConstantMotor(6.0, 1.0, 0.005, 0.015), 2);
  Simulation sim;
  FixedConstants constants;
  g_counting = true;
  sim.RunSimulation(rocket, constants);
  sim.RunSimulation(rocket, constants);
  g_counting = false;
  EXPECT_EQ(g_allocations, 0);
  EXPECT_GT(sim.lastSample(), 100u);

  // With a parachute in the standard atmosphere of a new site.
  Recovery chute;
  chute.diameterMm = 400.0;
  chute.cw = 0.8;
  chute.deployment = Recovery::Deployment::Apogee;
  WriteRecovery(rocket, chute);
  constants.site.standardAtmosphere = true;
  constants.site.altitude = 800.0;
  g_counting = true;
  sim.RunSimulation(rocket, constants);
  g_counting = false;
  EXPECT_EQ(g_allocations, 0);
  EXPECT_TRUE(sim.results().deployed);
}

}  // namespace
}  // namespace komet
