// SPDX-License-Identifier: GPL-3.0-or-later
// The delay advice reads the flight without recovery: a chute the charge
// opens cannot change the delay that is to open it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "model/rocket_file.h"
#include "sim/flight_analysis.h"
#include "support/recovery_fixtures.h"

namespace komet {
namespace {

// Every figure of every delay row.
std::vector<std::tuple<int, double, double, double, bool, double, double, double, double, double, bool, bool>>
Rows(const FlightAnalysis& a) {
  std::vector<
      std::tuple<int, double, double, double, bool, double, double, double, double, double, bool, bool>>
      rows;
  for (const DelayCheck& c : a.delays)
    rows.emplace_back(c.delay, c.ejection.time, c.ejection.height, c.ejection.velocity, c.ejection.inFlight,
                      c.early.height, c.early.velocity, c.late.height, c.late.velocity, c.fromApogee, c.best,
                      c.tooFast);
  return rows;
}

TEST(FreeAscent, TheParachuteExampleIsAdvisedAsWithoutItsChute) {
  RocketRecord empty;
  InitRakete(empty);
  const RocketRecord rocket =
      ReadRocketFile(KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6_fallschirm.kmw", empty).record;
  ASSERT_TRUE(ReadRecovery(rocket)) << "the example has lost its parachute";
  RocketRecord bare = rocket;
  WriteRecovery(bare, std::nullopt);
  using D = Recovery::Deployment;
  const Recovery chutes[] = {testing::Chute(300, D::Delay, 3.0), testing::Chute(300, D::Delay, 5.0),
                             testing::Chute(300, D::Apogee)};
  for (const bool standardAir : {false, true}) {
    FixedConstants constants;
    constants.site.standardAtmosphere = standardAir;
    Simulation plain;
    plain.RunSimulation(bare, constants);
    const FlightAnalysis expected = AnalyseFlight(plain, ',');
    ASSERT_FALSE(expected.delays.empty());
    for (const Recovery& chute : chutes) {
      RocketRecord fitted = rocket;
      WriteRecovery(fitted, chute);
      Simulation flight, spare;
      flight.RunSimulation(fitted, constants);
      const Simulation& ascent = FreeAscentOf(flight, spare);
      ASSERT_EQ(&ascent, &spare);
      // Flown only as far as the delays read, not to the landing.
      EXPECT_LT(spare.lastSample(), plain.lastSample());
      const FlightAnalysis a = AnalyseFlight(flight, ',', {}, &ascent);
      const std::string what = std::string(standardAir ? "Normatmosphäre, " : "") +
                               (chute.deployment == D::Apogee ? "am Gipfel" : std::to_string(chute.delay));
      EXPECT_EQ(a.recommendedDelay, expected.recommendedDelay) << what;
      EXPECT_EQ(a.figures.recommendedDelay, expected.figures.recommendedDelay) << what;
      ASSERT_TRUE(a.figures.bestDelay && expected.figures.bestDelay) << what;
      EXPECT_EQ(a.figures.bestDelay->delay, expected.figures.bestDelay->delay) << what;
      EXPECT_EQ(a.figures.bestDelay->ejectionVelocity, expected.figures.bestDelay->ejectionVelocity) << what;
      EXPECT_EQ(Rows(a), Rows(expected)) << what;
      // Opened 3 s after burnout the chute stops the climb early: the
      // flight itself would advise a delay a good second shorter.
      if (chute.delay == 3.0 && chute.deployment == D::Delay) {
        EXPECT_LT(flight.results().recommendedDelay(), *a.recommendedDelay - 1.0) << what;
      }
      // The figures the rules judge of the flight itself stay the flight's.
      EXPECT_EQ(a.figures.maxHeight, flight.results().maxHeight) << what;
      EXPECT_TRUE(a.figures.recovery) << what;
    }
    // Without recovery the flight is its own free ascent: no second flight.
    Simulation unused;
    EXPECT_EQ(&FreeAscentOf(plain, unused), &plain);
  }
}

// The published delay closest to the recommended one; within a tenth of a
// second of a tie, the shorter.
TEST(FreeAscent, ClosestDelayTakesTheShorterOfANearTie) {
  const struct {
    std::vector<int> delays;
    double wanted;
    std::optional<int> best;
  } cases[] = {
      {{3, 5}, 4.0, 3},     // 1 s either side
      {{3, 5}, 4.05, 3},    // 1.05 s against 0.95 s: within a tenth
      {{5, 3}, 4.05, 3},    // in any order
      {{3, 5}, 3.95, 3},    // plainly closer
      {{3, 5}, 4.2, 5},     // 1.2 s against 0.8 s
      {{3, 5}, 4.11, 5},    // 1.11 s against 0.89 s: more than a tenth
      {{5, 7}, 6.03, 5},    // −1.03 s against +0.97 s
      {{3, 5, 7}, 6.0, 5},  //
      {{7, 5, 3}, 6.2, 7},  //
      {{3, 5, 7}, 1.0, 3},  // below all
      {{4}, 9.0, 4},        // the only one
      {{}, 4.0, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ClosestDelay(c.delays, c.wanted), c.best) << c.wanted;
}

}  // namespace
}  // namespace komet
