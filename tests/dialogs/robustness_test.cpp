// Options files and stage form transfers fed with what a damaged or hostile
// file can hold.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "dialogs/options_record.h"
#include "dialogs/stage_form.h"
#include "sim/simulation.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using testing::BoxMotor;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::filesystem::path& p, const std::vector<std::uint8_t>& b) {
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
}

std::vector<std::uint8_t> Encoded(const OptionsRecord& o) {
  std::vector<std::uint8_t> b(OptionsRecord::kSize);
  EncodeOptionsRecord(o, b);
  return b;
}

OptionsRecord Stored() {
  OptionsRecord o;
  InitOptions(o, "/home/komet");
  o.gravity = 1.62;  // the moon: tells a stored record from the defaults
  return o;
}

// Finite in every field up to the end marker, within the step bound.
void ExpectSaneFlight(const Simulation& sim, const std::string& what) {
  const std::size_t last = sim.lastSample();
  ASSERT_LE(last, static_cast<std::size_t>(kMaxSteps)) << what;
  EXPECT_EQ(sim.samples()[last + 1].time, kEndMarkerTime) << what;
  for (std::size_t n = 1; n <= last; ++n) {
    const FlightSample& s = sim.samples()[n];
    for (double x : {s.time, s.thrust, s.height, s.force, s.accel, s.velocity, s.propellantUsed})
      ASSERT_TRUE(std::isfinite(x)) << what << ", sample " << n;
  }
  const FlightResults& r = sim.results();
  for (double x : {r.maxHeight, r.maxVelocity, r.maxAccel, r.maxForce, r.peakThrust, r.burnoutTime})
    EXPECT_TRUE(std::isfinite(x)) << what;
}

TEST(OptionsRobustness, FileCutAtAnyFieldGivesTheDefaultsAndIsRewritten) {
  // Inside and after the magic, at each constant, in the path and its
  // padding, and one byte before the end.
  for (std::size_t cut : {1u, 16u, 17u, 24u, 32u, 40u, 48u, 56u, 57u, 306u, 307u, 308u, 315u}) {
    testing::TempDir dir;
    const auto file = dir.path() / "KOMET.OPT";
    std::vector<std::uint8_t> b = Encoded(Stored());
    b.resize(cut);
    WriteBytes(file, b);
    EXPECT_FALSE(ReadOptionsFile(file)) << cut;
    const OptionsLoad load = LoadOptions(file, "cwd");
    EXPECT_FALSE(load.fromFile) << cut;
    EXPECT_EQ(load.record.gravity, 9.81) << cut;
    EXPECT_EQ(ReadBytes(file).size(), OptionsRecord::kSize) << cut;
  }
}

TEST(OptionsRobustness, OversizedFileIsReadByItsFirstRecordAndLeftAlone) {
  testing::TempDir dir;
  const auto file = dir.path() / "KOMET.OPT";
  std::vector<std::uint8_t> b = Encoded(Stored());
  b.resize(5000, 0xEE);
  WriteBytes(file, b);
  const OptionsLoad load = LoadOptions(file, "cwd");
  EXPECT_TRUE(load.fromFile);
  EXPECT_EQ(load.record, Stored());
  EXPECT_EQ(ReadBytes(file).size(), 5000u);
}

TEST(OptionsRobustness, LengthBytesAboveCapacity) {
  const struct {
    const char* what;
    std::size_t at;
    bool taken;
  } cases[] = {
      {"magic length 255", options_layout::kMagic, false},
      {"magic length 17", options_layout::kMagic, false},
      {"path length 255", options_layout::kDbPath, true},
  };
  for (const auto& c : cases) {
    testing::TempDir dir;
    const auto file = dir.path() / "KOMET.OPT";
    std::vector<std::uint8_t> b = Encoded(Stored());
    b[c.at] = std::string_view(c.what).ends_with("17") ? 17 : 255;
    WriteBytes(file, b);
    const std::optional<OptionsRecord> read = ReadOptionsFile(file);
    ASSERT_EQ(read.has_value(), c.taken) << c.what;
    if (read) {
      EXPECT_EQ(read->dbPath.view().size(), 250u) << c.what;
    }
  }
}

// No constant is tested when it is loaded; whatever a file holds, the
// flight stays finite and within its bounds.
TEST(OptionsRobustness, HostileConstantsGiveASaneFlight) {
  const std::pair<const char*, std::function<void(OptionsRecord&)>> cases[] = {
      {"NaN gravity", [](OptionsRecord& o) { o.gravity = kNaN; }},
      {"negative gravity", [](OptionsRecord& o) { o.gravity = -9.81; }},
      {"infinite air", [](OptionsRecord& o) { o.airDensity = kInf; }},
      {"negative air", [](OptionsRecord& o) { o.airDensity = -1.17; }},
      {"NaN rail", [](OptionsRecord& o) { o.railLength = o.railFriction = kNaN; }},
      {"negative friction", [](OptionsRecord& o) { o.railFriction = -1e300; }},
      {"period 1e300", [](OptionsRecord& o) { o.calcPeriod = 1e300; }},
      {"period NaN", [](OptionsRecord& o) { o.calcPeriod = kNaN; }},
      {"period -inf", [](OptionsRecord& o) { o.calcPeriod = -kInf; }},
  };
  Simulation sim;
  for (const auto& [what, spoil] : cases) {
    testing::TempDir dir;
    const auto file = dir.path() / "KOMET.OPT";
    OptionsRecord o = Stored();
    spoil(o);
    WriteBytes(file, Encoded(o));
    const OptionsLoad load = LoadOptions(file, "cwd");
    ASSERT_TRUE(load.fromFile) << what;
    RocketRecord rocket;
    InitRakete(rocket);
    rocket.cw = 0.6;
    rocket.stages[0].mass = 0.03;
    rocket.stages[0].diameter = 0.025;
    rocket.stages[0].motors[0] = BoxMotor("C6", 6, 1.8);
    rocket.stages[0].counts[0] = 1;
    sim.RunSimulation(rocket, FixedConstants(ConstantsFrom(load.record)));
    ExpectSaneFlight(sim, what);
  }
}

class StageFormRobustness : public ::testing::Test {
 protected:
  void SetUp() override {
    db = testing::WriteDatabase(dir.path(), {BoxMotor("C6", 6, 1.8), BoxMotor("D12", 12, 1.6)});
    InitRakete(rocket);
    rocket.stages[0].mass = 0.03;
    rocket.stages[0].diameter = 0.025;
    for (std::size_t j = 0; j < kSlotCount; ++j) rocket.stages[0].motors[j] = BoxMotor("C6", 6, 1.8);
  }
  // The record through the stage form and back, as loading a file does.
  RocketRecord RoundTrip() {
    GetNames(form, db, rocket);
    SetForm(form, rocket, ',');
    return HoleDaten(form, rocket, db);
  }

  testing::TempDir dir;
  std::filesystem::path db;
  RocketRecord rocket;
  StageForm form;
};

TEST_F(StageFormRobustness, MergingHugeCountsOfOneMotorSaturates) {
  // Two slots of the same database motor are merged by adding their counts;
  // INT_MAX + INT_MAX overflowed.
  rocket.stages[0].counts = {INT_MAX, INT_MAX, INT_MAX};
  const RocketRecord r = RoundTrip();
  EXPECT_EQ(r.stages[0].counts, (std::array<std::int32_t, 3>{INT_MAX, 0, 0}));
  Simulation sim;
  RocketRecord flown = r;
  sim.RunSimulation(flown, FixedConstants{});
  ExpectSaneFlight(sim, "INT_MAX motors");
}

TEST_F(StageFormRobustness, CountsOutsideTheSpinRangeSurviveTheTexts) {
  const struct {
    std::array<std::int32_t, 3> stored, transferred;
  } cases[] = {
      {{21, 0, 0}, {21, 0, 0}},
      {{-1, 5, 0}, {-1, 5, 0}},  // a negative count is not merged into
      {{INT_MIN, INT_MAX, 0}, {INT_MIN, INT_MAX, 0}},
      {{0, INT_MAX, INT_MIN}, {0, 0, 0}},  // no first motor: the stage is absent
  };
  for (const auto& c : cases) {
    rocket.stages[0].counts = c.stored;
    const RocketRecord r = RoundTrip();
    EXPECT_EQ(r.stages[0].counts, c.transferred) << c.stored[0] << " " << c.stored[1];
    Simulation sim;
    RocketRecord flown = r;
    sim.RunSimulation(flown, FixedConstants{});
    ExpectSaneFlight(sim, std::to_string(c.stored[0]));
  }
}

TEST_F(StageFormRobustness, NonFiniteValuesBecomeZeroThroughTheTexts) {
  using Field = double& (*)(RocketRecord&);
  const struct {
    const char* what;
    Field field;
    double value;
  } cases[] = {
      {"cw NaN", [](RocketRecord& r) -> double& { return r.cw; }, kNaN},
      {"mass inf", [](RocketRecord& r) -> double& { return r.stages[0].mass; }, kInf},
      {"diameter -inf", [](RocketRecord& r) -> double& { return r.stages[1].diameter; }, -kInf},
      {"other area NaN", [](RocketRecord& r) -> double& { return r.stages[0].otherArea; }, kNaN},
      {"delay NaN", [](RocketRecord& r) -> double& { return r.stages[1].ignitionDelay; }, kNaN},
  };
  rocket.stages[0].counts = {1, 0, 0};
  rocket.stages[1].counts = {1, 0, 0};
  rocket.stages[1].motors[0] = BoxMotor("D12", 12, 1.6);
  for (const auto& c : cases) {
    const RocketRecord saved = rocket;
    c.field(rocket) = c.value;
    RocketRecord r = RoundTrip();
    EXPECT_EQ(c.field(r), 0.0) << c.what;
    rocket = saved;
  }
}

}  // namespace
}  // namespace komet
