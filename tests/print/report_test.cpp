// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "plot/synthetic_flight.h"
#include "sim/simulation.h"
#include "support/recording_canvas.h"

namespace komet {
namespace {

using komet::testing::FakePrinterDevice;
using komet::testing::MakeSyntheticFlight;
using komet::testing::RecordingCanvas;
using komet::testing::SyntheticFlight;
using Call = RecordingCanvas::Call;

constexpr Color kTeal{0, 128, 128};
constexpr Color kMaroon{128, 0, 0};
constexpr Color kNavy{0, 0, 128};
constexpr char kDate[] = "09.12.2026 14:03:00";

RocketRecord SampleRocket() {
  RocketRecord r;
  InitRakete(r);
  r.name.assign("Orion");
  StageRecord& s = r.stages[0];
  s.mass = 0.0425, s.diameter = 0.024, s.otherArea = 0.00015, s.ignitionDelay = 0.5;
  s.counts = {3, 0, 5};
  s.motors[0].name.assign("C6-5");
  s.motors[2].name.assign("A8-3");
  r.stages[1].counts = {0, 2, 0};
  r.stages[2].counts = {0, 0, 0};
  return r;
}

class ReportTest : public ::testing::Test {
 protected:
  bool Print() {
    const ReportInputs in{flight.view(), rocket, switches, kDate, ','};
    return PrintFlightReport(printer, layout, in);
  }
  const RecordingCanvas& page() { return printer.recording(); }
  std::vector<Call> LinesOf(Color color) {
    std::vector<Call> out;
    for (const Call& l : page().Lines())
      if (l.pen.color == color) out.push_back(l);
    return out;
  }
  const Call& Text(std::string_view text) {
    const Call* c = page().FindText(text);
    if (c == nullptr) throw std::runtime_error("missing text: " + std::string(text));
    return *c;
  }

  SyntheticFlight flight = MakeSyntheticFlight({.period = 10.0});
  RocketRecord rocket = SampleRocket();
  PlotSwitches switches;
  FakePrinterDevice printer;  // 4800 x 6800 at 600 dpi
  ReportLayout layout;
};

TEST_F(ReportTest, LayoutOfTheExamplePage) {
  ASSERT_TRUE(Print());
  const ReportLayout& l = layout;
  EXPECT_EQ(std::tie(l.printLeft, l.printRight, l.printTop, l.printBottom),
            std::make_tuple(480, 4320, 680, 3400));
  EXPECT_EQ(std::tie(l.printStepX, l.printStepY), std::make_tuple(384, 272));
  EXPECT_EQ(std::tie(l.printOriginX, l.printOriginY), std::make_tuple(864, 2720));
  EXPECT_EQ(std::tie(l.printGridCountX, l.printGridCountY), std::make_tuple(8, 6));
  EXPECT_DOUBLE_EQ(flight.results.flightEndTime, 10.0);
  EXPECT_DOUBLE_EQ(l.printScaleX, 307.2);
  EXPECT_EQ(l.printTextStep, 56);  // back at 6 pt
  EXPECT_EQ(printer.jobsEnded, 1);

  const auto rects = page().Filter(RecordingCanvas::Op::Rect);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(std::tie(rects[0].x, rects[0].y, rects[0].x0, rects[0].y0),
            std::make_tuple(480, 3400, 4320, 680));
}

TEST(PrintTextStep, PointsPlusCharacterHeight) {
  EXPECT_EQ(PrintTextStep(6.0, 600), 56);
  EXPECT_EQ(PrintTextStep(8.0, 600), 75);
  EXPECT_EQ(PrintTextStep(12.0, 600), 112);
  EXPECT_EQ(PrintTextStep(6.0, 300), 31);
}

TEST_F(ReportTest, TableRules) {
  ASSERT_TRUE(Print());
  std::vector<int> ys, widths;
  for (const Call& l : page().Lines()) {
    if (l.y0 != l.y || l.y < 3900) continue;
    EXPECT_EQ(std::tie(l.x0, l.x), std::make_tuple(480, 3936));
    ys.push_back(l.y), widths.push_back(l.pen.width);
  }
  EXPECT_EQ(ys, (std::vector<int>{3944, 4216, 4488, 4760, 5032, 5304, 5576}));
  EXPECT_EQ(widths, (std::vector<int>{4, 1, 1, 1, 1, 1, 4}));

  std::vector<std::pair<int, int>> columns;  // x, width
  for (const Call& l : page().Lines())
    if (l.x0 == l.x && l.y0 == 3944 && l.y == 5576) columns.emplace_back(l.x, l.pen.width);
  EXPECT_EQ(columns,
            (std::vector<std::pair<int, int>>{
                {480, 4}, {3936, 4}, {480, 4}, {1248, 1}, {1632, 4}, {2400, 1}, {2784, 4}, {3552, 1}}));
}

TEST_F(ReportTest, AllSwitchesOffStillPrintsTheTexts) {
  switches = *ParseCurves("");
  flight.results.flightEndTime = 0.0;
  ASSERT_TRUE(Print());
  EXPECT_DOUBLE_EQ(layout.printScaleY, 6 * 272 / 1.0);
  EXPECT_EQ(flight.results.flightEndTime, 0.0);  // the report never writes the results
  EXPECT_DOUBLE_EQ(layout.printScaleX, 8 * 384 / 1.0);
  for (const Call& l : page().Lines()) {
    const bool curveColour = !(l.pen.color == kBlack) && !(l.pen.color == Color{128, 128, 128});
    EXPECT_FALSE(curveColour) << int(l.pen.color.r) << "," << int(l.pen.color.g) << "," << int(l.pen.color.b);
  }
  for (const char* t : {"\tRakete : Orion", "Hauptstufe", "Einstellungen:", "0,1"})
    EXPECT_NO_THROW(Text(t)) << t;
  EXPECT_EQ(Text("0,1").y, static_cast<int>(3400 - 0.6 * 272));  // first time label, 384 units = 0.125 s
}

TEST_F(ReportTest, ResultLinesConstantsAndFooter) {
  FlightResults& r = flight.results;
  r.maxVelocity = 48.26, r.maxVelocityTime = 1.595, r.maxHeightTime = 6.5, r.burnoutTime = 1.6;
  flight.constants = {};
  flight.constants.cwValue = 0.75, flight.constants.airDensity = 1.17, flight.constants.gravity = 9.81;
  flight.constants.railLength = 1.0, flight.constants.railFriction = 3.0;
  ASSERT_TRUE(Print());
  const FlightSample& b = flight.samples[320];
  const std::string burnout = Format(
      ',', "Brennschluss bei:  1,6 [sec]   in  %3.1f [m] Höhe,      bei %3.2f [m/sec],    %3.2f [km/h]",
      b.height, b.velocity, b.velocity * 3.6);
  const int top = 3400 + 272 - 168;  // 1.5 × the 12 pt step
  EXPECT_EQ(Text("Max v:  48,3 [m/sec]   173,7 [km/h]     bei 1,6 [sec]").y, top);
  EXPECT_EQ(Text(burnout).y, top + 112);
  EXPECT_EQ(Text("empfohlene Verzögerung:   4,9 [sec]").y, top + 224);
  EXPECT_EQ(Text("empfohlene Verzögerung:   4,9 [sec]").font.pointSize, 8.0);
  EXPECT_EQ(Text("Einstellungen:").y, 3400 + 2720 - 56);
  const Call& constants = Text(
      "cw-Wert: 0,75        Luftdichte: 1,17        Erdbeschleunigung: 9,810 [m/sec²]        "
      "Startvorrichtung Länge: 1,0 [m]        Reibung: 3,0 [N]");
  EXPECT_EQ(constants.y, 3400 + 2720);
  const Call& footer = Text("Komet V.: 1.09,  gedruckt am : 09.12.2026 14:03:00");
  EXPECT_EQ(std::tie(footer.x, footer.y), std::make_tuple(480, 3400 + 2720 + 272));
  for (const Call& t : page().Texts()) EXPECT_EQ(t.font.face, "Arial") << t.text;
  // The recommended delay of the flight without recovery takes the line's place.
  printer = FakePrinterDevice();
  ReportInputs in{flight.view(), rocket, switches, kDate, ','};
  in.recommendedDelay = 5.94;
  ASSERT_TRUE(PrintFlightReport(printer, layout, in));
  EXPECT_EQ(Text("empfohlene Verzögerung:   5,9 [sec]").y, top + 224);
}

// With recovery the results block gains one line under its three, in their
// size and step and above the stage table's first rule; everything else on
// the page is drawn as without.
TEST_F(ReportTest, RecoveryAddsOneLineToTheResults) {
  ASSERT_TRUE(Print());
  const std::vector<Call> without = page().calls;
  RecoveryFigures f;
  f.recovery.diameterMm = 300.0, f.recovery.cw = 0.8, f.recovery.delay = 5.0;
  f.deployed = f.landed = true;
  f.deploymentTime = 6.86, f.deploymentSpeed = 8.93, f.descentRate = 4.217, f.landingSpeed = 4.22;
  f.flightTime = 78.66, f.wind = 5.0, f.drift = 356.6;
  printer = FakePrinterDevice();
  ASSERT_TRUE(PrintFlightReport(printer, layout, {flight.view(), rocket, switches, kDate, ',', f}));
  std::vector<Call> with = page().calls;
  const auto added = std::find_if(with.begin(), with.end(), [](const Call& c) {
    return c.op == RecordingCanvas::Op::Text && c.text.starts_with("Bergung: ");
  });
  ASSERT_NE(added, with.end());
  const int top = 3400 + 272 - 168;
  EXPECT_EQ(std::tie(added->x, added->y), std::make_tuple(480, top + 3 * 112));
  EXPECT_EQ(added->font.pointSize, 8.0);
  EXPECT_LT(added->y + PrintTextStep(8.0, 600), 3944) << "above the table's first rule";
  with.erase(added);
  const auto same = [](const Call& a, const Call& b) {
    return std::tie(a.op, a.x, a.y, a.x0, a.y0, a.text, a.pen, a.font) ==
           std::tie(b.op, b.x, b.y, b.x0, b.y0, b.text, b.pen, b.font);
  };
  EXPECT_TRUE(std::equal(with.begin(), with.end(), without.begin(), without.end(), same));
}

// The page says which air and wind were flown and lists every warning with
// its level between the table's last rule (5576) and "Einstellungen:"
// (6064), however many there are.
TEST_F(ReportTest, AirWindAndEveryWarningStandUnderTheTable) {
  flight.constants.airDensity = 1.17, flight.constants.gravity = 9.81;
  flight.constants.site = {true, 1000.0, 15.0, 3.0};
  std::vector<FlightWarning> warnings(20, FlightWarning{SafetyRuleId::DescentFast, 0, 7.0, "Sinkrate 7 m/s"});
  warnings[0] = {SafetyRuleId::NoRailExit, 0, 0.0, "verlässt die Startvorrichtung nicht"};
  const ReportInputs in{flight.view(), rocket, switches, kDate, ',', std::nullopt, warnings};
  ASSERT_TRUE(PrintFlightReport(printer, layout, in));
  // ISA at 1000 m: 1.11 kg/m³, a little less at a site 6.5 K warmer.
  std::optional<std::string> air;
  for (const Call& t : page().Texts())
    if (t.text.starts_with(
            "Luft: Normatmosphäre, Startplatz 1000 m über NN, 15,0 °C am Boden (Dichte am Boden 1,"))
      air = t.text;
  ASSERT_TRUE(air);
  EXPECT_NE(air->find("Wind: 3,0 m/s"), std::string::npos) << *air;
  EXPECT_EQ(page().FindText("Luftdichte: 1,17"), nullptr);
  int red = 0, amber = 0;
  for (const Call& t : page().Texts()) {
    if (t.text.starts_with("rot: ")) red += t.font.color.r > 2 * t.font.color.g;
    if (t.text.starts_with("gelb: "))
      amber += t.font.color.g > 0 && t.font.color.b == 0 && t.text.ends_with("7 m/s");
    if (t.text.starts_with("rot: ") || t.text.starts_with("gelb: ") || t.text.starts_with("Luft:")) {
      EXPECT_GT(t.y, 5576) << t.text;
      EXPECT_LT(t.y + t.font.pointSize * 600 / 72, 3400 + 2720 - 56) << t.text;
    }
  }
  EXPECT_EQ(red, 1);
  EXPECT_EQ(amber, 19);

  // With a shape the balance joins the air line, in the same room.
  const ReportInputs balanced{
      flight.view(), rocket,       switches,
      kDate,         ',',          std::nullopt,
      warnings,      std::nullopt, FlightFigures::Stability{0.412, 0.530, 2.1, 1.85, 0.42}};
  printer = FakePrinterDevice();
  ASSERT_TRUE(PrintFlightReport(printer, layout, balanced));
  std::optional<Call> line;
  for (const Call& t : page().Texts())
    if (t.text.starts_with("Stabilität")) line = t;
  ASSERT_TRUE(line);
  for (const char* figure : {"412 mm", "530 mm", "2,10", "1,85", "0,42 s"})
    EXPECT_NE(line->text.find(figure), std::string::npos) << line->text;
  EXPECT_GT(line->y, 5576);
  EXPECT_LT(line->y + line->font.pointSize * 600 / 72, 3400 + 2720 - 56);

  flight.constants.site = {};
  printer = FakePrinterDevice();
  ASSERT_TRUE(Print());
  EXPECT_NE(
      page().FindText("Luft: eine Dichte in jeder Höhe, 1,17 kg/m³        Wind: 5,0 m/s (für die Abdrift)"),
      nullptr);
  EXPECT_NE(page().FindText("Warnungen: keine"), nullptr);
}

TEST_F(ReportTest, StageTable) {
  ASSERT_TRUE(Print());
  const int tableTop = 3400 + 816 - 112;
  const int l1 = 480 + 56, v1 = l1 + 768;
  EXPECT_EQ(std::tie(Text("Hauptstufe").x, Text("Hauptstufe").y), std::make_tuple(l1, tableTop));
  EXPECT_EQ(Text("Hauptstufe").font.pointSize, 8.0);
  EXPECT_EQ(Text("Stufe   2").x, l1 + 1152);
  EXPECT_EQ(Text("Stufe   3").x, l1 + 2304);
  // Counts 3, 0, 5: one motor row; the slot after the 0 is not printed.
  EXPECT_EQ(std::tie(Text("3").x, Text("3").y), std::make_tuple(v1, tableTop + 272));
  EXPECT_EQ(std::tie(Text("C6-5").x, Text("C6-5").y), std::make_tuple(l1, tableTop + 272));
  EXPECT_EQ(page().FindText("5"), nullptr);
  EXPECT_EQ(page().FindText("A8-3"), nullptr);
  // Stage data only for stage 1: stages 2 and 3 have a first count of 0.
  int masses = 0;
  for (const Call& t : page().Texts()) masses += t.text == "Masse [gr]";
  EXPECT_EQ(masses, 1);
  EXPECT_EQ(Text("Masse [gr]").y, tableTop + 4 * 272 - 56);
  EXPECT_EQ(Text("42,50").x, v1);
  EXPECT_EQ(Text("24,0").y, tableTop + 4 * 272);
  EXPECT_EQ(Text("  150").y, tableTop + 5 * 272 - 56);
  EXPECT_NO_THROW(Text("Sonstige Flächen [mm²]"));
  EXPECT_EQ(Text("0,50").font.pointSize, 6.0);
}

TEST_F(ReportTest, TitleCarriesTheWholeName) {
  const std::string name50 = "Sehr lange Rakete mit fünfzig Zeichen im Namen: XY";
  rocket.name.assign(Utf8ToCp1252(name50));
  ASSERT_EQ(rocket.name.length(), 50u);
  ASSERT_TRUE(Print());
  const Call& title = Text("\tRakete : " + name50);
  EXPECT_EQ(std::tie(title.x, title.y), std::make_tuple(480, 680 - 272));
  // 60 characters of 18 points run past the plot's 3840 units: set smaller
  // until they fit, and no smaller.
  EXPECT_EQ(title.font.pointSize, 15.0);
  EXPECT_EQ(page().Texts().back().font.pointSize, 6.0);  // the labels after it are as before
}

TEST_F(ReportTest, AShortTitleKeepsItsSize) {
  ASSERT_TRUE(Print());
  EXPECT_EQ(Text("\tRakete : Orion").font.pointSize, 18.0);
}

// On a long flight a second is narrower than a delay's label: the second
// label goes one 6-point line higher instead of over the first.
TEST_F(ReportTest, DelayLabelsThatWouldOverlapStandOneLineApart) {
  flight = MakeSyntheticFlight({.thrust = 40.0});
  switches.SetTag(PlotSwitch::AnzBrenn, 1);
  rocket.stages[0].motors[0].delays = {4, 3, 9, 0};
  ASSERT_TRUE(Print());
  const auto maroon = LinesOf(kMaroon);
  ASSERT_EQ(maroon.size(), 3u);
  ASSERT_GT(maroon[0].x - maroon[1].x, 0);
  ASSERT_LT(maroon[0].x - maroon[1].x, 7 * 25 + 25);  // one line would not hold both
  const int line = 3400 - 272;
  EXPECT_EQ(std::tie(Text("4 [sec]").x, Text("4 [sec]").y), std::make_tuple(maroon[0].x - 28, line));
  EXPECT_EQ(std::tie(Text("3 [sec]").x, Text("3 [sec]").y), std::make_tuple(maroon[1].x - 28, line - 50));
  EXPECT_EQ(Text("9 [sec]").y, line);
}

TEST_F(ReportTest, MarkersAndBurnoutBeyondTheFlight) {
  switches.SetTag(PlotSwitch::AnzBrenn, 1);
  rocket.stages[0].motors[0].delays = {3, 9, 0, -2};  // 1.6 + 9 s lies beyond the 10 s flight
  ASSERT_TRUE(Print());
  auto x = [&](std::size_t n) { return 864 + static_cast<int>(flight.samples[n].time * 307.2); };
  ASSERT_EQ(LinesOf(kTeal).size(), 1u);
  EXPECT_EQ(LinesOf(kTeal)[0].x, x(320));
  ASSERT_EQ(LinesOf(kMaroon).size(), 1u);
  EXPECT_EQ(LinesOf(kMaroon)[0].x, x(920));
  EXPECT_EQ(std::tie(Text("3 [sec]").x, Text("3 [sec]").y), std::make_tuple(x(920) - 28, 3400 - 272));

  // Burnout after the end: no line; the result line shows the last computed sample.
  SyntheticFlight late = MakeSyntheticFlight({.burnTime = 30.0, .period = 10.0});
  flight = late;
  printer = FakePrinterDevice();
  ASSERT_TRUE(Print());
  EXPECT_TRUE(LinesOf(kTeal).empty());
  const FlightSample& last = flight.samples[flight.lastSample];
  EXPECT_NO_THROW(Text(Format(
      ',', "Brennschluss bei:  30,0 [sec]   in  %3.1f [m] Höhe,      bei %3.2f [m/sec],    %3.2f [km/h]",
      last.height, last.velocity, last.velocity * 3.6)));
}

TEST_F(ReportTest, ApogeeMarkerKeepsThePreviousWidth) {
  for (const char* curves : {"h", "hF", "hS"}) {
    SCOPED_TRACE(curves);
    switches = *ParseCurves(curves);
    printer = FakePrinterDevice();
    ASSERT_TRUE(Print());
    const auto navy = LinesOf(kNavy);
    ASSERT_EQ(navy.size(), 2u);
    EXPECT_EQ(navy[0].pen.width, std::string_view(curves) == "hF" ? 2 : 1);
    EXPECT_EQ(navy[0].x, 864 + static_cast<int>(flight.results.maxHeightTime * layout.printScaleX));
    EXPECT_EQ(navy[0].y, 680);
    EXPECT_NO_THROW(Text(Format(',', "%.2f [m]", flight.results.maxHeight)));
    std::size_t red = 0;
    for (const Call& l : LinesOf({255, 0, 0})) red += l.pen.width == 7;
    EXPECT_EQ(red, 1u);
  }
}

TEST_F(ReportTest, NoResultsPrintsNothingAndARefusedJobThrows) {
  flight.results.resultsValid = false;
  EXPECT_FALSE(Print());
  EXPECT_TRUE(page().calls.empty());
  flight.results.resultsValid = true;
  printer.refuseBegin = true;
  try {
    Print();
    FAIL() << "no error";
  } catch (const KometError& e) {
    EXPECT_EQ(e.kind(), KometError::Kind::Printer);
  }
}

TEST(PrintReportBounds, TinyAndHugePagesFinish) {
  SyntheticFlight flight = MakeSyntheticFlight({.period = 3.0});
  RocketRecord rocket = SampleRocket();
  const PlotSwitches sw = *ParseCurves("hvaSF,brenn");
  for (const auto& [w, h] :
       {std::pair{0, 0}, {1, 1}, {9, 9}, {10, 10}, {-100, 5}, {400000, 9000}, {INT_MAX, INT_MAX}}) {
    FakePrinterDevice printer;
    printer.pageWidth = w, printer.pageHeight = h;
    ReportLayout layout;
    EXPECT_TRUE(PrintFlightReport(printer, layout, {flight.view(), rocket, sw, kDate, '.'})) << w;
  }
}

// The flight of a hostile rocket file as the report.
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Everything drawn stays within the range a printer back-end can take.
void ExpectOnTheCanvas(const RecordingCanvas& canvas, const std::string& what) {
  constexpr int kLimit = kCanvasCoordinateLimit;
  for (const auto& c : canvas.calls) {
    for (int v : {c.x, c.y, c.x0, c.y0}) ASSERT_TRUE(v >= -kLimit && v <= kLimit) << what << ": " << v;
    // Texts from the record are converted: well-formed UTF-8 of Windows-1252 characters.
    if (c.op == RecordingCanvas::Op::Text) {
      EXPECT_EQ(Cp1252ToUtf8(Utf8ToCp1252(c.text)), c.text) << what;
    }
  }
}

TEST(ReportFromFilesTest, HostileRocketsPrintOnOnePage) {
  const std::pair<const char*, std::function<void(RocketRecord&)>> cases[] = {
      {"NaN everywhere",
       [](RocketRecord& r) {
         r.cw = kNaN;
         for (StageRecord& s : r.stages) s.mass = s.diameter = s.otherArea = s.ignitionDelay = kNaN;
       }},
      {"endless burn", [](RocketRecord& r) { r.stages[0].motors[0].burnTime = 1e300; }},
      {"extreme counts",
       [](RocketRecord& r) {
         r.stages[0].counts = {INT_MIN, INT_MAX, -1};
       }},
      {"extreme delays",
       [](RocketRecord& r) {
         r.stages[0].motors[0].delays = {-128, 127, 1, 0};
       }},
      {"names of every byte",
       [](RocketRecord& r) {
         for (std::size_t k = 0; k < r.name.raw().size(); ++k)
           r.name.raw()[k] = static_cast<std::uint8_t>(0x80 + k);
         r.name.raw()[0] = 255;
         r.stages[0].motors[0].name.raw().fill(0x81);
       }},
  };
  for (const auto& [what, spoil] : cases) {
    RocketRecord rocket;
    InitRakete(rocket);
    rocket.cw = 0.6;
    rocket.stages[0].mass = 0.03;
    rocket.stages[0].diameter = 0.025;
    rocket.stages[0].counts[0] = 1;
    MotorRecord& m = rocket.stages[0].motors[0];
    m.name.assign("C6");
    m.burnTime = 1.8, m.propellantMass = 0.012, m.totalMass = 0.024, m.delays = {3, 5, 7, 0};
    m.curveTime[1] = 0.2, m.curveThrust[1] = 14.0, m.curveTime[2] = 1.8, m.curveThrust[2] = 4.0;
    spoil(rocket);
    Simulation sim;
    sim.RunSimulation(rocket, FixedConstants{});
    PlotSwitches switches;
    for (const auto& button : kSwitchButtons) switches.SetTag(button.id, 1);
    FakePrinterDevice printer;
    ReportLayout layout;
    const ReportInputs in{MakeFlightView(sim), rocket, switches, "09.12.2026 14:03:00", ','};
    EXPECT_EQ(PrintFlightReport(printer, layout, in), sim.results().resultsValid) << what;
    EXPECT_LE(printer.pages.size(), 1u) << what;
    ExpectOnTheCanvas(printer.recording(), what);
  }
}

}  // namespace
}  // namespace komet
