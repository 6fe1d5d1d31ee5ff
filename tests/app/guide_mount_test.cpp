// SPDX-License-Identifier: GPL-3.0-or-later
// The motor guide takes only motors that fit the main stage's mount, and
// a motor heavy enough to leave the rocket unstable is red.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/motor_guide.h"
#include "app/sim_cli.h"
#include "common/win1252.h"
#include "support/motor_fixtures.h"
#include "support/shape_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

const std::filesystem::path kSource = KOMET_SOURCE_DIR;

// The C6 example's shape has an 18 mm mount, 70 mm long with 5 mm overhang;
// without the shape file its C6 (18 x 70 mm) gives the mount.
TEST(GuideMount, TheC6ExampleFliesOnlyMotorsForItsEighteenMillimetreMount) {
  const std::filesystem::path db = kSource / "catalogue/motoren.kdb";
  testing::TempDir dir;
  std::filesystem::copy_file(kSource / "examples/rockets/einstufig_c6.kmw", dir.path() / "c6.kmw");
  for (const auto& [rocket, maxLength] : {std::pair{kSource / "examples/rockets/einstufig_c6.kmw", 75.0},
                                          std::pair{dir.path() / "c6.kmw", 70.0}}) {
    std::ostringstream out, err;
    ASSERT_EQ(RunKometSim({"guide", rocket.string(), "--db", db.string(), "--json", "-"}, {}, out, err), 0);
    int flown = 0, wide = 0;
    for (const MotorListEntry& e : ReadMotorList(db)) {
      if (!e.details || out.str().find("\"" + Cp1252ToUtf8(e.name) + "\"") == std::string::npos) {
        wide += e.details && e.details->diameterMm >= 24.0;  // the catalogue has them to leave out
        continue;
      }
      ++flown;
      EXPECT_LE(e.details->diameterMm, 18.5) << e.name;
      EXPECT_LE(e.details->lengthMm, maxLength) << e.name;
    }
    EXPECT_GT(flown, 10) << rocket;
    EXPECT_GT(wide, 10);
  }
}

// The 25 mm model of the stability tests (cone, 300 mm tube, three fins at
// the aft end): Barrowman puts its centre of pressure 0.316568 m behind the
// tip (worked by hand there). Empty, 40 g balancing at 0.20 m; a 70 mm motor
// standing out 5 mm has its middle at 0.375 + 0.005 - 0.035 = 0.345 m. With
// 24 g there the balance lies at (0.040 * 0.20 + 0.024 * 0.345) / 0.064 =
// 0.2544 m: 2.49 calibers; with 300 g at (0.008 + 0.1035) / 0.340 = 0.3279
// m, behind the centre of pressure: -0.455 calibers.
TEST(GuideMount, AMotorThatPullsTheMarginUnderOneCaliberIsRedForInstability) {
  StageShape s = testing::ClassicModelStage();
  s.emptyCg = 0.20;
  std::vector<MotorRecord> motors{testing::BoxMotor("Leicht", 12, 1.0, 0.012, 0.024),
                                  testing::BoxMotor("Schwer", 60, 0.8, 0.05, 0.300)};
  MotorDetails d;
  d.lengthMm = 70;
  for (MotorRecord& m : motors) WriteMotorDetails(d, m);
  MotorGuide guide(testing::SingleStageRocket("R", motors[0], 0.040), FixedConstants{}, motors, {0, 1}, '.',
                   {}, RocketShape{{s}});
  guide.Run(1, std::atomic<bool>{false});
  const std::vector<GuideRow> rows = guide.Rows();
  ASSERT_EQ(rows.size(), 2u);
  for (const GuideRow& r : rows) {
    const bool heavy = r.motor == "Schwer";
    ASSERT_TRUE(r.stability);
    EXPECT_NEAR(r.stability->margin, heavy ? -0.455 : 2.487, 0.005);
    EXPECT_EQ(std::any_of(r.findings.begin(), r.findings.end(),
                          [](const FlightWarning& w) { return w.kind == SafetyRuleId::Unstable; }),
              heavy);
    if (heavy) {
      EXPECT_EQ(r.mark, GuideRow::Mark::Red);
    }
  }
}

}  // namespace
}  // namespace komet
