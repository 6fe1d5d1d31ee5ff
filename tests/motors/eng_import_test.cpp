// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/eng_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/komet_error.h"
#include "common/win1252.h"
#include "motors/eng_curve.h"
#include "motors/motor_details.h"
#include "motors/rse_import.h"
#include "sim/simulation.h"
#include "support/flight_invariants.h"
#include "support/motor_import_text.h"

namespace komet {
namespace {

MotorImport Parse(std::string_view text) {
  return testing::ShapesOnly(ParseEng(text, "motors.eng"));
}

using testing::Curve;
using testing::Problems;

constexpr std::string_view kHeader = "T5 18 70 3-5 0.0108 0.0231 Acme\n";

// --- rejections: each rule names its line ---

struct Rejection {
  const char* rule;
  std::string text;
  int line;
  const char* message;
};

class EngRejection : public ::testing::TestWithParam<Rejection> {};

TEST_P(EngRejection, RejectsTheEntryAndNamesTheLine) {
  const Rejection& c = GetParam();
  const MotorImport result = Parse(c.text);
  EXPECT_TRUE(result.motors.empty());
  ASSERT_EQ(result.problems.size(), 1u) << Problems(result);
  const ImportDiagnostic& d = result.problems[0];
  EXPECT_FALSE(d.warning);
  EXPECT_EQ(d.line, c.line);
  EXPECT_EQ(d.text(), "motors.eng, Zeile " + std::to_string(c.line) + ": " + c.message);
}

const std::string H(kHeader);

INSTANTIATE_TEST_SUITE_P(
    Rules, EngRejection,
    ::testing::Values(
        Rejection{"header too short", "; x\nT5 18 70 3-5 0.01 0.02\n0.5 1\n", 2,
                  "Kopfzeile braucht mindestens 7 Felder (Name, Durchmesser, Länge, Verzögerungen, "
                  "Treibstoffmasse, Gesamtmasse, Hersteller)"},
        Rejection{"diameter not a number", "T5 18mm 70 3 0.01 0.02 Acme\n0.5 1\n", 1,
                  "Durchmesser \"18mm\" ist keine gültige Zahl"},
        Rejection{"length infinite", "T5 18 inf 3 0.01 0.02 Acme\n0.5 1\n", 1,
                  "Länge \"inf\" ist keine gültige Zahl"},
        Rejection{"propellant nan", "T5 18 70 3 nan 0.02 Acme\n0.5 1\n", 1,
                  "Treibstoffmasse \"nan\" ist keine gültige Zahl"},
        Rejection{"total overflows", "T5 18 70 3 0.01 1e999 Acme\n0.5 1\n", 1,
                  "Gesamtmasse \"1e999\" ist keine gültige Zahl"},
        Rejection{"negative propellant", "T5 18 70 3 -0.01 0.02 Acme\n0.5 1\n", 1, "Treibstoffmasse negativ"},
        Rejection{"negative total", "T5 18 70 3 0 -0.02 Acme\n0.5 1\n", 1, "Gesamtmasse negativ"},
        Rejection{"propellant above total", "T5 18 70 3 0.03 0.02 Acme\n0.5 1\n", 1,
                  "Treibstoffmasse größer als Gesamtmasse"},
        Rejection{"locale comma", H + "0.1 1\n0,5 2\n", 3, "Zeit \"0,5\" ist keine gültige Zahl"},
        Rejection{"thrust not a number", H + "0.1 1\n0.5 x\n", 3, "Schub \"x\" ist keine gültige Zahl"},
        Rejection{"negative thrust", H + "0.1 1\n0.5 -2\n1 0\n", 3, "Schub negativ"},
        Rejection{"three numbers", H + "0.1 1\n0.5 2 3\n1 0\n", 3,
                  "Datenzeile braucht genau zwei Zahlen (Zeit und Schub)"},
        Rejection{"one number", H + "0.1 1\n0.5\n1 0\n", 3,
                  "Datenzeile braucht genau zwei Zahlen (Zeit und Schub)"},
        Rejection{"no data before comment", "; a\n" + H + ";\n; b\n", 2, "Eintrag ohne Datenpunkte"},
        Rejection{"no data at end", "\n\n" + H, 3, "Eintrag ohne Datenpunkte"},
        Rejection{"only the origin", H + "0 0\n0.0 0.0\n", 1, "Eintrag ohne Datenpunkte"},
        Rejection{"data without header", "; nothing\n0.1 1\n0.2 2\n", 2, "Datenzeile ohne Kopfzeile"}),
    testing::RuleName<Rejection>);

TEST(MotorImport, ABadEntryDoesNotStopTheOthersAndEveryProblemIsReported) {
  const MotorImport result = Parse(
      "; drei Motoren\n"
      "A1 18 70 3 0.001 0.01 Acme\n"  // 2
      "0.1 1\n"
      "0.2 0\n"
      ";\n"
      "B2 18 70 3 0.002 0.001 Acme\n"  // 6: propellant above total
      "0.1 1\n"
      "0.05 2\n"  // 8: falls
      "0.3 0\n"
      "C3 24 70 5 0.003 0.02 Acme\n"  // 10: follows without a ";" line
      "0.1 3\n"
      "0.4 0\n");
  ASSERT_EQ(result.motors.size(), 2u);
  EXPECT_EQ(result.motors[0].name.view(), "A1 [Acme]");
  EXPECT_EQ(result.motors[1].name.view(), "C3 [Acme]");
  EXPECT_EQ(result.motors[1].burnTime, 0.4);
  ASSERT_EQ(result.problems.size(), 2u) << Problems(result);
  EXPECT_EQ(result.problems[0].line, 6);
  EXPECT_EQ(result.problems[1].line, 8);
  EXPECT_TRUE(result.hasErrors());
}

// One slipped line costs its point, not the motor; where the curve then
// gives less than the file's header says, the motor is marked.
TEST(MotorImport, APointGoingBackIsLeftOutAndTheMotorKept) {
  const struct {
    const char* what;
    MotorImport result;
    const char* warning;
    std::vector<CurvePoint> curve;
    bool marked;
  } cases[] = {
      {"eng",
       ParseEng("T5 18 70 3 0.005 0.02 Acme\n0.1 10\n0.5 10\n0.4 30\n1.0 10\n1.1 0\n", "t5.eng"),
       "t5.eng, Zeile 4: Warnung: Zeit nicht aufsteigend, Punkt übergangen",
       {{0, 0}, {0.1, 10}, {0.5, 10}, {1.0, 10}, {1.1, 0}},
       false},
      {"rse, header impulse 10 % above the rest",
       ParseRse("<engine-database><engine-list>\n<engine code=\"T6\" mfg=\"Acme\" dia=\"18\" len=\"70\" "
                "propWt=\"5\" initWt=\"20\" "
                "Itot=\"11.5\"><data>\n<eng-data t=\"0.1\" f=\"10\"/>\n<eng-data t=\"1.0\" f=\"10\"/>\n"
                "<eng-data t=\"0.9\" f=\"30\"/>\n<eng-data t=\"1.1\" f=\"0\"/>\n</data></engine>\n"
                "</engine-list></engine-database>\n",
                "t6.rse"),
       "t6.rse, Zeile 5: Warnung: Zeit nicht aufsteigend, Punkt übergangen",
       {{0, 0}, {0.1, 10}, {1.0, 10}, {1.1, 0}},
       true},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(c.result.motors.size(), 1u) << c.what << "\n" << Problems(c.result);
    EXPECT_EQ(c.result.refused, 0u) << c.what;
    EXPECT_EQ(c.result.problems.front().text(), c.warning) << c.what;
    EXPECT_EQ(Curve(c.result.motors[0]), c.curve) << c.what;
    // 0.5 + 9 + 0.5 = 10 N·s from 5 g is 204 s: the masses fit; 11.5 N·s does not.
    EXPECT_EQ(ReadMotorDetails(c.result.motors[0])->dataCheck.empty(), !c.marked) << c.what;
  }
}

TEST(MotorImport, AnEmptyFileSaysSoOnItsWhole) {
  const MotorImport result = Parse("; nur Kommentar\n\n");
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].text(), "motors.eng: keine Motordaten gefunden");
}

// --- tolerance: every variant gives the same record as the plain file ---

const std::string kPlain =
    "; Testmotor\n"
    "T5 18 70 3-5 0.0108 0.0231 Acme Motor Works\n"
    "0.1 5.0\n"
    "0.5 10.0\n"
    "1.0 0.0\n";

struct Variant {
  const char* kind;
  std::string text;
};

class EngTolerance : public ::testing::TestWithParam<Variant> {};

TEST_P(EngTolerance, ReadsLikeThePlainFile) {
  const MotorImport plain = Parse(kPlain);
  const MotorImport variant = Parse(GetParam().text);
  ASSERT_EQ(plain.motors.size(), 1u);
  EXPECT_TRUE(variant.problems.empty()) << Problems(variant);
  ASSERT_EQ(variant.motors.size(), 1u);
  EXPECT_EQ(variant.motors[0], plain.motors[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, EngTolerance,
    ::testing::Values(
        Variant{"crlf",
                "; Testmotor\r\nT5 18 70 3-5 0.0108 0.0231 Acme Motor Works\r\n0.1 5.0\r\n0.5 10.0\r\n"
                "1.0 0.0\r\n"},
        Variant{"lone_cr",
                "; Testmotor\rT5 18 70 3-5 0.0108 0.0231 Acme Motor Works\r0.1 5.0\r0.5 10.0\r1.0 0.0"},
        Variant{"no_final_newline", kPlain.substr(0, kPlain.size() - 1)},
        Variant{"blanks_and_tabs",
                "  ; Testmotor  \n\t T5\t18  70 3-5 0.0108\t0.0231 Acme  Motor\tWorks \t\n"
                "   0.1   5.0  \n\t0.5\t10.0\t\n 1.0 0.0 \n"},
        Variant{"blank_lines_inside",
                "; Testmotor\n\nT5 18 70 3-5 0.0108 0.0231 Acme\n\n0.1 5.0\n  \n0.5 10.0\n1 0\n"},
        Variant{"number_spellings", "T5 18. 7.0E1 3-5 .0108 2.31e-2 Acme\n+0.1 5\n5.0E-1 1e1\n1 0.\n"},
        Variant{"first_point_zero", "T5 18 70 3-5 0.0108 0.0231 Acme\n0 0\n0.1 5.0\n0.5 10.0\n1.0 0.0\n"},
        Variant{"duplicate_points",
                "T5 18 70 3-5 0.0108 0.0231 Acme\n0.1 5.0\n0.1 5.0\n0.5 10.0\n0.5 10.0\n1 0\n"},
        Variant{"utf8_bom", "\xEF\xBB\xBFT5 18 70 3-5 0.0108 0.0231 Acme\n0.1 5.0\n0.5 10.0\n1.0 0.0\n"},
        Variant{"delays_spelt_otherwise", "T5 18 70 5,3,-,3 0.0108 0.0231 Acme\n0.1 5\n0.5 10\n1 0\n"},
        Variant{"commented_header_before",
                ";T5 18 70 3-5 1 2 Old\n;\nT5 18 70 3-5 0.0108 0.0231 Acme\n0.1 5\n0.5 10\n1 0"}),
    [](const ::testing::TestParamInfo<Variant>& info) { return std::string(info.param.kind); });

TEST(MotorImport, LongDecimalsKeepTheirExactValue) {
  const MotorImport r = Parse("T5 18 70 3 0.012480000000000002 0.0231 Acme\n0.1 5\n1 0\n");
  ASSERT_EQ(r.motors.size(), 1u);
  EXPECT_EQ(r.motors[0].propellantMass, 0.012480000000000002);
  EXPECT_NE(r.motors[0].propellantMass, 0.01248);
}

TEST(MotorImport, MinusZeroIsStoredAsZero) {
  // -0 equals 0 but has other bytes; the record file would show it.
  const MotorImport r = Parse("T5 18 70 3 -0 0.0231 Acme\n0.1 5\n1 -0.0\n");
  ASSERT_EQ(r.motors.size(), 1u) << Problems(r);
  EXPECT_FALSE(std::signbit(r.motors[0].propellantMass));
  EXPECT_FALSE(std::signbit(r.motors[0].curveThrust[2]));
  EXPECT_EQ(CurvePointCount(r.motors[0]), 3u);
}

TEST(MotorImport, AStartAboveZeroThrustIsKeptAndAnOpenEndIsClosed) {
  const MotorImport r = Parse(std::string(kHeader) + "0 2.5\n0.2 8\n0.6 3\n");
  ASSERT_EQ(r.motors.size(), 1u) << Problems(r);
  EXPECT_TRUE(r.problems.empty());
  const std::vector<CurvePoint> expected = {{0, 2.5}, {0.2, 8}, {0.6, 3}, {0.6 + 0.001, 0}};
  EXPECT_EQ(Curve(r.motors[0]), expected);
  EXPECT_EQ(r.motors[0].burnTime, 0.6 + 0.001);
}

// --- the record, field by field ---

TEST(MotorImport, FillsTheRecordAndLeavesEveryOtherByteZero) {
  const MotorImport r = Parse(
      "B6-0 18 70 0 0.0056 0.0156 E\n"
      "0.036 1.364\n0.181 12.149\n0.5 4.8\n0.857 0.0\n");
  ASSERT_EQ(r.motors.size(), 1u) << Problems(r);
  const MotorRecord& m = r.motors[0];
  EXPECT_EQ(m.name.view(), "B6 [Estes]");  // the name it is sold by, the maker as the catalogue spells it
  EXPECT_EQ(m.propellantMass, 0.0056);
  EXPECT_EQ(m.totalMass, 0.0156);
  EXPECT_EQ(m.delays, (std::array<std::int8_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(m.burnTime, 0.857);
  EXPECT_EQ(m.maxThrust, 12.149);
  const std::vector<CurvePoint> expected = {{0, 0}, {0.036, 1.364}, {0.181, 12.149}, {0.5, 4.8}, {0.857, 0}};
  EXPECT_EQ(Curve(m), expected);
  EXPECT_EQ(m.deletedMark, 0);

  std::vector<std::uint8_t> bytes(MotorRecord::kSize);
  EncodeMotorRecord(m, bytes);
  auto zeroFrom = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
      if (bytes[i] != 0) return false;
    return true;
  };
  EXPECT_EQ(bytes[51], 10);                   // name length
  EXPECT_TRUE(zeroFrom(51 + 1 + 10, 102));    // rest of the name
  EXPECT_TRUE(zeroFrom(416 + 5 * 8, 1224));   // unused curve times
  EXPECT_TRUE(zeroFrom(1224 + 5 * 8, 2036));  // unused thrusts, deleted mark, padding
}

TEST(MotorImport, NamesStayAsWrittenAndBecomeWindows1252) {
  const std::string longName(60, 'X');
  const MotorImport r = Parse(
      "1/2A6 13 50 2-4 0.0016 0.006 Estes\n0.1 2\n0.3 0\n"
      "C6-P 18 70 P 0.01 0.02 Estes\n0.1 2\n0.3 0\n"
      "Müller\xE2\x82\xAC 18 70 3 0.01 0.02 Ä\n0.1 2\n0.3 0\n" +
      longName + " 18 70 3 0.01 0.02 X\n0.1 2\n0.3 0\n");
  ASSERT_EQ(r.motors.size(), 4u) << Problems(r);
  EXPECT_EQ(r.motors[0].name.view(), "1/2A6 [Estes]");
  EXPECT_EQ(r.motors[1].name.view(), "C6 [Estes]");
  EXPECT_EQ(r.motors[2].name.view(), "M\xFCller\x80 [\xC4]");
  EXPECT_EQ(r.motors[3].name.view(), std::string(46, 'X') + " [X]");
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_TRUE(r.problems[0].warning);
  EXPECT_EQ(r.problems[0].line, 10);
  EXPECT_EQ(r.problems[0].text(),
            "motors.eng, Zeile 10: Warnung: Name länger als 50 Zeichen, gekürzt auf \"" +
                std::string(46, 'X') + " [X]\"");
  // The whole header name stays in the details.
  EXPECT_EQ(ReadMotorDetails(r.motors[3])->designation, longName.substr(0, 40));
}

TEST(MotorImport, TextThatIsNotUtf8IsTakenAsWindows1252) {
  const MotorImport r = Parse(
      "M\xFCller 18 70 3 0.01 0.02 Gr\xF6\xDF"
      "e\n0.1 x\xB5\n");
  ASSERT_EQ(r.problems.size(), 1u);
  // the message quotes the bad field in UTF-8
  EXPECT_EQ(r.problems[0].message, "Schub \"x\xC2\xB5\" ist keine gültige Zahl");
  const MotorImport ok = Parse("M\xFCller 18 70 3 0.01 0.02 X\n0.1 1\n0.2 0\n");
  ASSERT_EQ(ok.motors.size(), 1u);
  EXPECT_EQ(ok.motors[0].name.view(), "M\xFCller [X]");
}

TEST(MotorImport, UnknownDelayTokensWarnButKeepTheMotor) {
  const MotorImport r = Parse("T5 18 70 3-S-L 0.01 0.02 X\n0.1 1\n0.2 0\n");
  ASSERT_EQ(r.motors.size(), 1u);
  EXPECT_EQ(r.motors[0].delays, (std::array<std::int8_t, 4>{3, 0, 0, 0}));
  ASSERT_EQ(r.problems.size(), 2u);
  EXPECT_EQ(r.problems[0].text(), "motors.eng, Zeile 1: Warnung: Verzögerung \"S\" unbekannt, übergangen");
  EXPECT_FALSE(r.hasErrors());
}

// --- delays ---

TEST(EngDelays, ParsesTheSpellingsOfRealFiles) {
  using D = std::array<std::int8_t, 4>;
  const struct {
    const char* field;
    D delays;
    bool booster, plugged;
  } cases[] = {
      {"3-5", {3, 5, 0, 0}, false, false},
      {"0-3-5-7", {3, 5, 7, 0}, true, false},
      {"0-3-5-7-P", {3, 5, 7, 0}, true, true},
      {"4-7-10,", {4, 7, 10, 0}, false, false},
      {"1-3--4", {1, 3, 4, 0}, false, false},
      {"10-8-6-4-2", {2, 4, 6, 10}, false, false},
      {"5,3", {3, 5, 0, 0}, false, false},
      {"3-3", {3, 0, 0, 0}, false, false},
      {"P", {}, false, true},
      {"p", {}, false, true},
      {"Plugged", {}, false, true},
      {"NE", {}, false, true},
      {"0", {}, true, false},
      {"00", {}, true, false},
      {"100", {}, false, true},
      {"1000", {}, false, true},
      {"99", {}, false, true},
      {"98", {98, 0, 0, 0}, false, false},
      {"99999999999999999999", {}, false, true},
      {"-", {}, false, false},
      {"06", {6, 0, 0, 0}, false, false},
      {"2-100-4", {2, 4, 0, 0}, false, true},
  };
  for (const auto& c : cases) {
    const EngDelays d = ParseEngDelays(c.field);
    EXPECT_EQ(d.delays, c.delays) << c.field;
    EXPECT_EQ(d.booster, c.booster) << c.field;
    EXPECT_EQ(d.plugged, c.plugged) << c.field;
    EXPECT_TRUE(d.unknown.empty()) << c.field;
  }
  EXPECT_EQ(ParseEngDelays("3-M-2.5").unknown, (std::vector<std::string>{"M", "2.5"}));
}

TEST(EngDelays, MoreThanFourKeepTheLongestAndListAll) {
  const EngDelays d = ParseEngDelays("14-4-6-8-10-12-P");
  EXPECT_EQ(d.delays, (std::array<std::int8_t, 4>{4, 6, 8, 14}));
  EXPECT_EQ(d.all, (std::vector<int>{4, 6, 8, 10, 12, 14}));
  EXPECT_EQ(d.leftOut, (std::vector<int>{10, 12}));
  EXPECT_TRUE(d.plugged);
  EXPECT_EQ(LeftOutDelaysText(d),
            "mehr als vier Verzögerungen: 10, 12 s nur in den Motordetails, nicht in den vier Plätzen des "
            "Datensatzes");
  EXPECT_FALSE(ParseEngDelays("3-5-7-9").plugged);
  EXPECT_TRUE(ParseEngDelays("3-5-7-9").leftOut.empty());
}

// --- what real files do ---

TEST(MotorImport, RealFileQuirksAreTaken) {
  const struct {
    const char* quirk;
    std::string text;
    std::vector<CurvePoint> curve;
  } cases[] = {
      {"vertical step", H + "0.1 5\n0.1 9\n0.5 9\n0.5 0\n", {{0, 0}, {0.1, 5}, {0.1, 9}, {0.5, 9}, {0.5, 0}}},
      {"step at the start", H + "0 0\n0 4\n0.5 4\n0.6 0\n", {{0, 4}, {0.5, 4}, {0.6, 0}}},
      {"three at one time",
       H + "0.1 5\n0.1 9\n0.1 2\n0.5 0\n",
       {{0, 0}, {0.1, 5}, {0.1, 9}, {0.1, 2}, {0.5, 0}}},
  };
  for (const auto& c : cases) {
    const MotorImport r = Parse(c.text);
    ASSERT_EQ(r.motors.size(), 1u) << c.quirk << "\n" << Problems(r);
    EXPECT_TRUE(r.problems.empty()) << c.quirk << "\n" << Problems(r);
    EXPECT_EQ(Curve(r.motors[0]), c.curve) << c.quirk;
    EXPECT_EQ(r.motors[0].burnTime, c.curve.back().time) << c.quirk;
  }
}

TEST(MotorImport, DetailsKeepWhatTheHeaderSays) {
  const MotorImport r = Parse("G64W 29 124 4-6-8-10-12-14-P 0.0625 0.1168 AeroTech\n0.1 80\n1.0 60\n1.5 0\n");
  ASSERT_EQ(r.motors.size(), 1u) << Problems(r);
  const MotorRecord& m = r.motors[0];
  EXPECT_EQ(m.name.view(), "G64 [AeroTech]");
  EXPECT_EQ(m.delays, (std::array<std::int8_t, 4>{4, 6, 8, 14}));
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_TRUE(r.problems[0].warning);
  EXPECT_NE(r.problems[0].message.find("10, 12 s"), std::string::npos);
  const std::optional<MotorDetails> d = ReadMotorDetails(m);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->maker, "AeroTech");
  EXPECT_EQ(d->designation, "G64W");
  EXPECT_EQ(d->diameterMm, 29);
  EXPECT_EQ(d->lengthMm, 124);
  EXPECT_DOUBLE_EQ(d->totalImpulse, 0.5 * 0.1 * 80 + 0.5 * 0.9 * 140 + 0.5 * 0.5 * 60);
  EXPECT_TRUE(d->plugged);
  EXPECT_EQ(d->delays, (std::vector<int>{4, 6, 8, 10, 12, 14}));
  EXPECT_EQ(d->source, "motors.eng");
  EXPECT_EQ(PublishedDelays(m), d->delays);
}

// --- thinning ---

// A 250-point curve: a sharp rise to a 30 N peak, a falling plateau with
// ripple, a tail that ends in 0. Every point after (0, 0) is in the file.
std::vector<CurvePoint> LongCurve() {
  std::vector<CurvePoint> points{{0, 0}};
  for (int k = 1; k <= 250; ++k) {
    const double t = 0.008 * k;
    double f = t < 0.2 ? 150 * t : 8 + 22 * std::exp(-(t - 0.2) * 20) + 0.4 * std::sin(40 * t);
    if (k == 250) f = 0;
    if (k == 25) f = 30.0;  // the peak
    points.push_back({t, f});
  }
  return points;
}

TEST(MotorImport, ThinsALongCurveKeepingPeakEndAndImpulse) {
  const std::vector<CurvePoint> original = LongCurve();
  std::string text(kHeader);
  for (std::size_t k = 1; k < original.size(); ++k)
    text += std::to_string(original[k].time) + " " + std::to_string(original[k].thrust) + "\n";
  const MotorImport r = Parse(text);
  ASSERT_EQ(r.motors.size(), 1u) << Problems(r);
  const MotorRecord& m = r.motors[0];
  const std::vector<CurvePoint> thinned = Curve(m);
  EXPECT_EQ(thinned.size(), MotorRecord::kCurvePoints);
  EXPECT_EQ(m.maxThrust, 30.0);
  EXPECT_NE(std::find(thinned.begin(), thinned.end(), CurvePoint{0.2, 30.0}), thinned.end());
  EXPECT_DOUBLE_EQ(m.burnTime, 2.0);
  EXPECT_EQ(thinned.front(), (CurvePoint{0, 0}));
  EXPECT_NEAR(TotalImpulse(m), CurveImpulse(original), 0.01 * CurveImpulse(original));
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_TRUE(r.problems[0].warning);
  EXPECT_EQ(r.problems[0].line, 1);
}

TEST(ThinCurve, KeepsAPeakThatBarelyStandsOut) {
  // Once the flat points are gone, the peak spans the smallest triangle of
  // all; it stays all the same.
  std::vector<CurvePoint> points{{0, 0}};
  for (int k = 1; k < 200; ++k) points.push_back({0.01 * k, k == 150 ? 10.000001 : 10.0});
  points.push_back({2.0, 0});
  const std::vector<CurvePoint> thinned = ThinCurve(points, 5);
  EXPECT_EQ(thinned.size(), 5u);
  EXPECT_EQ(thinned.front(), points.front());
  EXPECT_EQ(thinned.back(), points.back());
  EXPECT_NE(std::find(thinned.begin(), thinned.end(), points[150]), thinned.end());
  EXPECT_NEAR(CurveImpulse(thinned), CurveImpulse(points), 1e-5);
}

TEST(ThinCurve, LeavesAShortCurveAlone) {
  const std::vector<CurvePoint> points = {{0, 0}, {0.1, 3}, {0.2, 0}};
  EXPECT_EQ(ThinCurve(points, 101), points);
}

TEST(MotorImport, CountsTheOpenEndPointIntoTheLimit) {
  // 100 points after (0, 0) fit; closing the open end makes 101 of them.
  std::string text(kHeader);
  for (int k = 1; k <= 100; ++k) text += std::to_string(0.01 * k) + " 5\n";
  const MotorImport r = Parse(text);
  ASSERT_EQ(r.motors.size(), 1u);
  EXPECT_EQ(CurvePointCount(r.motors[0]), MotorRecord::kCurvePoints);
  EXPECT_DOUBLE_EQ(r.motors[0].burnTime, 1.0 + 0.001);  // the closed end survives the thinning
  EXPECT_EQ(r.motors[0].curveThrust[100], 0.0);
}

// --- files ---

TEST(ImportEngFile, NamesTheFileInDiagnosticsAndErrors) {
  const std::filesystem::path dir = ::testing::TempDir();
  const std::filesystem::path file = dir / "eng_import_test.eng";
  std::ofstream(file, std::ios::binary) << kHeader << "0.1 1\n0.05 2\n";
  const MotorImport r = testing::ShapesOnly(ImportEngFile(file));
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].text(),
            "eng_import_test.eng, Zeile 3: Warnung: Zeit nicht aufsteigend, Punkt übergangen");
  std::filesystem::remove(file);
  try {
    ImportEngFile(dir / "fehlt.eng");
    FAIL() << "no error for a missing file";
  } catch (const KometError& e) {
    EXPECT_EQ(std::string(e.what()), "fehlt.eng: Datei nicht gefunden");
    EXPECT_EQ(e.kind(), KometError::Kind::Io);
  }
}

// Text no RASP file holds: each gives its motors or a message, never a
// crash, and never a record the simulation could not use.
TEST(EngFromElsewhereTest, TextThatIsNoMotorFile) {
  const std::string header = "T5 18 70 3 0.01 0.02 Acme\n";
  const struct {
    const char* what;
    std::string text;
    std::size_t motors;
  } cases[] = {
      {"binary", std::string("\x00\x01\x02\xFF\xFE\n\x7F", 7), 0},
      {"zero bytes in a line", header + std::string("0.5\0 1\n1 0\n", 11), 0},
      {"only line ends", std::string(10000, '\n'), 0},
      {"carriage returns only", "T5 18 70 3 0.01 0.02 Acme\r0.5 1\r1 0\r", 1},
      {"header only", header, 0},
      {"nan point", header + "nan 5\n", 0},
      {"infinite thrust", header + "0.5 inf\n", 0},
      {"huge time", header + "1e400 5\n", 0},
      {"four hundred digits", header + "0." + std::string(400, '1') + " 5\n", 1},
      {"a megabyte on one line", header + "0." + std::string(1 << 20, '7') + " 5\n", 1},
      {"delays beyond int8", "T5 18 70 127-128-255-1000-99999999999 0.01 0.02 Acme\n0.5 1\n", 1},
  };
  Simulation sim;
  for (const auto& c : cases) {
    const MotorImport in = ParseEng(c.text, "x.eng");
    EXPECT_EQ(in.motors.size(), c.motors) << c.what;
    EXPECT_TRUE(!in.motors.empty() || !in.problems.empty()) << c.what << ": nothing said";
    for (const ImportDiagnostic& d : in.problems) EXPECT_FALSE(d.text().empty()) << c.what;
    for (const MotorRecord& m : in.motors) {
      EXPECT_LE(CurvePointCount(m), MotorRecord::kCurvePoints) << c.what;
      for (std::int8_t d : m.delays) EXPECT_TRUE(d >= 0 && d <= 98) << c.what;
      RocketRecord rocket;
      InitRakete(rocket);
      rocket.stages[0].mass = 0.03;
      rocket.stages[0].motors[0] = m;
      rocket.stages[0].counts[0] = 1;
      sim.RunSimulation(rocket, FixedConstants{});
      EXPECT_EQ(testing::FlightFault(sim), "") << c.what;
    }
  }
}

TEST(EngFromElsewhereTest, TenThousandPointsAreThinnedToTheRecord) {
  std::string text = "L 29 124 0 0.06 0.12 T\n";
  for (int k = 1; k <= 10000; ++k) text += std::to_string(k * 1e-3) + " " + std::to_string(10 + k % 7) + "\n";
  const MotorImport in = ParseEng(text, "lang.eng");
  ASSERT_EQ(in.motors.size(), 1u);
  const MotorRecord& m = in.motors[0];
  ASSERT_EQ(CurvePointCount(m), MotorRecord::kCurvePoints);
  for (std::size_t k = 1; k < MotorRecord::kCurvePoints; ++k) ASSERT_GT(m.curveTime[k], m.curveTime[k - 1]);
  EXPECT_EQ(m.curveThrust[MotorRecord::kCurvePoints - 1], 0.0);
}

// Bytes that only look like UTF-8 (a surrogate, an overlong form, a code
// point above U+10FFFF) make the text Windows-1252: the names keep their
// bytes and the messages quote them as readable text. Such a text was taken
// as UTF-8, so the name became "?" and the message quoted the raw bytes.
TEST(EngFromElsewhereTest, NearlyUtf8IsWindows1252) {
  for (std::string name : {"\xED\xA0\x80", "\xE0\x80\xAF", "\xF4\x90\x80\x80", "\xF0\x80\x80\xAF"}) {
    const MotorImport ok = ParseEng(name + " 18 70 3 0.01 0.02 T\n0.5 1\n1 0\n", "x.eng");
    ASSERT_EQ(ok.motors.size(), 1u);
    EXPECT_EQ(ok.motors[0].name.view(), name + " [T]");
    const MotorImport bad = ParseEng("A8 18" + name + " 70 3 0.01 0.02 T\n0.5 1\n", "x.eng");
    ASSERT_FALSE(bad.problems.empty());
    const std::string message = bad.problems[0].text();
    EXPECT_EQ(message, Cp1252ToUtf8(Utf8ToCp1252(message))) << "not well-formed UTF-8";
    EXPECT_NE(message.find(Cp1252ToUtf8(name)), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace komet
