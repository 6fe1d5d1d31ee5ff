// SPDX-License-Identifier: GPL-3.0-or-later
// The motor details block, exact re-selection of same-named motors, merging
// an import into a database, the bundled catalogue and its text form.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

#include "common/file_io.h"
#include "common/komet_error.h"
#include "dialogs/motor_match.h"
#include "motors/catalogue.h"
#include "motors/catalogue_source.h"
#include "motors/eng_import.h"
#include "motors/motor_database.h"
#include "motors/motor_details.h"
#include "motors/motor_import.h"
#include "motors/motor_makers.h"
#include "motors/motor_naming.h"
#include "motors/motor_search.h"
#include "support/motor_import_text.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

MotorDetails SomeDetails() {
  return {.maker = "Klima",
          .designation = "C6-3",
          .diameterMm = 18,
          .lengthMm = 70,
          .totalImpulse = 9.995,
          .type = MotorDetails::Type::SingleUse,
          .plugged = true,
          .booster = true,
          .delays = {3, 5, 7, 9, 11, 13},
          .source = "Klima_C6.eng",
          .alsoSoldAs = "C6X",
          .commonName = "C6",
          .dataCheck = "Treibsatz 10 % über der Angabe"};
}

MotorRecord Motor(std::string_view name, double peak, std::int8_t delay = 3) {
  MotorRecord m;
  m.name.assign(name);
  m.propellantMass = 0.01;
  m.totalMass = 0.02;
  m.delays = {delay, 0, 0, 0};
  m.burnTime = 1.5;
  m.maxThrust = peak;
  m.curveTime[1] = 0.2;
  m.curveThrust[1] = peak;
  m.curveTime[2] = 1.5;
  return m;
}

// --- the details block ---

TEST(MotorDetails, RoundTripsThroughTheRecordBytesAndLeavesTheFlightFields) {
  MotorRecord m = Motor("C6 [Klima]", 15);
  const MotorRecord before = m;
  WriteMotorDetails(SomeDetails(), m);
  std::vector<std::uint8_t> bytes(MotorRecord::kSize), plain(MotorRecord::kSize);
  EncodeMotorRecord(m, bytes);
  EncodeMotorRecord(before, plain);
  // Only the bytes the database format leaves to its writer change.
  for (std::size_t i = 0; i < MotorRecord::kSize; ++i) {
    if (i >= 380 || (i >= 51 && i < 102)) {
      ASSERT_EQ(bytes[i], plain[i]) << "offset " << i;
    }
  }
  EXPECT_EQ(ReadMotorDetails(DecodeMotorRecord(bytes)), SomeDetails());
  EXPECT_EQ(MotorFlightKey(m), MotorFlightKey(before));
}

TEST(MotorDetails, BytesOfAnotherWriterReadAsNone) {
  MotorRecord ours = Motor("C6", 15);
  WriteMotorDetails(SomeDetails(), ours);
  const struct {
    const char* what;
    std::size_t offset;  // a byte of the block to change
    bool inHead;
  } faults[] = {
      {"tag", 0, true},       {"version", 3, true},      {"check value", 5, true},
      {"maker", 10, true},    {"delay count", 41, true}, {"designation", 0, false},
      {"impulse", 57, false}, {"source", 100, false},    {"reserved", 250, false},
  };
  for (const auto& f : faults) {
    MotorRecord m = ours;
    (f.inHead ? m.head[f.offset] : m.middle[f.offset]) ^= 0x5A;
    EXPECT_FALSE(ReadMotorDetails(m)) << f.what;
  }
  EXPECT_FALSE(ReadMotorDetails(Motor("C6", 15)));  // zeros, as a test database holds
  MotorRecord noise = Motor("C6", 15);
  for (std::size_t i = 0; i < noise.head.size(); ++i) noise.head[i] = static_cast<std::uint8_t>(i * 37 + 1);
  EXPECT_FALSE(ReadMotorDetails(noise));
}

TEST(MotorDetails, PublishedDelaysPreferTheDetails) {
  MotorRecord m = Motor("C6", 15);
  m.delays = {7, 3, 0, -1};
  EXPECT_EQ(PublishedDelays(m), (std::vector<int>{3, 7}));
  WriteMotorDetails(SomeDetails(), m);
  EXPECT_EQ(PublishedDelays(m), (std::vector<int>{3, 5, 7, 9, 11, 13}));
}

TEST(MotorDetails, ImpulseClassesDoubleFromA) {
  const struct {
    double impulse;
    const char* cls;
  } cases[] = {{0, ""},     {0.3, "1/8A"}, {0.5, "1/4A"}, {1.25, "1/2A"}, {1.26, "A"},  {2.5, "A"},
               {8.82, "C"}, {10.01, "D"},  {40, "E"},     {80.1, "G"},    {20480, "N"}, {40960.5, "P"}};
  for (const auto& c : cases) EXPECT_EQ(ImpulseClass(c.impulse), c.cls) << c.impulse;
}

TEST(MotorDetails, CatalogueNamesKeepTheMakerWithinFiftyCharacters) {
  EXPECT_EQ(CatalogueName("C6", "Estes"), "C6 [Estes]");
  EXPECT_EQ(CatalogueName("C6", ""), "C6");
  const std::string name = CatalogueName(std::string(60, 'G'), "Cesaroni");
  EXPECT_EQ(name.size(), 50u);
  EXPECT_TRUE(name.ends_with("G [Cesaroni]"));
}

// --- loading selects the motor the rocket was built with ---

TEST(MotorMatching, SameNameSelectsTheEntryEqualToTheStoredCopy) {
  // Two makers' motors under one name, as a rocket saved before names
  // carried the maker holds them.
  const MotorRecord estes = Motor("C6", 14.09), klima = Motor("C6", 15.0), other = Motor("C6", 12);
  MotorList list = {{"C6", 0, -1, MotorFlightKey(estes)}, {"c6", 1, -1, MotorFlightKey(klima)}};
  SortMotorList(list);
  RocketRecord rocket;
  InitRakete(rocket);
  const struct {
    const MotorRecord* stored;
    int item;
  } cases[] = {{&estes, 0}, {&klima, 1}, {&other, 1}};  // no equal entry: the last match
  for (const auto& c : cases) {
    rocket.stages[1].motors[2] = *c.stored;
    rocket.stages[1].counts[2] = 1;
    EXPECT_EQ(MatchRocketMotors(list, rocket)[1 * kSlotCount + 2], c.item) << c.stored->maxThrust;
  }
}

TEST(MotorMatching, AnOldNameSelectsTheEqualCatalogueEntry) {
  const MotorRecord estes = Motor("C6 [Estes]", 14.09), klima = Motor("C6 [Klima]", 15.0);
  MotorList list = {{"C6 [Estes]", 0, -1, MotorFlightKey(estes)},
                    {"C6 [Klima]", 1, -1, MotorFlightKey(klima)}};
  SortMotorList(list);
  RocketRecord rocket;
  InitRakete(rocket);
  rocket.stages[0].counts[0] = 1;
  rocket.stages[0].motors[0] = Motor("C6", 15.0);  // saved as plain "C6", Klima's figures
  EXPECT_EQ(MatchRocketMotors(list, rocket)[0], 1);
  rocket.stages[0].motors[0] = Motor("C6", 13.0);  // figures of no entry
  EXPECT_EQ(MatchRocketMotors(list, rocket)[0], -1);
}

TEST(MotorMatching, ReadMotorListKeysEachRecord) {
  testing::TempDir dir;
  const std::vector<MotorRecord> motors = {Motor("C6", 14.09), Motor("C6", 15.0, 5)};
  WriteMotorDatabase(dir.path() / "m.kdb", motors);
  const MotorList list = ReadMotorList(dir.path() / "m.kdb");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].flightKey, MotorFlightKey(motors[0]));
  EXPECT_NE(list[0].flightKey, list[1].flightKey);
}

// --- merging an import ---

TEST(MotorMerge, TheDatabaseStaysAndEachMotorIsThereOnce) {
  const MotorImport catalogue = ParseEng(
      "C6 18 70 3-5 0.0108 0.0231 Estes\n0.2 14\n1.8 4\n1.9 0\n"
      "G80T 29 124 7 0.0625 0.125 AeroTech\n0.1 90\n1.5 80\n1.6 0\n",
      "katalog.eng");
  const std::vector<MotorRecord> database = MergeMotors({}, catalogue.motors).motors;
  const MotorImport in = ParseEng(
      "C6-5 18 70 5 0.0108 0.0231 Estes\n0.2 14\n1.8 4\n1.9 0\n"  // its delay in its name
      "C6-7 18 70 7 0.0125 0.0227 E\n0.2 12\n2.0 4\n2.1 0\n"      // other data
      "G80-7T 29 124 7 0.0625 0.125 AT\n0.1 90\n1.5 80\n1.6 0\n"  // printed another way
      "J300-LR 38 250 P 0.4 0.8 Loki\n0.1 300\n2.5 300\n2.6 0\n"
      "J300LR 38 250 P 0.4 0.8 Loki\n0.1 300\n2.5 300\n2.6 0\n",
      "eigene.eng");
  ASSERT_EQ(in.motors.size(), 5u) << testing::Problems(in);
  const MergedDatabase merged = MergeMotors(database, in.motors);
  ASSERT_EQ(merged.motors.size(), 4u);
  EXPECT_TRUE(std::equal(database.begin(), database.end(), merged.motors.begin()));  // byte for byte
  EXPECT_EQ(merged.motors[2].name.view(), "C6 [Estes] (eigene Datei)");
  EXPECT_EQ(merged.motors[2].propellantMass, 0.0125);
  EXPECT_EQ(merged.motors[3].name.view(), "J300 [Loki]");
  EXPECT_EQ(ImportSummary(merged, in),
            "5 Motoren gelesen: 1 neu, 3 schon vorhanden (gleiche Daten), 1 als eigene Fassung neben dem "
            "vorhandenen");
  // The same files again add nothing: the own version is a twin now.
  const MergedDatabase again = MergeMotors(merged.motors, in.motors);
  EXPECT_EQ(again.motors, merged.motors);
  EXPECT_EQ(again.twins.size(), 5u);
}

TEST(MotorMerge, OneImportKeepsEveryMotorOnceUnderNamesThatTellThemApart) {
  // Real files spell one maker several ways and sell several motors under one
  // common name; one motor may come in two files.
  const MotorImport in = ParseEng(
      "F32T 24 124 5-10 0.0300 0.0700 AT\n0.1 40\n1.6 40\n1.8 0\n"
      "F32W 24 124 5-10 0.0400 0.0800 Aerotech\n0.1 50\n1.5 50\n1.6 0\n"
      "F32T 24 124 5-10 0.0030 0.0700 AeroTech\n0.1 40\n1.6 40\n1.8 0\n"  // 9: propellant a tenth
      "C6-3 18 70 0-3 0.0108 0.0231 Estes\n0.1 10\n0.9 10\n1.0 0\n",
      "f32.eng");
  MotorDetails c6;
  c6.maker = "Estes";
  c6.designation = "C6-3";
  const std::vector<MotorRecord> database = {MakeMotorRecord("C6 [Estes]", 0.01, 0.02, {}, {}, c6),
                                             Motor("G40 [AeroTech]", 40)};
  const MergedDatabase merged = MergeMotors(database, in.motors);
  std::vector<std::string> names;
  for (const MotorRecord& m : merged.motors) names.push_back(m.name.str());
  EXPECT_EQ(names, (std::vector<std::string>{"C6 [Estes]", "G40 [AeroTech]", "F32T [AeroTech]",
                                             "F32W [AeroTech]", "C6 [Estes] (eigene Datei)"}));
  EXPECT_EQ(merged.motors[0], database[0]);          // the same motor, other data: beside it
  EXPECT_EQ(merged.motors[2].propellantMass, 0.03);  // the file whose masses pass
  EXPECT_EQ(merged.added, 3u);
  ASSERT_EQ(merged.passedOver.size(), 1u);
  EXPECT_NE(merged.passedOver[0].find("Daten fraglich"), std::string::npos) << merged.passedOver[0];
  // The rocketeer's own impossible file is named with its line.
  EXPECT_NE(testing::Problems(in).find("f32.eng, Zeile 9: Warnung: Daten fraglich: spezifischer Impuls"),
            std::string::npos)
      << testing::Problems(in);
}

// --- files and folders ---

TEST(MotorImportPaths, EachBadInputIsOneClearError) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.path() / "leer" / "unter");
  std::ofstream(dir.path() / "leer" / "liesmich.txt") << "kein Motor";
  WriteMotorDatabase(dir.path() / "motoren.kdb", std::vector{Motor("C6", 14)});
  std::ofstream(dir.path() / "bild.eng") << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  const struct {
    std::filesystem::path input;
    std::string message;
  } cases[] = {
      {dir.path() / "leer", "leer: keine Motordateien (.eng, .rse) in diesem Ordner"},
      {dir.path() / "fehlt.eng", "fehlt.eng: Datei nicht gefunden"},
      {dir.path() / "motoren.kdb",
       "motoren.kdb: ist eine Motordatenbank, keine Motordatei (.eng, .rse); eine "
       "Datenbank wählt man in den Einstellungen"},
      {dir.path() / "bild.eng", "bild.eng: keine Motordatei (enthält Binärdaten)"},
  };
  for (const auto& c : cases) {
    const std::vector<std::filesystem::path> inputs{c.input};
    const MotorImport r = ImportMotorPaths(inputs);
    EXPECT_TRUE(r.motors.empty()) << c.input;
    ASSERT_EQ(r.problems.size(), 1u) << c.input;
    EXPECT_EQ(r.problems[0].text(), c.message);
    EXPECT_EQ(r.refused, 1u) << c.input;
  }
}

TEST(MotorImportPaths, AFolderGivesEveryMotorFileBelowItInNameOrder) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.path() / "b" / "tief");
  std::ofstream(dir.path() / "b" / "tief" / "Z.ENG") << "Z1 18 70 3 0.01 0.02 Acme\n0.1 1\n0.2 0\n";
  std::ofstream(dir.path() / "a.eng") << "A1 18 70 3 0.01 0.02 Acme\n0.1 1\n0.2 0\n";
  std::ofstream(dir.path() / "b" / "notiz.txt") << "A2 18 70 3 0.01 0.02 Acme\n0.1 1\n0.2 0\n";
  const std::vector<std::filesystem::path> inputs{dir.path()};
  const MotorImport r = testing::ShapesOnly(ImportMotorPaths(inputs));
  ASSERT_EQ(r.motors.size(), 2u);
  EXPECT_EQ(r.motors[0].name.view(), "A1 [Acme]");
  EXPECT_EQ(r.motors[1].name.view(), "Z1 [Acme]");
  EXPECT_TRUE(r.problems.empty());
}

// --- the catalogue's text ---

TEST(CatalogueSource, WritesWhatReadsBackToTheSameRecords) {
  MotorRecord a = Motor("1/2A6 [Estes]", 0.1 + 0.2);  // a value with no short decimal form
  MotorDetails d = SomeDetails();
  d.maker = "M\xFCller";  // Windows-1252
  WriteMotorDetails(d, a);
  MotorRecord b = Motor("G64 [AeroTech]", 80);
  WriteMotorDetails(MotorDetails{}, b);
  const std::vector<MotorRecord> motors = ReadCatalogueSource(WriteCatalogueSource(std::vector{a, b}));
  ASSERT_EQ(motors.size(), 2u);
  // The four places follow the published list (the longest kept).
  a.delays = {3, 5, 7, 13};
  b.delays = {};
  EXPECT_EQ(motors[0], a);
  EXPECT_EQ(motors[1], b);
}

TEST(CatalogueSource, NamesTheLineItCannotUse) {
  const std::pair<const char*, const char*> cases[] = {
      {"maker = X\n", "Zeile 1: \"motor = NAME\" erwartet"},
      {"motor = A\nimpulse_ns = 1,5\n", "Zeile 2: \"1,5\" ist keine gültige Zahl"},
      {"motor = A\ncolour = rot\n", "Zeile 2: unbekannter Schlüssel \"colour\""},
      {"motor = A\ncurve = 0 0; 1\n", "Zeile 2: Kurvenpunkt \"1\" braucht Zeit und Schub"},
      {"motor = A\n\n", "Zeile 1: Motor ohne Schubkurve"},
      {"motor = A\nmotor = B\n", "Zeile 2: Leerzeile vor dem nächsten Motor fehlt"},
  };
  for (const auto& [text, message] : cases) {
    try {
      ReadCatalogueSource(text);
      ADD_FAILURE() << text;
    } catch (const KometError& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
  }
}

// --- the bundled catalogue ---

TEST(Catalogue, CommittedDatabaseIsWhatItsTextMakes) {
  const std::filesystem::path source = KOMET_SOURCE_DIR;
  const std::vector<MotorRecord> motors = BuildCatalogue(source);
  std::vector<std::uint8_t> expected(motors.size() * MotorRecord::kSize);
  for (std::size_t i = 0; i < motors.size(); ++i)
    EncodeMotorRecord(motors[i], std::span(expected).subspan(i * MotorRecord::kSize, MotorRecord::kSize));
  EXPECT_TRUE(ReadFilePrefix(source / kCatalogueDatabase, 64 << 20) == expected)
      << "catalogue/motoren.kdb is stale: run komet-make-catalogue --rebuild .";
}

TEST(Catalogue, EveryMotorIsUnmistakableAndCarriesItsDetails) {
  const std::vector<MotorRecord> motors = BuildCatalogue(KOMET_SOURCE_DIR);
  EXPECT_GT(motors.size(), 1000u);
  std::set<std::string> keys;
  for (const MotorRecord& m : motors) {
    std::string key = m.name.str();
    for (char& c : key)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    EXPECT_TRUE(keys.insert(key).second) << "twice: " << m.name.str();
    const std::optional<MotorDetails> d = ReadMotorDetails(m);
    ASSERT_TRUE(d) << m.name.str();
    EXPECT_TRUE(m.name.view().ends_with(" [" + d->maker + "]")) << m.name.str();
    EXPECT_GT(d->totalImpulse, 0) << m.name.str();
    EXPECT_GT(m.burnTime, 0) << m.name.str();
  }
}

// Names as makers print them find the catalogue's entries.
TEST(Catalogue, SearchFindsMotorsAsMakersPrintThem) {
  std::vector<MotorFacts> motors;
  for (const MotorRecord& m : BuildCatalogue(KOMET_SOURCE_DIR)) motors.push_back(MakeMotorFacts(m));
  auto found = [&](std::string_view text) {
    const MotorQuery query(text);
    std::vector<std::string> names;
    for (const MotorFacts& f : motors)
      if (query.Matches(MakeSearchKey(f))) names.push_back(f.name);
    return names;
  };
  // G80T [AeroTech] and [PML]; Cesaroni's and Roadrunner's G80 name no
  // propellant; Loki's G80-LW burns another.
  const std::vector<std::string> g80t = {"G80 [AeroTech]", "G80 [Cesaroni]", "G80 [PML]", "G80 [Roadrunner]"};
  const struct {
    const char* text;
    std::vector<std::string> names;
  } cases[] = {
      {"G80-7T", g80t},
      {"G80T-7A", g80t},
      {"g80t 4", {"G80 [PML]", "G80 [Roadrunner]"}},  // only these come with 4 s
      {"H128W-14A", {"H128 [AeroTech]"}},             // adjustable: cut to 4–10 s
      {"134G60-14A", {"G60 [Cesaroni]"}},
      {"G60", {"G60 [Cesaroni]"}},
      {"O2645BL", {"O2700 [Gorilla]"}},  // sold under both designations
      {"Gorilla O2645", {"O2700 [Gorilla]"}},
  };
  for (const auto& c : cases) EXPECT_EQ(found(c.text), c.names) << c.text;
  // A class among the words is the class, not a letter inside a name.
  const std::vector<std::string> aerotechH = found("aerotech h");
  EXPECT_EQ(aerotechH.size(), 36u);
  for (const MotorFacts& f : motors)
    if (std::find(aerotechH.begin(), aerotechH.end(), f.name) != aerotechH.end()) {
      EXPECT_TRUE(f.maker == "AeroTech" && f.impulseClass == "H") << f.name;
    }
}

// The published files imported onto the catalogue, as a rocketeer who
// downloads them does: the catalogue stays, every motor is there once.
TEST(Catalogue, ThePublishedFilesImportedOntoItLeaveItAsItIs) {
  const std::filesystem::path shared = std::filesystem::path(KOMET_SOURCE_DIR) / ".." / "shared" / "motors";
  if (!std::filesystem::is_directory(shared))
    GTEST_SKIP() << "../shared/motors fehlt: Import der veröffentlichten Motordateien nicht geprüft";
  const std::vector<MotorRecord> catalogue = BuildCatalogue(KOMET_SOURCE_DIR);
  const std::vector<std::filesystem::path> inputs{shared};
  const MotorImport in = ImportMotorPaths(inputs);
  ASSERT_GT(in.motors.size(), 1000u);
  const MergedDatabase merged = MergeMotors(catalogue, in.motors);
  ASSERT_GT(merged.motors.size(), catalogue.size());
  EXPECT_TRUE(std::equal(catalogue.begin(), catalogue.end(), merged.motors.begin()));  // data and marks

  std::map<std::string, std::vector<const MotorRecord*>> byKey;
  std::set<std::string> makersBefore, makersAfter;
  for (std::size_t i = 0; i < merged.motors.size(); ++i) {
    const MotorDetails d = ReadMotorDetails(merged.motors[i]).value();
    (i < catalogue.size() ? makersBefore : makersAfter).insert(d.maker);
    byKey[MotorNameKey(CanonicalMakerName(d.maker)) + ' ' + SplitDesignation(d.designation).key].push_back(
        &merged.motors[i]);
  }
  for (const auto& [key, ms] : byKey)
    for (std::size_t i = 0; i < ms.size(); ++i)
      for (std::size_t j = i + 1; j < ms.size(); ++j)
        EXPECT_FALSE(SameMotorData(*ms[i], *ms[j])) << ms[i]->name.str() << " = " << ms[j]->name.str();
  // One spelling per maker: what the files add is a maker the table does not
  // know, or a code of two makers that the file's motor did not resolve.
  for (const std::string& maker : makersAfter)
    if (makersBefore.count(maker) == 0) {
      EXPECT_EQ(FindMotorMaker(maker), nullptr) << maker;
    }
}

}  // namespace
}  // namespace komet
