// SPDX-License-Identifier: GPL-3.0-or-later
#include "flightlog/flight_log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "common/komet_error.h"
#include "flightlog/recording_maker.h"

namespace komet {
namespace {

using testing::RecordingStyle;
using Shape = FlightLogShape;
constexpr auto kM = HeightUnit::Metre;
constexpr auto kFt = HeightUnit::Foot;

// The sample rocket flown with a cw other than its own.
const Simulation& MadeFlight() {
  static const Simulation* flight = [] {
    auto* sim = new Simulation;
    RocketRecord rocket = testing::ExampleRocket();
    rocket.cw = 0.75;
    sim->RunSimulation(rocket, FixedConstants{});
    return sim;
  }();
  return *flight;
}

struct ShapeCase {
  const char* name;
  RecordingStyle style;
  std::optional<HeightUnit> given;     // what the user says
  std::optional<HeightUnit> fileUnit;  // what the reader must find in the file
};

RecordingStyle Style(Shape shape, char sep, char decimal, HeightUnit unit, std::string header = "",
                     double clock = 0.0, double ground = 0.0) {
  RecordingStyle s;
  s.shape = shape, s.separator = sep, s.decimal = decimal, s.unit = unit, s.header = std::move(header);
  s.clockAtLaunch = clock, s.groundM = ground;
  return s;
}

const ShapeCase kShapes[] = {
    {"plain_metres", Style(Shape::Columns, ',', '.', kM, "", 5.0, 80.0), std::nullopt, std::nullopt},
    {"plain_tab_comma_feet", Style(Shape::Columns, '\t', ',', kFt, "", 2.0), kFt, std::nullopt},
    {"plain_blanks_feet", Style(Shape::Columns, ' ', '.', kFt), kFt, std::nullopt},
    {"header_parenthesised_feet",
     Style(Shape::ColumnsWithHeader, ',', '.', kFt, "Time (s),Altitude (ft)", 1.5), kM, kFt},
    {"header_german_semicolon",
     Style(Shape::ColumnsWithHeader, ';', ',', kM, "Zeit;H\xC3\xB6he [m]", 3.0, 250.0), kFt, kM},
    {"header_suffix_tab", Style(Shape::ColumnsWithHeader, '\t', '.', kFt, "t\taltitude_ft"), std::nullopt,
     kFt},
    {"header_apostrophe", Style(Shape::ColumnsWithHeader, ',', '.', kFt, "time,Altitude'"), std::nullopt,
     kFt},
    {"header_without_unit",
     Style(Shape::ColumnsWithHeader, ';', '.', kFt, "# Hoehenmesser 2, Flug 3\ntime_s;alt", 0.7), kFt,
     std::nullopt},
    {"key_block_feet", Style(Shape::KeyValueBlock, ',', '.', kFt, "", 12.0, 300.0), std::nullopt, kFt},
    {"key_block_metres", Style(Shape::KeyValueBlock, ',', '.', kM, "", 0.0, 95.0), kFt, kM},
    {"telemetry", Style(Shape::Telemetry, ',', '.', kM), kFt, kM},
};

class Shapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(Shapes, FindShapeUnitLaunchAndApogee) {
  const ShapeCase& c = GetParam();
  const Simulation& sim = MadeFlight();
  const FlightLog log = ParseFlightLog(testing::WriteRecording(sim, c.style), "flug.csv", c.given);
  EXPECT_EQ(log.shape, c.style.shape);
  EXPECT_EQ(log.separator, c.style.shape == Shape::KeyValueBlock || c.style.shape == Shape::Telemetry
                               ? ','
                               : c.style.separator);
  EXPECT_EQ(log.decimal, c.style.decimal);
  EXPECT_EQ(log.fileUnit, c.fileUnit);
  EXPECT_EQ(log.unit, c.style.unit);
  // Launch lies within three samples (the noise hides the first
  // centimetres) of where the simulated rocket left the pad.
  const auto& s = sim.samples();
  std::size_t lift = 1;
  while (s[lift + 1].height <= 0.0) ++lift;
  EXPECT_NEAR(log.launchTime, c.style.clockAtLaunch + s[lift].time, 3.0 / c.style.rateHz + 1e-9);
  EXPECT_NEAR(log.riseTime + log.launchTime, c.style.clockAtLaunch + SimulatedRiseTime(sim), 0.03);
  EXPECT_NEAR(log.apogee, sim.results().maxHeight, 0.5);
  // The top is flat: the noise moves its time by a few tenths.
  EXPECT_NEAR(log.apogeeTime + log.launchTime, c.style.clockAtLaunch + sim.results().maxHeightTime, 0.3);
  EXPECT_DOUBLE_EQ(log.time[log.launchIndex], 0.0);
}

INSTANTIATE_TEST_SUITE_P(FlightLog, Shapes, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FlightLog, TelemetryTakesHeightAbovePadNotAltitude) {
  const FlightLog log =
      ParseFlightLog(testing::WriteRecording(MadeFlight(), Style(Shape::Telemetry, ',', '.', kM)), "t.csv");
  EXPECT_EQ(log.heightColumn, "height");
  EXPECT_EQ(log.timeColumn, "time");
  EXPECT_LT(std::fabs(log.padHeight), 1.0);
}

// One wild reading (a pressure spike at ejection) is no apogee.
TEST(FlightLog, ApogeeIsTakenFromTheThreeSampleMedian) {
  std::string text;
  for (int k = 0; k <= 100; ++k) {
    const double t = 0.1 * k, h = t < 1 ? 0.0 : 50.0 * (t - 1) - 4.9 * (t - 1) * (t - 1);
    text += Format('.', "%.1f,%.3f\n", t, k == 40 ? h + 400.0 : h);
  }
  const FlightLog log = ParseFlightLog(text, "spitze.csv");
  EXPECT_NEAR(log.apogee, 50.0 * 50.0 / (4 * 4.9), 0.1);
  EXPECT_NEAR(log.apogeeTime, 50.0 / 9.8, 0.1 + 1e-9);
}

TEST(FlightLog, VelocityIsCentralDifferenceOfMedian) {
  // h = 10 t² from launch: the central difference is exact, 20 t.
  std::string text;
  for (int k = -5; k <= 40; ++k) {
    const double t = 0.1 * k;
    text += Format('.', "%.1f,%.4f\n", t, t < 0 ? 0.0 : 10.0 * t * t);
  }
  const FlightLog log = ParseFlightLog(text, "q.csv");
  const std::vector<double> v = MeasuredVelocity(log);
  for (std::size_t i = log.launchIndex + 1; i + 1 < log.size(); ++i)
    EXPECT_NEAR(v[i], 20.0 * log.time[i], 1e-6) << "t=" << log.time[i];
}

struct BadCase {
  const char* name;
  std::string text;
  int line;
  const char* says;
};

const BadCase kBad[] = {
    {"binary",
     std::string("0,0\n1,5\n\x7F"
                 "ELF\x02\x01",
                 13) +
         std::string(1, '\0') + "x",
     3, "keine Textdatei"},
    {"no_numbers", "Zeit,Hoehe\nnull,eins\nzwei,drei\n", 3, "keine Zeile mit Zahlen"},
    {"one_line", "0,0\n", 1, "zu wenige Messpunkte"},
    {"time_backwards", "0,0\n1,5\n0.5,10\n2,20\n", 3, "Zeit l\xC3\xA4uft nicht vorw\xC3\xA4rts"},
    {"huge_height", "0,0\n1,5\n2,1e30\n", 3, "keine m\xC3\xB6gliche Flugh\xC3\xB6he"},
    {"no_launch", "0,0\n1,1\n2,2.5\n3,1\n", 4, "kein Start"},
    {"truncated_last_line", "time,height,temp\n0,0,20\n1,5,20\n2,10,20\n3,1", 5,
     "unvollst\xC3\xA4ndige Zeile"},
    {"word_in_numbers", "0,0\n1,5\n2,zehn\n3,20\n", 3, "\"zehn\" ist keine Zahl"},
    {"no_height_column", "time,pressure\n0,1000\n1,990\n", 1, "keine Spalte f\xC3\xBCr die H\xC3\xB6he"},
};

class BadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadInput, OneMessageNamingFileAndLine) {
  const BadCase& c = GetParam();
  try {
    ParseFlightLog(c.text, "hoehe.txt");
    FAIL() << "read";
  } catch (const KometError& e) {
    const std::string what = e.what();
    EXPECT_TRUE(what.starts_with("hoehe.txt, Zeile " + std::to_string(c.line) + ": ")) << what;
    EXPECT_NE(what.find(c.says), std::string::npos) << what;
  }
}

INSTANTIATE_TEST_SUITE_P(FlightLog, BadInput, ::testing::ValuesIn(kBad),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace komet
