// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/rse_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/komet_error.h"
#include "motors/eng_curve.h"
#include "motors/motor_details.h"
#include "support/motor_import_text.h"

namespace komet {
namespace {

MotorImport ParseShapes(std::string_view text, std::string_view name) {
  return testing::ShapesOnly(ParseRse(text, name));
}

using testing::Curve;
using testing::Problems;

// A file whose engines start on line 3.
std::string Rse(const std::string& engines) {
  return "<?xml version=\"1.0\"?><engine-database>\n<engine-list>\n" + engines +
         "</engine-list>\n</engine-database>\n";
}

// An engine on one line, <data> on the next, then one line per point.
std::string Engine(const std::string& attributes, const std::vector<std::string>& points) {
  std::string text = "<engine " + attributes + ">\n<data>\n";
  for (const std::string& p : points) text += "  <eng-data " + p + " m=\"1.\" cg=\"0.\"/>\n";
  return text + "</data></engine>\n";
}

const std::string kAttributes = "code=\"C6\" mfg=\"Acme\" dia=\"18\" len=\"70\" initWt=\"24\" propWt=\"12\"";
const std::vector<std::string> kPoints = {"t=\"0.1\" f=\"5\"", "t=\"0.5\" f=\"0\""};

TEST(RseImport, ReadsEveryEngineFieldByField) {
  const MotorImport r = ParseShapes(
      Rse(Engine(
              "code=\"H130W\" mfg=\"AeroTech\" Type=\"reloadable\" dia=\"29.\" len=\"124.\" initWt=\"150.5\" "
              "propWt=\"60.\" delays=\"14,6,10\" Itot=\"100.5\" burn-time=\"0.9\"",
              {"t=\"0.\" f=\"0.\"", "t=\"0.1\" f=\"200\"", "t=\"0.1\" f=\"200\"", "t=\"0.5\" f=\"150\"",
               "t=\"0.5\" f=\"100\"", "t=\"0.9\" f=\"0.\""}) +
          Engine("code=\"C6\" mfg=\"Estes\" Type=\"single-use\" dia=\"18\" len=\"70\" initWt=\"24\" "
                 "propWt=\"12.3\" "
                 "delays=\"0\"",
                 {"t=\"0.2\" f=\"10\"", "t=\"1\" f=\"5\""})),
      "mix.rse");
  ASSERT_EQ(r.motors.size(), 2u) << Problems(r);
  EXPECT_TRUE(r.problems.empty()) << Problems(r);

  const MotorRecord& h = r.motors[0];
  EXPECT_EQ(h.name.view(), "H130 [AeroTech]");
  EXPECT_DOUBLE_EQ(h.totalMass, 0.1505);  // grams in the file
  EXPECT_DOUBLE_EQ(h.propellantMass, 0.060);
  EXPECT_EQ(h.delays, (std::array<std::int8_t, 4>{6, 10, 14, 0}));
  EXPECT_EQ(std::pair(h.burnTime, h.maxThrust), std::pair(0.9, 200.0));  // burn time and peak
  // the repeated point goes, the two points at 0.5 s stay: a vertical step
  const std::vector<CurvePoint> curve = {{0, 0}, {0.1, 200}, {0.5, 150}, {0.5, 100}, {0.9, 0}};
  EXPECT_EQ(Curve(h), curve);
  MotorDetails expected;
  expected.maker = "AeroTech";
  expected.designation = "H130W";
  expected.commonName = "H130";
  expected.diameterMm = 29;
  expected.lengthMm = 124;
  expected.totalImpulse = 100.5;  // published, not the curve's
  expected.type = MotorDetails::Type::Reload;
  expected.delays = {6, 10, 14};
  expected.source = "mix.rse";
  EXPECT_EQ(ReadMotorDetails(h), expected);

  const MotorRecord& c = r.motors[1];
  EXPECT_EQ(c.name.view(), "C6 [Estes]");
  EXPECT_DOUBLE_EQ(c.propellantMass, 0.0123);
  EXPECT_EQ(c.delays, (std::array<std::int8_t, 4>{}));
  // the open end is closed 1 ms later
  EXPECT_EQ(Curve(c), (std::vector<CurvePoint>{{0, 0}, {0.2, 10}, {1, 5}, {1.001, 0}}));
  const std::optional<MotorDetails> d = ReadMotorDetails(c);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->type, MotorDetails::Type::SingleUse);
  EXPECT_DOUBLE_EQ(d->totalImpulse, CurveImpulse(Curve(c)));  // none published
}

// --- rejections: one message each, at the line of the element ---

struct Rejection {
  const char* rule;
  std::string text;
  int line;
  std::string message;
};

class RseRejection : public ::testing::TestWithParam<Rejection> {};

TEST_P(RseRejection, GivesOneErrorAtItsLine) {
  const Rejection& c = GetParam();
  const MotorImport r = ParseShapes(c.text, "m.rse");
  EXPECT_TRUE(r.motors.empty());
  EXPECT_EQ(r.refused, 1u);
  ASSERT_EQ(r.problems.size(), 1u) << Problems(r);
  EXPECT_FALSE(r.problems[0].warning);
  EXPECT_EQ(r.problems[0].line, c.line);
  EXPECT_EQ(r.problems[0].message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    RseRules, RseRejection,
    ::testing::Values(
        Rejection{"negative thrust", Rse(Engine(kAttributes, {"t=\"0.1\" f=\"-1\""})), 5, "Schub negativ"},
        Rejection{"time not a number", Rse(Engine(kAttributes, {"t=\"0,1\" f=\"1\""})), 5,
                  "Zeit \"0,1\" ist keine gültige Zahl"},
        Rejection{"thrust missing", Rse(Engine(kAttributes, {"t=\"0.1\""})), 5, "Schub fehlt (Attribut f)"},
        Rejection{"code missing",
                  Rse(Engine("mfg=\"A\" initWt=\"2\" propWt=\"1\" dia=\"1\" len=\"1\"", kPoints)), 3,
                  "Motorbezeichnung fehlt (Attribut code)"},
        Rejection{"mass missing",
                  Rse(Engine("code=\"C6\" mfg=\"A\" dia=\"1\" len=\"1\" initWt=\"2\"", kPoints)), 3,
                  "Treibstoffmasse fehlt (Attribut propWt)"},
        Rejection{
            "mass not a number",
            Rse(Engine("code=\"C6\" mfg=\"A\" dia=\"1\" len=\"1\" initWt=\"inf\" propWt=\"1\"", kPoints)), 3,
            "Gesamtmasse \"inf\" ist keine gültige Zahl"},
        Rejection{"propellant above total",
                  Rse(Engine("code=\"C6\" mfg=\"A\" dia=\"1\" len=\"1\" initWt=\"2\" propWt=\"3\"", kPoints)),
                  3, "Treibstoffmasse größer als Gesamtmasse"},
        Rejection{"no points", Rse(Engine(kAttributes, {})), 3, "Eintrag ohne Datenpunkte"},
        Rejection{"malformed", "<engine-database>\n<engine-list>\n<engine code=\"C6\">\n</motor>\n", 4,
                  "kein gültiges XML (Spalte 3: End-Tag passt nicht zum Start-Tag)"},
        Rejection{"not a motor file", "<?xml version=\"1.0\"?>\n<rocket><engine code=\"C6\"/></rocket>\n", 0,
                  "keine Motordaten gefunden"},
        Rejection{"empty", "", 1, "kein gültiges XML (Spalte 1: kein Wurzelelement)"}),
    testing::RuleName<Rejection>);

// --- what real files do ---

TEST(RseImport, KeepsTheLongestOfManyDelaysAndMarksPlugged) {
  const MotorImport r = ParseShapes(
      Rse(Engine(kAttributes + " delays=\"17,15,13,11,9,7\"", kPoints) +
          Engine("code=\"G40-P\" mfg=\"A\" dia=\"29\" initWt=\"2\" propWt=\"1\" delays=\"P\"", kPoints)),
      "m.rse");
  ASSERT_EQ(r.motors.size(), 2u) << Problems(r);
  EXPECT_EQ(r.motors[0].delays, (std::array<std::int8_t, 4>{7, 9, 11, 17}));
  EXPECT_EQ(ReadMotorDetails(r.motors[0])->delays, (std::vector<int>{7, 9, 11, 13, 15, 17}));
  EXPECT_EQ(ReadMotorDetails(r.motors[1])->plugged, true);
  EXPECT_EQ(r.motors[1].delays, (std::array<std::int8_t, 4>{}));
  EXPECT_EQ(
      Problems(r),
      "m.rse, Zeile 3: Warnung: mehr als vier Verzögerungen: 13, 15 s nur in den Motordetails, nicht in "
      "den vier Plätzen des Datensatzes\n"
      "m.rse, Zeile 8: Warnung: Länge fehlt (Attribut len), 0 angenommen\n");
}

TEST(RseImport, ReadsCrLfAndUtf8NamesIntoWindows1252) {
  std::string text = Rse(Engine("code=\"D9\" mfg=\"Müller\" dia=\"x\" initWt=\"2\" propWt=\"1\"", kPoints));
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
    text.replace(at, 1, "\r\n");
  const MotorImport bad = ParseShapes(text, "m.rse");
  EXPECT_EQ(Problems(bad),
            "m.rse, Zeile 3: Durchmesser \"x\" ist keine gültige Zahl\n"
            "m.rse, Zeile 3: Warnung: Länge fehlt (Attribut len), 0 angenommen\n");
  const MotorImport good = ParseShapes(text.replace(text.find("\"x\""), 3, "\"18\""), "Möhre.rse");
  ASSERT_EQ(good.motors.size(), 1u) << Problems(good);
  EXPECT_EQ(good.motors[0].name.view(), "D9 [M\xFCller]");
  EXPECT_EQ(ReadMotorDetails(good.motors[0])->source, "M\xF6hre.rse");

  std::string utf16 = "\xFF\xFE";  // the same file as UTF-16 (Latin-1 characters: one unit each)
  for (unsigned char ch : std::string("<engine-database><engine-list>") + Engine(kAttributes, kPoints) +
                              "</engine-list></engine-database>")
    utf16 += {static_cast<char>(ch), '\0'};
  EXPECT_EQ(ParseShapes(utf16, "m.rse").motors.size(), 1u);
}

TEST(RseImport, FileNamesTheFileInDiagnosticsAndErrors) {
  const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "rse_import_test.rse";
  std::ofstream(file, std::ios::binary) << "<engine-database>\n  <engine-list x=>";
  const MotorImport r = ImportRseFile(file);
  std::filesystem::remove(file);
  EXPECT_EQ(Problems(r),
            "rse_import_test.rse, Zeile 2: kein gültiges XML (Spalte 18: fehlerhaftes Attribut)\n");
  try {
    ImportRseFile(file);
    FAIL() << "no error for a missing file";
  } catch (const KometError& e) {
    EXPECT_EQ(std::string(e.what()), "rse_import_test.rse: Datei nicht gefunden");
  }
}

}  // namespace
}  // namespace komet
