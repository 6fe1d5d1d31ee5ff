// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/settings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/file_io.h"
#include "common/komet_error.h"
#include "motors/motor_database.h"
#include "motors/motor_record.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  std::filesystem::path OptionsPath() const { return dir_.path() / "KOMET.OPT"; }
  Settings Make(char separator = ',') { return Settings(OptionsPath(), "/home/flieger", store_, separator); }

  testing::TempDir dir_;
  MemoryDbNameStore store_;
};

TEST_F(SettingsTest, FirstStartWritesTheDefaultsAndShowsThemWithTheLocaleComma) {
  store_.value = "/data/motoren.kdb";
  Settings s = Make(',');
  s.FormCreate();

  ASSERT_EQ(std::filesystem::file_size(OptionsPath()), OptionsRecord::kSize);
  const auto onDisk = ReadOptionsFile(OptionsPath());
  ASSERT_TRUE(onDisk.has_value());
  EXPECT_EQ(onDisk->gravity, 9.81);
  EXPECT_EQ(onDisk->calcPeriod, 50.0);
  EXPECT_EQ(onDisk->dbPath.view(), "/home/flieger");

  EXPECT_EQ(s.form.Ldichte, "1,17");
  EXPECT_EQ(s.form.Lstart, "1,0");
  EXPECT_EQ(s.form.rstart, "3,0");
  EXPECT_EQ(s.form.lerd, "9,810");
  EXPECT_EQ(s.form.LBer, "50");
  EXPECT_EQ(s.form.MotorenPfad, "/data/motoren.kdb");
  EXPECT_EQ(s.GetDBName(), "/data/motoren.kdb");
}

// A run takes each constant from its own field of the record as the record
// stands at that moment: the dialog may have changed it since the last run.
TEST_F(SettingsTest, RunsReadEachConstantFromItsOwnFieldAfresh) {
  Settings s = Make();
  const SimConstants& constants = s;
  const struct {
    double OptionsRecord::*field;
    double (SimConstants::*getter)() const;
  } cases[] = {
      {&OptionsRecord::gravity, &SimConstants::GetGravity},
      {&OptionsRecord::airDensity, &SimConstants::GetAirDensity},
      {&OptionsRecord::railLength, &SimConstants::GetRailLength},
      {&OptionsRecord::railFriction, &SimConstants::GetRailFriction},
      {&OptionsRecord::calcPeriod, &SimConstants::GetCalcPeriod},
  };
  double value = 10.0;
  for (const auto& c : cases) {
    s.record.*c.field = ++value;
    EXPECT_EQ((constants.*c.getter)(), value);
  }
  for (const auto& c : cases) EXPECT_EQ((constants.*c.getter)(), s.record.*c.field) << "each its own";
}

TEST_F(SettingsTest, OkReadsCommaAndPointAndKeepsTheFieldsAsTyped) {
  Settings s = Make();
  s.FormCreate();
  s.form.Ldichte = "1,225";
  s.form.Lstart = "2,5";
  s.form.rstart = "0.5";
  s.form.lerd = "9.80665";
  s.BitBtn2Click();
  EXPECT_EQ(s.GetAirDensity(), 1.225);
  EXPECT_EQ(s.GetRailLength(), 2.5);
  EXPECT_EQ(s.GetRailFriction(), 0.5);
  EXPECT_EQ(s.GetGravity(), 9.80665);
  EXPECT_EQ(s.form.Lstart, "2,5");

  s.form.Lstart = "2.5";
  s.BitBtn2Click();
  EXPECT_EQ(s.GetRailLength(), 2.5);
}

TEST_F(SettingsTest, CalculationPeriodOutsideThreeToFiftyBecomesFifty) {
  struct Case {
    const char* typed;
    double stored;
  };
  const Case cases[] = {{"2", 50.0}, {"51", 50.0}, {"", 50.0},    {"-10", 50.0},
                        {"3", 3.0},  {"50", 50.0}, {"12,5", 12.5}};
  Settings s = Make();
  s.FormCreate();
  for (const Case& c : cases) {
    s.form.LBer = c.typed;
    s.BitBtn2Click();
    EXPECT_EQ(s.GetCalcPeriod(), c.stored) << "typed '" << c.typed << "'";
    EXPECT_EQ(s.form.LBer, c.typed);
  }
}

TEST_F(SettingsTest, AbbruchRestoresTheFieldsAndLeavesTheRecord) {
  Settings s = Make();
  s.FormCreate();
  s.form.LBer = "20";
  s.BitBtn2Click();
  const OptionsRecord taken = s.record;
  s.form.LBer = "7";
  s.form.Ldichte = "0";
  s.BitBtn1Click();
  EXPECT_EQ(s.record, taken);
  EXPECT_EQ(s.form.LBer, "20");
  EXPECT_EQ(s.form.Ldichte, "1,17");
}

TEST_F(SettingsTest, SichernWritesFileAndStoreAndLadenReadsThemBack) {
  Settings s = Make();
  s.FormCreate();
  s.ChooseDatabase("/motoren/eigene.kdb");
  s.form.lerd = "9,5";
  s.SaveOptions();
  EXPECT_EQ(store_.value, "/motoren/eigene.kdb");
  EXPECT_EQ(ReadOptionsFile(OptionsPath())->gravity, 9.5);
  EXPECT_EQ(ReadOptionsFile(OptionsPath())->dbPath.view(), "/motoren/eigene.kdb");

  Settings again = Make();
  again.FormCreate();
  EXPECT_EQ(again.GetGravity(), 9.5);
  EXPECT_EQ(again.form.lerd, "9,500");
  EXPECT_EQ(again.GetDBName(), "/motoren/eigene.kdb");
}

TEST_F(SettingsTest, ChosenDatabaseIsNotStoredUntilSichern) {
  store_.value = "/alt.kdb";
  Settings s = Make();
  s.FormCreate();
  s.ChooseDatabase("/neu.kdb");
  s.BitBtn1Click();  // Abbruch
  EXPECT_EQ(s.GetDBName(), "/neu.kdb");
  EXPECT_EQ(store_.value, "/alt.kdb");
  s.LoadOptions();  // "Laden"
  EXPECT_EQ(s.GetDBName(), "/alt.kdb");
}

TEST_F(SettingsTest, SichernIntoAnUnwritablePlaceThrowsAndTheValuesStayInEffect) {
  // A regular file where a directory should be: unwritable even for root.
  const auto blocker = dir_.path() / "file";
  std::ofstream(blocker) << "x";
  Settings s(blocker / "KOMET.OPT", "/", store_, ',');
  s.FormCreate();
  EXPECT_EQ(s.GetCalcPeriod(), 50.0);
  s.form.LBer = "10";
  EXPECT_THROW(s.SaveOptions(), KometError);
  EXPECT_EQ(s.GetCalcPeriod(), 10.0);
}

TEST(ImportMotorDatabase, AddsToACopyOfTheDatabaseInUseAndReportsTheBadEntry) {
  testing::TempDir dir;
  const auto eng = dir.path() / "eigene.eng";
  std::ofstream(eng) << "; zwei Motoren, einer davon fehlerhaft\n"
                        "T5 18 70 3-5 0.003 0.016 Test\n"
                        "0.1 10\n0.5 4\n0.8 0\n"
                        "Kaputt 18 70 3 0.006 0.016 Test\n"
                        "0.2 5\n0.1 -3\n";
  const auto catalogue = dir.path() / "katalog.kdb";
  WriteMotorDatabase(catalogue, std::vector<MotorRecord>{testing::BoxMotor("C6 [Estes]", 6, 1.5)});
  const auto before = ReadFilePrefix(catalogue, 1 << 20);
  const auto personal = dir.path() / "daten" / "Komet" / "meine_motoren.kdb";
  const std::vector<std::filesystem::path> inputs{eng};
  const MotorDatabaseImport result = ImportMotorDatabase(inputs, catalogue, personal);
  EXPECT_EQ(result.database, personal);
  EXPECT_EQ(result.summary,
            "1 Motor gelesen: 1 neu, 0 schon vorhanden (gleiche Daten), 0 als eigene Fassung neben dem "
            "vorhandenen, 1 abgelehnt");
  EXPECT_EQ(result.motorCount, 1u);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_NE(result.problems[0].find("eigene.eng, Zeile 8"), std::string::npos) << result.problems[0];
  EXPECT_EQ(ReadFilePrefix(catalogue, 1 << 20), before);  // the catalogue stays as it is

  // The motors listed before stay, so a rocket's slots find theirs again.
  auto names = [](const std::filesystem::path& db) {
    std::vector<std::string> out;
    for (const MotorListEntry& e : ReadMotorList(db)) out.push_back(e.name);
    return out;
  };
  EXPECT_EQ(names(personal), (std::vector<std::string>{"C6 [Estes]", "T5 [Test]"}));
  // A second import adds to the personal database in use.
  std::ofstream(dir.path() / "zwei.eng") << "D9 24 70 0-5 0.01 0.03 Klima\n0.1 10\n2.0 9\n2.1 0\n";
  const std::vector<std::filesystem::path> second{dir.path() / "zwei.eng"};
  EXPECT_FALSE(ImportMotorDatabase(second, personal, personal).database.empty());
  EXPECT_EQ(names(personal), (std::vector<std::string>{"C6 [Estes]", "T5 [Test]", "D9 [Klima]"}));
  // Back on the catalogue, a new import starts from it again; the older
  // personal database is kept beside.
  const MotorDatabaseImport third = ImportMotorDatabase(second, catalogue, personal);
  EXPECT_EQ(names(personal), (std::vector<std::string>{"C6 [Estes]", "D9 [Klima]"}));
  EXPECT_EQ(names(third.backup), (std::vector<std::string>{"C6 [Estes]", "T5 [Test]", "D9 [Klima]"}));
}

TEST(ImportMotorDatabase, NothingUsableWritesNoDatabase) {
  testing::TempDir dir;
  std::ofstream(dir.path() / "leer.eng") << "; nur ein Kommentar\n";
  for (const char* input : {"leer.eng", "fehlt.eng"}) {
    const std::vector<std::filesystem::path> inputs{dir.path() / input};
    const MotorDatabaseImport result =
        ImportMotorDatabase(inputs, dir.path() / "fehlt.kdb", dir.path() / "m.kdb");
    EXPECT_TRUE(result.database.empty()) << input;
    EXPECT_EQ(result.problems.size(), 1u) << input;
    EXPECT_EQ(result.summary,
              "0 Motoren gelesen: 0 neu, 0 schon vorhanden (gleiche Daten), 0 als eigene Fassung neben dem "
              "vorhandenen, 1 abgelehnt")
        << input;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // only leer.eng
}

}  // namespace
}  // namespace komet
