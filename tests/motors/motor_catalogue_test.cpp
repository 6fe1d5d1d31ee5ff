// SPDX-License-Identifier: GPL-3.0-or-later
// The motor details block, exact re-selection of same-named motors, merging
// an import into a database, the bundled catalogue and its text form.
#include <gtest/gtest.h>

#include <fstream>
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

TEST(MotorMerge, TheSameNameReplacesInPlaceOthersAreAppended) {
  const std::vector<MotorRecord> db = {Motor("C6 [Estes]", 14), Motor("D12 [Estes]", 29)};
  const std::vector<MotorRecord> in = {Motor("c6 [ESTES]", 15), Motor("C6 [Klima]", 15),
                                       Motor("C6 [Klima]", 16)};
  const MergedDatabase merged = MergeMotors(db, in);
  ASSERT_EQ(merged.motors.size(), 3u);
  EXPECT_EQ(merged.motors[0].maxThrust, 15);  // record number 0 kept
  EXPECT_EQ(merged.motors[1].name.view(), "D12 [Estes]");
  EXPECT_EQ(merged.motors[2].maxThrust, 16);
  EXPECT_EQ(merged.added, 1u);
  EXPECT_EQ(merged.replaced, (std::vector<std::string>{"c6 [ESTES]", "C6 [Klima]"}));
  MotorImport import;
  import.refused = 2;
  EXPECT_EQ(ImportSummary(merged, import), "3 Motoren importiert (1 neu, 2 ersetzt), 2 abgelehnt");
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
  EXPECT_EQ(names,
            (std::vector<std::string>{"C6 [Estes]", "G40 [AeroTech]", "F32T [AeroTech]", "F32W [AeroTech]"}));
  EXPECT_EQ(merged.motors[0].propellantMass, 0.0108);  // the same motor, newer data, same place
  EXPECT_EQ(merged.motors[2].propellantMass, 0.03);    // the file whose masses pass
  EXPECT_EQ(merged.added, 2u);
  ASSERT_EQ(merged.twins.size(), 1u);
  EXPECT_NE(merged.twins[0].find("Daten fraglich"), std::string::npos) << merged.twins[0];
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

}  // namespace
}  // namespace komet
