// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/motor_filter.h"

#include <gtest/gtest.h>

#include "support/chooser_motors.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

class MotorFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = testing::WriteDatabase(dir.path(), testing::ChooserMotors());
    list = ReadMotorList(db);
    SortMotorList(list);
    rows = ReadMotorRows(db, list);
  }
  // The names the filter lets through, in list order.
  std::vector<std::string> Passing(const MotorFilter& f) const {
    std::vector<std::string> names;
    for (const MotorRow& r : rows)
      if (MotorFilterAccepts(f, r)) names.push_back(r.facts.name);
    return names;
  }
  const MotorRow& Row(std::string_view name) const {
    for (const MotorRow& r : rows)
      if (r.facts.name == name) return r;
    throw std::runtime_error("no such row");
  }

  testing::TempDir dir;
  std::filesystem::path db;
  MotorList list;
  std::vector<MotorRow> rows;
};

using Names = std::vector<std::string>;

TEST_F(MotorFilterTest, RowsFollowTheListWithTheRecordsFigures) {
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0].facts.name, "A8 [Estes]");
  EXPECT_EQ(rows[6].facts.name, "Z0");
  const MotorFacts& d12 = Row("D12 [Estes]").facts;
  EXPECT_EQ(d12.maker, "Estes");
  EXPECT_EQ(d12.makerFull, "Estes Industries");
  EXPECT_EQ(d12.impulseClass, "D");
  EXPECT_EQ(d12.classRank, 6);
  EXPECT_EQ(d12.diameterMm, 24);
  EXPECT_EQ(d12.lengthMm, 96);
  EXPECT_NEAR(d12.totalImpulse, 19.2, 0.01);   // the curve's
  EXPECT_NEAR(d12.averageThrust, 12.0, 0.01);  // the curve's impulse over 1.6 s
  EXPECT_EQ(d12.peakThrust, 12);
  EXPECT_EQ(d12.burnTime, 1.6);
  EXPECT_DOUBLE_EQ(d12.totalMass, 0.025);
  EXPECT_EQ(d12.delays, (std::vector<int>{3, 5, 7}));
  EXPECT_TRUE(d12.booster);
  EXPECT_EQ(DelayCodes(d12), "0-3-5-7");
  EXPECT_EQ(Row("D12 [Estes]").record.name.view(), "D12 [Estes]");
}

TEST_F(MotorFilterTest, AnOldRecordTakesItsClassFromTheCurve) {
  const MotorFacts& old = Row("Alt F").facts;
  EXPECT_EQ(old.maker, "");
  EXPECT_EQ(old.impulseClass, "F");
  EXPECT_NEAR(old.totalImpulse, 60.0, 0.05);
  EXPECT_EQ(old.diameterMm, 0);
  EXPECT_EQ(old.delays, (std::vector<int>{3, 5}));
  EXPECT_EQ(Row("Z0").facts.classRank, -1);
}

TEST_F(MotorFilterTest, DefaultsLetEveryMotorThrough) {
  EXPECT_EQ(Passing({}).size(), 7u);
}

TEST_F(MotorFilterTest, TextIsFoundAnywhereInNameOrDesignationWhateverTheCase) {
  struct Case {
    const char* text;
    Names expected;
  };
  const Case cases[] = {
      {"g4", {"G40 [AeroTech]"}},    {"ESTES", {"A8 [Estes]", "C6 [Estes]", "D12 [Estes]"}},
      {"tech]", {"G40 [AeroTech]"}}, {"-5", {"C6 [Estes]", "D12 [Estes]"}},  // designations C6-5 and D12-5
      {"10w", {"G40 [AeroTech]"}},   {"x", {}},
  };
  for (const Case& c : cases) {
    MotorFilter f;
    f.SetText(c.text);
    EXPECT_EQ(Passing(f), c.expected) << c.text;
  }
}

TEST_F(MotorFilterTest, SearchTakesWhatRocketeersType) {
  const struct {
    const char* text;
    Names expected;
  } cases[] = {
      {"C6-5", {"C6 [Estes]"}},
      {"c6 5", {"C6 [Estes]"}},
      {"Estes C6-5", {"C6 [Estes]"}},
      {"C6-4", {}},
      {"D12-0", {"D12 [Estes]"}},  // the booster version
      {"C6-0", {}},
      {"E9-6", {"E9 [Klima]"}},
      {"Estes Industries D12", {"D12 [Estes]"}},
      {"AT G40", {"G40 [AeroTech]"}},  // another spelling of the maker
      {"aerotech", {"G40 [AeroTech]"}},
  };
  for (const auto& c : cases) {
    MotorFilter f;
    f.SetText(c.text);
    EXPECT_EQ(Passing(f), c.expected) << c.text;
  }
}

TEST_F(MotorFilterTest, ClassRangeIsInclusiveAndDropsMotorsWithoutClass) {
  MotorFilter f;
  f.classFrom = ImpulseClassRank("C");
  f.classTo = ImpulseClassRank("E");
  EXPECT_EQ(Passing(f), (Names{"C6 [Estes]", "D12 [Estes]", "E9 [Klima]"}));
  f.classFrom = 0;
  f.classTo = ImpulseClassRank("A");
  EXPECT_EQ(Passing(f), (Names{"A8 [Estes]"}));
  f.classFrom = ImpulseClassRank("F");
  f.classTo = MotorFilter::kAnyRank;
  EXPECT_EQ(Passing(f), (Names{"Alt F", "G40 [AeroTech]"}));
}

TEST_F(MotorFilterTest, MakerMatchesWholeIgnoringCase) {
  MotorFilter f;
  f.maker = "klima";
  EXPECT_EQ(Passing(f), (Names{"E9 [Klima]"}));
  f.maker = "Est";
  EXPECT_EQ(Passing(f), Names{});
}

TEST_F(MotorFilterTest, FitsTakesDiametersUpToTheStageAndUnknownOnes) {
  MotorFilter f;
  f.fits.diameterMm = 24;
  EXPECT_EQ(Passing(f), (Names{"A8 [Estes]", "Alt F", "C6 [Estes]", "D12 [Estes]", "E9 [Klima]", "Z0"}));
  f.fits.diameterMm = 23.4;  // more than half a millimetre too narrow for 24 mm
  EXPECT_EQ(Passing(f), (Names{"A8 [Estes]", "Alt F", "C6 [Estes]", "Z0"}));
}

TEST_F(MotorFilterTest, ExactDiameterTakesOnlyThatOne) {
  MotorFilter f;
  f.diameterMm = 24;
  EXPECT_EQ(Passing(f), (Names{"D12 [Estes]", "E9 [Klima]"}));
}

TEST_F(MotorFilterTest, FiltersCombine) {
  MotorFilter f;
  f.SetText("e");
  f.maker = "Estes";
  f.classFrom = ImpulseClassRank("B");
  f.fits.diameterMm = 18;
  EXPECT_EQ(Passing(f), (Names{"C6 [Estes]"}));
}

TEST(ImpulseClassRankTest, OrdersFractionsBeforeLetters) {
  EXPECT_EQ(ImpulseClassRank("1/8A"), 0);
  EXPECT_EQ(ImpulseClassRank("1/2A"), 2);
  EXPECT_EQ(ImpulseClassRank("A"), 3);
  EXPECT_EQ(ImpulseClassRank("O"), 17);
  EXPECT_EQ(ImpulseClassRank(""), -1);
  EXPECT_EQ(ImpulseClassRank("AB"), -1);
  EXPECT_EQ(ImpulseClassRank("a"), 3);  // typed on the command line
  EXPECT_EQ(ImpulseClassRank("1/2a"), 2);
}

TEST_F(MotorFilterTest, ChoicesOfTheFilters) {
  EXPECT_EQ(MotorMakers(rows), (Names{"AeroTech", "Estes", "Klima"}));
  EXPECT_EQ(MotorClasses(rows), (Names{"A", "C", "D", "E", "F", "G"}));
  EXPECT_EQ(MotorDiameters(rows), (std::vector<double>{18, 24, 29}));
  EXPECT_EQ(DelaysText({3, 5, 7}), "3, 5, 7");
}

TEST_F(MotorFilterTest, AChangedOrMissingDatabaseLeavesTheNamesAlone) {
  std::vector<MotorRecord> changed = testing::ChooserMotors();
  changed[0].name.assign("Fremd");
  WriteMotorDatabase(db, changed);
  const std::vector<MotorRow> after = ReadMotorRows(db, list);
  ASSERT_EQ(after.size(), 7u);
  EXPECT_EQ(after[3].facts.name, "D12 [Estes]");
  EXPECT_EQ(after[3].facts.maker, "");
  EXPECT_EQ(after[3].facts.peakThrust, 0);
  EXPECT_EQ(after[0].facts.maker, "Estes");

  const std::vector<MotorRow> none = ReadMotorRows(dir.path() / "fehlt.kdb", list);
  ASSERT_EQ(none.size(), 7u);
  EXPECT_EQ(none[5].facts.name, "G40 [AeroTech]");
  EXPECT_EQ(none[5].facts.classRank, -1);
}

}  // namespace
}  // namespace komet
