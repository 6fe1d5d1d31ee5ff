// SPDX-License-Identifier: GPL-3.0-or-later
#include "flightlog/flight_log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
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

// h = 10 t² from launch: over a window symmetric about a sample the
// least-squares slope of a parabola is exactly its derivative, 20 t.
TEST(FlightLog, VelocityIsLeastSquaresSlopeOverAQuarterSecond) {
  std::string text;
  for (int k = -20; k <= 60; ++k) {
    const double t = 0.05 * k;
    text += Format('.', "%.2f,%.4f\n", t, t < 0 ? 0.0 : 10.0 * t * t);
  }
  const FlightLog log = ParseFlightLog(text, "q.csv");
  const std::vector<double> v = MeasuredVelocity(log);
  for (std::size_t i = log.launchIndex + 4; i + 4 < log.size(); ++i)
    EXPECT_NEAR(v[i], 20.0 * (log.time[i] + log.launchTime), 1e-6) << "t=" << log.time[i];
  // A steady 50 m/s climb read with ±0.3 m of noise: the slope over five
  // samples scatters by σ/√Σ(t-t̄)² = 0.17/0.16 ≈ 1.1 m/s, a difference of
  // neighbours by 0.17·√2/0.1 ≈ 2.4 m/s.
  std::mt19937 random(5);
  std::uniform_real_distribution<double> noise(-0.3, 0.3);
  text.clear();
  for (int k = -20; k <= 200; ++k)
    text += Format('.', "%.2f,%.3f\n", 0.05 * k, 50.0 * std::max(0.05 * k, 0.0) + noise(random));
  const FlightLog line = ParseFlightLog(text, "l.csv");
  const std::vector<double> u = MeasuredVelocity(line);
  double sum = 0.0;
  std::size_t n = 0;
  for (std::size_t i = line.launchIndex + 5; i + 3 < line.size(); ++i, ++n)
    sum += (u[i] - 50.0) * (u[i] - 50.0);
  EXPECT_LT(std::sqrt(sum / static_cast<double>(n)), 1.5);
}

// A flight with a known apogee: 50 m/s² for 1.5 s, then coasting to
// 56.25 + 75²/(2 x 9.8) m at 9.15 s, down at 10 m/s and 3 s on the ground.
double MadeHeight(double t) {
  if (t <= 0.0) return 0.0;
  if (t <= 1.5) return 25.0 * t * t;
  const double coast = t - 1.5, top = 56.25 + 75.0 * 75.0 / 19.6;
  if (coast <= 75.0 / 9.8) return 56.25 + 75.0 * coast - 4.9 * coast * coast;
  return std::max(top - 10.0 * (coast - 75.0 / 9.8), 0.0);
}
constexpr double kMadeApogee = 56.25 + 75.0 * 75.0 / 19.6;

struct Phenomenon {
  const char* name;
  std::string header;
  double from, ground;    // s of the recording before ignition, m the altimeter reads on the pad
  double dipM;            // a pressure dip at ignition, m
  std::string rowFormat;  // time, height as the file writes it
  double perMetre;
  std::optional<HeightUnit> fileUnit, hint;
  HeightUnit unit;
  PadSource pad;
  std::optional<double> reportedM;
  std::size_t merged;
};

std::string MadeRecording(const Phenomenon& c) {
  std::string text = c.header;
  const int repeats = c.merged > 0 ? 2 : 1;
  for (int k = 0; 0.05 * k - c.from <= 50.0; ++k) {
    const double t = 0.05 * k - c.from;
    // The dip: down to dipM below the pad in 0.4 s, back by the end of the first second.
    const double dip = t < 0.4 ? c.dipM * t / 0.4 : std::max(c.dipM * (1.0 - t) / 0.6, 0.0);
    const double h = MadeHeight(t) - (t >= 0 ? dip : 0.0) + c.ground;
    for (int r = 0; r < repeats; ++r)
      text += Format('.', c.rowFormat, t, (h + (repeats == 1 ? 0.0 : r == 0 ? -0.2 : 0.2)) * c.perMetre);
  }
  return text;
}

constexpr double kFeetPerM = 1.0 / kMetresPerFoot;
const Phenomenon kPhenomena[] = {
    // Several packets per instant: one sample, their mean.
    {"repeated_times", "#version,serial,flight,time,height\n", 1.0, 0.0, 0.0, "6,1,2,%.2f,%.2f\n", 1.0,
     HeightUnit::Metre, std::nullopt, HeightUnit::Metre, PadSource::BeforeRise, std::nullopt, 1021},
    // Written from launch detection on: the dip is no pad, the zero is.
    {"starts_in_boost_with_dip", "Time\tAltitude\n", 0.0, 0.0, 60.0, "%.2f\t%.1f\n", 1.0, std::nullopt,
     std::nullopt, HeightUnit::Metre, PadSource::AltimeterZero, std::nullopt, 0},
    // Heights above sea level from launch detection on: the ground after landing is the pad.
    {"starts_in_boost_above_sea", "time,altitude\n", 0.0, 412.0, 0.0, "%.2f,%.1f\n", 1.0, std::nullopt,
     std::nullopt, HeightUnit::Metre, PadSource::AfterLanding, std::nullopt, 0},
    {"feet_only_in_header", "Apogee: 1,126' AGL\nDeploy: Drogue\nTime,Altitude,Temperature (F)\n", 1.0, 0.0,
     0.0, "%.2f,%.1f,61\n", kFeetPerM, HeightUnit::Foot, std::nullopt, HeightUnit::Foot,
     PadSource::BeforeRise, 1126 * kMetresPerFoot, 0},
    {"metres_in_header_beat_fahrenheit", "Max altitude: 343 m\nTime,Altitude,Temp (F)\n", 1.0, 0.0, 0.0,
     "%.2f,%.1f,61\n", 1.0, HeightUnit::Metre, std::nullopt, HeightUnit::Metre, PadSource::BeforeRise, 343.0,
     0},
    {"feet_by_altimeter_family", "# PerfectFlite Pnut flight 3\nTime Altitude\n", 1.0, 0.0, 0.0,
     "%.2f %.0f\n", kFeetPerM, HeightUnit::Foot, std::nullopt, HeightUnit::Foot, PadSource::BeforeRise,
     std::nullopt, 0},
    // Nothing but the temperatures: feet, short of proof.
    {"feet_by_fahrenheit_only", "Time\tAltitude\tTemp.\tVoltage\n", 1.0, 0.0, 0.0, "%.2f\t%.0f\t59.5F\t9.5\n",
     kFeetPerM, std::nullopt, HeightUnit::Foot, HeightUnit::Foot, PadSource::BeforeRise, std::nullopt, 0},
};

class Phenomena : public ::testing::TestWithParam<Phenomenon> {};

TEST_P(Phenomena, ReadAsTheAltimeterMeantIt) {
  const Phenomenon& c = GetParam();
  const FlightLog log = ParseFlightLog(MadeRecording(c), "flug.txt");
  EXPECT_EQ(log.fileUnit, c.fileUnit);
  EXPECT_EQ(log.unitHint, c.hint);
  EXPECT_EQ(log.unit, c.unit);
  EXPECT_EQ(log.padSource, c.pad);
  EXPECT_EQ(log.mergedRows, c.merged);
  EXPECT_NEAR(log.padHeight, c.ground, 0.05);
  EXPECT_NEAR(log.apogee, kMadeApogee, 0.01 * kMadeApogee);
  ASSERT_EQ(log.reportedApogee.has_value(), c.reportedM.has_value());
  if (c.reportedM) {
    EXPECT_NEAR(*log.reportedApogee, *c.reportedM, 1e-9);
  }
  // Launch at ignition (the rows' mean is the flight itself), or after a
  // dip where its recovery passes the pad.
  const double launch = log.launchTime;
  if (c.dipM > 0) {
    EXPECT_GT(launch, 0.4);
    EXPECT_LT(launch, 1.0);
  } else {
    EXPECT_NEAR(launch, 0.0, 0.1 + 1e-9);
  }
  // The user's answer counts only where the file does not say.
  const FlightLog answered = ParseFlightLog(MadeRecording(c), "flug.txt", HeightUnit::Metre);
  EXPECT_EQ(answered.unit, c.fileUnit.value_or(HeightUnit::Metre));
}

INSTANTIATE_TEST_SUITE_P(FlightLog, Phenomena, ::testing::ValuesIn(kPhenomena),
                         [](const auto& info) { return std::string(info.param.name); });

// Packet times that jitter back within one sampling interval are put in order.
TEST(FlightLog, TimesJitteringBackWithinOneIntervalAreOrdered) {
  std::string text;
  for (int k = 0; k <= 200; ++k) {
    const int at = k % 10 == 5 ? k + 1 : (k % 10 == 6 ? k - 1 : k);  // 0.25 and 0.30 swapped
    text += Format('.', "%.2f,%.3f\n", 0.05 * at - 1.0, MadeHeight(0.05 * at - 1.0));
  }
  const FlightLog log = ParseFlightLog(text, "j.csv");
  ASSERT_EQ(log.size(), 201u);
  for (std::size_t i = 1; i < log.size(); ++i) EXPECT_NEAR(log.time[i] - log.time[i - 1], 0.05, 1e-9);
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
    // Back by more than the sampling interval (0.1 s), once the repeated 0.2 is one sample.
    {"time_backwards", "0,0\n0.1,5\n0.2,8\n0.2,8\n0.05,10\n0.3,20\n", 5,
     "Zeit l\xC3\xA4uft nicht vorw\xC3\xA4rts"},
    {"huge_height", "0,0\n1,5\n2,1e30\n", 3, "keine m\xC3\xB6gliche Flugh\xC3\xB6he"},
    {"no_launch", "0,0\n1,1\n2,2.5\n3,1\n", 4, "kein Start"},
    // Only a file that ends inside its last row (a copy cut short) loses that row.
    {"truncated_line", "time,height,temp\n0,0,20\n1,5,20\n2,10\n3,1,20\n", 4, "unvollst\xC3\xA4ndige Zeile"},
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
