// SPDX-License-Identifier: GPL-3.0-or-later
#include "flightlog/cw_fit.h"

#include <gtest/gtest.h>

#include <string>

#include "common/komet_error.h"
#include "flightlog/recording_maker.h"

namespace komet {
namespace {

using testing::RecordingStyle;

struct FitCase {
  const char* name;
  double flownCw;
  FlightLogShape shape;
  HeightUnit unit;
  double noiseM;
};

const FitCase kFits[] = {
    {"metres_noisy", 0.75, FlightLogShape::Columns, HeightUnit::Metre, 0.3},
    {"feet_noisy", 0.45, FlightLogShape::KeyValueBlock, HeightUnit::Foot, 0.5},
    {"telemetry_low_drag", 0.3, FlightLogShape::Telemetry, HeightUnit::Metre, 0.2},
    {"feet_high_drag", 1.4, FlightLogShape::Columns, HeightUnit::Foot, 0.3},
};

class Fits : public ::testing::TestWithParam<FitCase> {};

// A flight made with a known cw, recorded with noise, gives that cw back
// whichever way the example rocket's own cw stands.
TEST_P(Fits, RecoverTheCwThatMadeTheFlight) {
  const FitCase& c = GetParam();
  RocketRecord rocket = testing::ExampleRocket();
  rocket.cw = c.flownCw;
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  RecordingStyle style;
  style.shape = c.shape, style.unit = c.unit, style.noiseM = c.noiseM, style.clockAtLaunch = 4.0;
  const FlightLog log = ParseFlightLog(testing::WriteRecording(sim, style), "flug.csv", c.unit);

  const RocketRecord asFiled = testing::ExampleRocket();
  const CwFit fit = FitCw(asFiled, FixedConstants{}, log);
  EXPECT_NEAR(fit.cwApogee, c.flownCw, 0.01);
  EXPECT_NEAR(fit.cwAscent, c.flownCw, 0.01);
  EXPECT_NEAR(fit.apogeeAtCwApogee, log.apogee, 1.0);
  EXPECT_LT(fit.rmsAscent, 1.5);  // the noise and the recording's rounding of time
  EXPECT_LE(fit.runs, 40);
  EXPECT_DOUBLE_EQ(fit.rocketCw, asFiled.cw);
  // The comparison is of the rocket as filed, not of a trial.
  Simulation filed;
  filed.RunSimulation(asFiled, FixedConstants{});
  EXPECT_DOUBLE_EQ(fit.comparison.predictedApogee, filed.results().maxHeight);
  EXPECT_NEAR(fit.comparison.apogeeDifferencePercent(),
              (filed.results().maxHeight - log.apogee) / log.apogee * 100.0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(CwFit, Fits, ::testing::ValuesIn(kFits),
                         [](const auto& info) { return std::string(info.param.name); });

// Heights no cw in the range reaches: a bigger motor than the rocket has,
// or a much smaller one.
TEST(CwFit, RefusesWhenNoCwInRangeFits) {
  for (double scale : {4.0, 0.04}) {
    std::string text;
    for (int k = -10; k <= 200; ++k) {
      const double t = 0.05 * k, h = t < 0 ? 0.0 : scale * (60.0 * t - 4.9 * t * t);
      text += Format('.', "%.2f,%.3f\n", t, std::max(h, 0.0));
    }
    const FlightLog log = ParseFlightLog(text, "fremd.csv");
    try {
      FitCw(testing::ExampleRocket(), FixedConstants{}, log, ',');
      FAIL() << "fitted at scale " << scale;
    } catch (const KometError& e) {
      const std::string what = e.what();
      EXPECT_TRUE(what.starts_with("fremd.csv: Kein cw zwischen 0,05 und 3,0 passt")) << what;
      EXPECT_NE(what.find("anderer Motor"), std::string::npos);
      EXPECT_NE(what.find("vor dem Gipfel"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace komet

namespace komet {
namespace {

// A real flight of another rocket (8 km, supersonic) against each example:
// refused, saying why.
TEST(CwFit, RefusesARealRecordingOfAnotherRocket) {
  const std::filesystem::path file = KOMET_SOURCE_DIR "/../shared/flightlogs/20230621_irec_2023_easymega.csv";
  if (!std::filesystem::exists(file))
    GTEST_SKIP() << "../shared/flightlogs fehlt: die echte Aufzeichnung ist nicht da";
  const FlightLog log = ReadFlightLogFile(file);
  for (const auto& entry : std::filesystem::directory_iterator(KOMET_SOURCE_DIR "/examples/rockets")) {
    if (entry.path().extension() != ".kmw") continue;
    RocketRecord base;
    InitRakete(base);
    const RocketRecord rocket = ReadRocketFile(entry.path(), base).record;
    try {
      FitCw(rocket, FixedConstants{}, log);
      ADD_FAILURE() << "fitted " << entry.path();
    } catch (const KometError& e) {
      EXPECT_NE(std::string(e.what()).find("Kein cw"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("von einer anderen Rakete"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace komet
