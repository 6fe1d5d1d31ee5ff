// Printing what a hostile rocket file holds: its notes through the line
// printer as the notes window sets it up, and its flight as the report.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "common/win1252.h"
#include "dialogs/notes_text.h"
#include "print/line_printer.h"
#include "print/report.h"
#include "sim/simulation.h"
#include "support/recording_canvas.h"

namespace komet {
namespace {

using testing::FakePrinterDevice;
using testing::RecordingCanvas;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<std::string> EditorLines(const std::string& notesCp1252) {
  std::vector<std::string> lines(1);
  for (char c : NotesToEditor(notesCp1252)) {
    if (c == '\n')
      lines.emplace_back();
    else
      lines.back() += c;
  }
  if (lines.size() == 1 && lines.front().empty()) lines.clear();
  return lines;
}

// Characters that no wrap may drop: everything but blanks and controls.
std::size_t Printable(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    n += static_cast<unsigned char>(c) >= 33 && (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

TEST(NotesPrintRobustness, NotesFieldsOfAnyContentPrintWhole) {
  std::string everyByte;
  for (std::size_t i = 0; i < RocketRecord::kMaxNotesLength; ++i) everyByte += static_cast<char>(1 + i % 255);
  const struct {
    const char* what;
    std::string notes;
  } cases[] = {
      {"one word filling the field", std::string(RocketRecord::kMaxNotesLength, 'A')},
      {"every byte but zero", everyByte},
      {"only carriage returns", std::string(RocketRecord::kMaxNotesLength, '\r')},
      {"only tabs", std::string(RocketRecord::kMaxNotesLength, '\t')},
  };
  for (const auto& c : cases) {
    RocketRecord rocket;
    InitRakete(rocket);
    std::copy(c.notes.begin(), c.notes.end(), rocket.notes.begin());  // no terminator
    const std::vector<std::string> lines = EditorLines(NotesText(rocket));
    FakePrinterDevice device(600);
    TLinePrinter lp(device);
    lp.SetLines(lines);
    lp.SetFont(Font{"Arial", 8.0, 0, kBlack, false});
    lp.SetFooterFormat("<5|>1");
    lp.SetPageBorders({PageBorder::pbBottom});
    lp.SetMarginTop(0.5f), lp.SetMarginBottom(1.0f), lp.SetMarginLeft(1.0f), lp.SetMarginRight(1.0f);
    lp.BeginDoc();
    lp.PrintLines(true);
    lp.EndDoc();
    ASSERT_EQ(device.jobsEnded, 1) << c.what;
    std::size_t printed = 0, expected = 0;
    for (const std::string& line : lines) expected += Printable(line);
    RecordingCanvas& canvas = device.recording();
    for (const auto& call : canvas.Texts()) {
      EXPECT_TRUE(canvas.TextWidth(call.text) <= lp.textWidth() || Utf8Length(call.text) == 1) << c.what;
      printed += Printable(call.text);
    }
    EXPECT_EQ(printed, expected) << c.what << ": characters lost or added";
  }
}

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

TEST(ReportRobustness, HostileRocketsPrintOnOnePage) {
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
