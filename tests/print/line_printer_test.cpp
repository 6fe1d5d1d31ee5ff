// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/line_printer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "common/win1252.h"
#include "dialogs/notes_text.h"
#include "model/rocket_record.h"
#include "print/notes_page.h"
#include "support/recording_canvas.h"

namespace komet {
namespace {

using testing::FakePrinterDevice;
using testing::RecordingCanvas;
using Op = RecordingCanvas::Op;

// 100 dpi, no unprintable border: one device unit is 0.01 inch.
FakePrinterDevice SmallDevice() {
  FakePrinterDevice d(100);
  d.pageWidth = d.physicalWidth = 1000;
  d.pageHeight = d.physicalHeight = 1500;
  d.offsetX = d.offsetY = 0;
  return d;
}

// On the recording canvas: 10 units per character, "M" 20 high, metrics
// 24 + 2 leading, so the step is 26 in a job.
Font PixelFont() {
  Font f;
  f.face = "Mono";
  f.pointSize = 0;
  f.pixelHeight = 20;
  return f;
}

struct Rig {
  explicit Rig(FakePrinterDevice d = SmallDevice()) : device(std::move(d)), lp(device) {
    lp.SetFont(PixelFont());
  }
  // A text area `chars` characters wide and `height` high, 50 units from the
  // left and 30 from the top of the printable area.
  void Area(int chars, int height) {
    lp.SetMarginLeft(0.5f);
    lp.SetMarginTop(0.3f);
    lp.SetMarginRight((1000 - 50 - 10 * chars) / 100.0f);
    lp.SetMarginBottom((1500 - 30 - height) / 100.0f);
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const auto& c : device.recording().Texts()) out.push_back(c.text);
    return out;
  }
  RecordingCanvas& canvas() { return device.recording(); }
  // The page (from 1) each text call was drawn on.
  std::vector<int> TextPages() {
    const auto& calls = device.recording().calls;
    std::vector<int> out;
    for (std::size_t i = 0; i < calls.size(); ++i) {
      if (calls[i].op != Op::Text) continue;
      const auto next = std::upper_bound(device.pages.begin(), device.pages.end(), i);
      out.push_back(static_cast<int>(next - device.pages.begin()));
    }
    return out;
  }

  FakePrinterDevice device;
  TLinePrinter lp;
};

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ELinePrinter& e) {
    EXPECT_EQ(e.kind(), KometError::Kind::Printer);
    return e.what();
  }
  return "(no error)";
}

TEST(LinePrinterGeometry, MarginsBecomeDistancesFromThePrintableArea) {
  FakePrinterDevice d(600);
  d.offsetX = d.offsetY = 100;
  TLinePrinter lp(d);
  lp.SetMarginLeft(1.0f);
  lp.SetMarginTop(0.5f);
  EXPECT_EQ(lp.leftPx(), 500);
  EXPECT_EQ(lp.topPx(), 200);
  // Right border 4960 - 4800 - 100 = 60, bottom 7016 - 6800 - 100 = 116.
  lp.SetMarginRight(0.5f);
  lp.SetMarginBottom(1.0f);
  EXPECT_EQ(lp.rightPx(), 240);
  EXPECT_EQ(lp.bottomPx(), 484);
  EXPECT_EQ(lp.textWidth(), 4800 - 500 - 240);
  EXPECT_EQ(lp.textHeight(), 6800 - 200 - 484);
  lp.SetMeasureUnit(MeasureUnit::muMillimeters);
  EXPECT_EQ(lp.leftPx(), 500);
}

TEST(LinePrinterGeometry, MarginsAreKeptOnThePaperAndFollowTheUnit) {
  FakePrinterDevice d(600);  // borders: left 80, right 80, top 100, bottom 116
  TLinePrinter lp(d);
  EXPECT_FLOAT_EQ(lp.marginBottom(), 116 / 600.0f);
  EXPECT_EQ(lp.textWidth(), 4800);
  EXPECT_EQ(lp.textHeight(), 6800);
  struct Case {
    void (TLinePrinter::*set)(float);
    float (TLinePrinter::*get)() const;
    float value, expected;
  };
  const Case cases[] = {
      {&TLinePrinter::SetMarginLeft, &TLinePrinter::marginLeft, 0.05f, 80 / 600.0f},
      {&TLinePrinter::SetMarginTop, &TLinePrinter::marginTop, -1.0f, 100 / 600.0f},
      {&TLinePrinter::SetMarginRight, &TLinePrinter::marginRight, NAN, 80 / 600.0f},
      // At most the page less the opposite border.
      {&TLinePrinter::SetMarginLeft, &TLinePrinter::marginLeft, 20.0f, (4960 - 80) / 600.0f},
      {&TLinePrinter::SetMarginBottom, &TLinePrinter::marginBottom, 20.0f, (7016 - 100) / 600.0f},
  };
  for (const Case& c : cases) {
    (lp.*c.set)(c.value);
    EXPECT_FLOAT_EQ((lp.*c.get)(), c.expected) << c.value;
  }

  lp.SetMarginLeft(1.0f);
  lp.SetDefaultColWidth(2.0f);
  lp.SetBorderOffset(0.5f);
  lp.SetMeasureUnit(MeasureUnit::muMillimeters);
  EXPECT_NEAR(lp.marginLeft(), 25.4, 1e-5);
  EXPECT_NEAR(lp.defaultColWidth(), 50.8, 1e-5);
  EXPECT_NEAR(lp.borderOffset(), 12.7, 1e-5);
  // The same unit again only fits the margins to the current printer.
  d.offsetY = 300;
  lp.SetMeasureUnit(MeasureUnit::muMillimeters);
  EXPECT_NEAR(lp.marginTop(), 300 / 600.0 * 25.4, 1e-5);
  EXPECT_NEAR(lp.defaultColWidth(), 50.8, 1e-5);
}

TEST(LinePrinterErrors, SettingsLockedWhilePrinting) {
  Rig r;
  r.lp.BeginDoc();
  const std::pair<std::function<void()>, const char*> cases[] = {
      {[&] { r.lp.SetMarginTop(1); }, "Unable to change top margin while printing"},
      {[&] { r.lp.SetMarginBottom(1); }, "Unable to change bottom margin while printing"},
      {[&] { r.lp.SetMarginLeft(1); }, "Unable to change left margin while printing"},
      {[&] { r.lp.SetMarginRight(1); }, "Unable to change right margin while printing"},
      {[&] { r.lp.SetMeasureUnit(MeasureUnit::muMillimeters); },
       "Unable to change top margin while printing"},
      {[&] { r.lp.SetTitle("x"); }, "Unable to change title while printing"},
      {[&] { r.lp.SetOrientation(PrinterOrientation::Landscape); },
       "Unable to change orientation while printing"},
  };
  const float left = r.lp.marginLeft();
  for (const auto& [action, message] : cases) EXPECT_EQ(MessageOf(action), message);
  EXPECT_EQ(r.lp.marginLeft(), left);
  EXPECT_EQ(r.lp.measureUnit(), MeasureUnit::muInches);
  r.lp.EndDoc();
  r.lp.SetMarginTop(1);  // free again

  r.lp.SetDefaultColWidth(1.5f);
  EXPECT_EQ(MessageOf([&] { r.lp.SetDefaultColWidth(-0.1f); }),
            "DefaultColWidth must be greater than or equal to 0");
  EXPECT_EQ(r.lp.defaultColWidth(), 0.0f);
}

TEST(LinePrinterErrors, PrinterRefusalsRaise) {
  {
    Rig r;
    r.device.refuseBegin = true;
    EXPECT_EQ(MessageOf([&] { r.lp.BeginDoc(); }), "Unable to begin printing.");
    EXPECT_FALSE(r.lp.printing());
  }
  {
    Rig r;
    r.lp.BeginDoc();
    EXPECT_EQ(MessageOf([&] { r.lp.BeginDoc(); }), "Unable to begin printing.");
    r.device.refuseNewPage = true;
    EXPECT_EQ(MessageOf([&] { r.lp.NewPage(); }), "Unable to print a new page.");
    r.device.refuseEnd = true;
    EXPECT_EQ(MessageOf([&] { r.lp.EndDoc(); }), "Unable to finish printing.");
    EXPECT_FALSE(r.lp.printing());
  }
}

TEST(LinePrinterJob, CallbacksInOrderAndTitleGoesToTheJob) {
  Rig r;
  r.Area(10, 1000);
  std::vector<std::string> events;
  const auto note = [&](const char* what) {
    return [&events, what](TLinePrinter& lp) {
      events.push_back(what + std::to_string(lp.pageLine()) + (lp.printing() ? "" : " idle"));
    };
  };
  r.lp.OnBeginDoc = note("begin");
  r.lp.OnNewPage = note("page");
  r.lp.OnNewLine = note("line");
  r.lp.OnEndDoc = note("end");
  r.lp.SetTitle("Notizen");
  r.lp.SetLines({"a", "b"});
  r.lp.BeginDoc();
  r.lp.PrintLines(true);
  r.lp.EndDoc();
  EXPECT_EQ(events,
            (std::vector<std::string>{"begin0 idle", "page0", "line0", "line1", "line2", "end2 idle"}));
  EXPECT_EQ(r.device.title, "Notizen");
  EXPECT_EQ(r.device.jobsEnded, 1);
}

TEST(LinePrinterLineStep, FollowsFontAndSpacing) {
  FakePrinterDevice d(600);
  TLinePrinter lp(d);
  // Outside a job: "M" in Courier New 10 pt at 600 dpi is 83 high.
  EXPECT_EQ(lp.lineStep(), 83);
  const std::pair<LineSpacing, int> spacings[] = {{LineSpacing::lsHalfSpace, 41},
                                                  {LineSpacing::lsSingleAndAHalf, 124},
                                                  {LineSpacing::lsDoubleSpace, 166},
                                                  {LineSpacing::lsSingleSpace, 83}};
  for (const auto& [spacing, step] : spacings) {
    lp.SetLineSpacing(spacing);
    EXPECT_EQ(lp.lineStep(), step);
  }
  // The canvas's own font is left as it was.
  EXPECT_EQ(d.recording().font(), Font());

  Font arial = lp.font();
  arial.face = "Arial";
  arial.pointSize = 8;
  lp.SetFont(arial);
  EXPECT_EQ(lp.lineStep(), 67);
  // In a job: cell height 67 + 13 plus external leading 6.
  lp.BeginDoc();
  EXPECT_EQ(d.recording().font(), arial);
  EXPECT_EQ(lp.lineStep(), 86);
  lp.SetFont(PixelFont());
  EXPECT_EQ(d.recording().font(), PixelFont());
  EXPECT_EQ(lp.lineStep(), 26);
  lp.EndDoc();

  // A font the canvas cannot measure falls back to 10 units.
  Font unmeasurable = PixelFont();
  unmeasurable.pixelHeight = 0;
  lp.SetFont(unmeasurable);
  EXPECT_EQ(lp.lineStep(), 10);
  lp.SetLineSpacing(LineSpacing::lsHalfSpace);
  EXPECT_EQ(lp.lineStep(), 5);
}

TEST(LinePrinterText, FitTextTakesTheLongestPrefixThatFits) {
  Rig r;
  r.lp.BeginDoc();
  const std::tuple<const char*, int, const char*> cases[] = {
      {"abcdef", 60, "abcdef"}, {"abcdef", 59, "abcde"}, {"abcdef", 35, "abc"}, {"abcdef", 40, "abcd"},
      {"abcdef", 5, "a"},       {"abcdef", 0, "a"},      {"abcdef", -3, "a"},   {"", -1, ""},
      {"äöüß", 25, "äö"},
  };
  for (const auto& [text, width, fitted] : cases)
    EXPECT_EQ(r.lp.FitText(text, width), fitted) << text << width;
}

TEST(LinePrinterText, WrapsAndCutsLinesToTheTextWidth) {
  struct Case {
    const char* text;
    bool wrap;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"abcdefghij", true, {"abcdefghij"}},
      {"abcdefghijk", true, {"abcdefghij", "k"}},
      {"abcdefghijklmnopqrstuvwxy", true, {"abcdefghij", "klmnopqrst", "uvwxy"}},
      // A blank inside the fitted piece stays at the end of the line.
      {"abcd efghijkl", true, {"abcd ", "efghijkl"}},
      {"ab cd ef gh ij", true, {"ab cd ef ", "gh ij"}},
      // A blank just after the piece is dropped.
      {"abcdefghij klm", true, {"abcdefghij", "klm"}},
      {"abcdefghi\x01klm", true, {"abcdefghi\x01", "klm"}},
      {"äöüäöüäöüäöü", true, {"äöüäöüäöüä", "öü"}},
      {"abc\tdefgh", true, {"abc     ", "defgh"}},
      {"", true, {""}},
      {"abcdefghijklmno", false, {"abcdefghij"}},
  };
  for (const Case& c : cases) {
    Rig r;
    r.Area(10, 1000);
    r.lp.SetWordWrap(c.wrap);
    r.lp.BeginDoc();
    r.lp.WriteLine(c.text);
    EXPECT_EQ(r.Texts(), c.lines) << c.text;
  }
}

TEST(LinePrinterText, TabsExpandToCharacterStops) {
  const std::tuple<int, const char*, const char*> cases[] = {
      {8, "abc\tx", "abc     x"},
      {8, "abcdefgh\tx", "abcdefgh        x"},
      {8, "\t\tx", "                x"},
      {8, "ä\tx", "ä       x"},
      {4, "ab\tc\td", "ab  c   d"},
      {1, "a\t\tb", "a  b"},
      // No stops at all: a tab stands for one blank.
      {0, "a\t\tb", "a  b"},
      {-3, "ab\tc", "ab c"},
  };
  for (const auto& [size, text, expanded] : cases) {
    Rig r;
    r.Area(80, 1000);
    r.lp.SetTabSize(size);
    r.lp.BeginDoc();
    r.lp.WriteLine(text);
    EXPECT_EQ(r.Texts(), std::vector<std::string>{expanded}) << size << " " << text;
  }
}

TEST(LinePrinterText, LinesStartAtTheTopAndFollowTheAlignment) {
  const std::pair<TextAlignment, std::vector<int>> cases[] = {
      {TextAlignment::Left, {50, 50}},
      {TextAlignment::Right, {50 + 100 - 30, 50 + 100 - 100}},
      {TextAlignment::Center, {50 + 35, 50}},
  };
  for (const auto& [alignment, xs] : cases) {
    Rig r;
    r.Area(10, 1000);
    r.lp.SetAlignment(alignment);
    r.lp.BeginDoc();
    r.lp.WriteLine("abc");
    r.lp.WriteLine("abcdefghij");
    const auto texts = r.canvas().Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].x, xs[0]);
    EXPECT_EQ(texts[1].x, xs[1]);
    EXPECT_EQ(texts[0].y, 30);
    EXPECT_EQ(texts[1].y, 30 + 26);
  }
}

TEST(LinePrinterPages, NewPageWhenTheNextLineWouldReachTheBottom) {
  struct Case {
    int height, perPage, pages;
  };
  // Step 26: a height of 104 holds three lines (the fourth would end at it).
  const Case cases[] = {{104, 3, 3}, {105, 4, 2}, {130, 4, 2}, {131, 5, 2}};
  for (const Case& c : cases) {
    Rig r;
    r.Area(10, c.height);
    r.lp.SetLines({"1", "2", "3", "4", "5", "6", "7"});
    r.lp.BeginDoc();
    r.lp.PrintLines(false);
    r.lp.EndDoc();
    EXPECT_EQ(static_cast<int>(r.device.pages.size()), c.pages) << c.height;
    const auto texts = r.canvas().Texts();
    ASSERT_EQ(texts.size(), 7u);
    const std::vector<int> pages = r.TextPages();
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(pages[i], 1 + i / c.perPage) << c.height << " line " << i;
      EXPECT_EQ(texts[i].y, 30 + 26 * (i % c.perPage)) << c.height << " line " << i;
    }
    EXPECT_EQ(r.lp.pageLine(), 7 % c.perPage);
  }
}

TEST(LinePrinterPages, NoTextAreaStillEnds) {
  {  // No width: one character per line, blanks after a piece dropped.
    Rig r;
    r.Area(0, 1000);
    ASSERT_EQ(r.lp.textWidth(), 0);
    r.lp.BeginDoc();
    r.lp.WriteLine("ab c");
    r.lp.SetWordWrap(false);
    r.lp.WriteLine("xyz");
    EXPECT_EQ(r.Texts(), (std::vector<std::string>{"a", "b", "c", "x"}));
  }
  {  // Less than nothing.
    Rig r;
    r.lp.SetMarginLeft(10);
    r.lp.SetMarginRight(5);
    ASSERT_LT(r.lp.textWidth(), 0);
    r.lp.BeginDoc();
    r.lp.WriteLine("ab");
    r.lp.WriteLine("");
    EXPECT_EQ(r.Texts(), (std::vector<std::string>{"a", "b", ""}));
  }
  {  // No height: every line on a page of its own, no blank pages between.
    Rig r;
    r.Area(10, 0);
    r.lp.SetLines({"1", "2", "3"});
    r.lp.BeginDoc();
    r.lp.PrintLines(false);
    r.lp.EndDoc();
    EXPECT_EQ(r.device.pages.size(), 4u);
    for (const auto& t : r.canvas().Texts()) EXPECT_EQ(t.y, 30);
  }
}

TEST(LinePrinterCells, ColumnsFromTheTableFormat) {
  Rig r;
  r.Area(80, 1000);
  r.lp.SetTableFormat("<1|^1|>1|0.5");
  r.lp.SetLines({"ab|cd|ef|ghijklm|unprinted", "x", "abcdefghijkl|ab"});
  r.lp.BeginDoc();
  r.lp.PrintLines(true);
  const auto texts = r.canvas().Texts();
  struct Cell {
    const char* text;
    int x, y;
  };
  const Cell expected[] = {
      {"ab", 50, 30}, {"cd", 150 + 40, 30},   {"ef", 250 + 80, 30}, {"ghijk", 350, 30},
      {"x", 50, 56},  {"abcdefghij", 50, 82}, {"ab", 150 + 40, 82},
  };
  ASSERT_EQ(texts.size(), std::size(expected));
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].text, expected[i].text);
    EXPECT_EQ(texts[i].x, expected[i].x) << expected[i].text;
    EXPECT_EQ(texts[i].y, expected[i].y) << expected[i].text;
  }
  EXPECT_EQ(r.lp.curY(), 3 * 26);

  // Without the table format allowed the bars are plain text.
  r.lp.PrintLines(false);
  EXPECT_EQ(r.canvas().Texts().back().text, "abcdefghijkl|ab");
}

TEST(LinePrinterCells, DefaultAndOutlandishWidths) {
  Rig r;
  r.Area(80, 1000);
  r.lp.BeginDoc();
  // Columns without a width take the default; of no width they print nothing.
  r.lp.SetDefaultColWidth(0.3f);
  r.lp.SetTableFormat("|>|2");
  r.lp.WriteCells("abcdef|a|b");
  r.lp.SetDefaultColWidth(0);
  r.lp.WriteCells("c|d");
  // Huge widths stay on the canvas's integer plane; a negative one prints nothing.
  r.lp.SetTableFormat("<1e30|<1e30|<1e30|>-2");
  r.lp.WriteCells("a|b|c|d");
  const auto texts = r.canvas().Texts();
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[0].text, "abc");
  EXPECT_EQ(texts[1].x, 50 + 30 + 20);
  EXPECT_EQ(texts[2].x, 50 + 60);
  EXPECT_EQ(texts[3].x, 50);
  EXPECT_EQ(texts[5].x, 1 << 24);
  EXPECT_EQ(r.lp.curY(), 3 * 26);
}

TEST(LinePrinterCells, MacrosInHeaderCells) {
  struct Case {
    const char* header;
    const char* title;
    bool clock;
    std::vector<std::string> printed;  // on pages 1 and 2
  };
  const Case cases[] = {
      {"S. {$PAGE} {$PAGE}", "", true, {"S. 1 1", "S. 2 2"}},
      {"{$DATE}, {$TIME}|{$TITLE}",
       "Rakete",
       true,
       {"24.05.2024, 13:45:10", "Rakete", "24.05.2024, 13:45:10", "Rakete"}},
      {"{$DATE}{$TIME}", "", true, {"24.05.202413:45:10", "24.05.202413:45:10"}},
      {"{$page}{$PAGE", "", true, {"{$page}{$PAGE", "{$page}{$PAGE"}},
      // No clock given: empty texts. A title holding its own macro is not used.
      {"[{$DATE}{$TIME}]{$TITLE}", "{$TITLE}!", false, {"[]{$TITLE}", "[]{$TITLE}"}},
  };
  for (const Case& c : cases) {
    Rig r;
    r.Area(80, 1000);
    r.lp.SetTitle(c.title);
    if (c.clock) {
      r.lp.DateText = [] { return std::string("24.05.2024"); };
      r.lp.TimeText = [] { return std::string("13:45:10"); };
    }
    r.lp.SetHeader(c.header);
    r.lp.SetHeaderFormat("<4|<4");
    r.lp.BeginDoc();
    r.lp.NewPage();
    EXPECT_EQ(r.Texts(), c.printed) << c.header;
  }
}

TEST(LinePrinterCells, LineMacroCountsTheBodyLines) {
  Rig r;
  r.Area(80, 1000);
  r.lp.SetTableFormat("<1|<1");
  r.lp.BeginDoc();
  r.lp.WriteCells("{$LINE}|{$LINE}{$LINE}");
  r.lp.WriteCells("{$LINE}");
  EXPECT_EQ(r.Texts(), (std::vector<std::string>{"0", "00", "1"}));
}

TEST(LinePrinterPage, HeaderAndFooterInTheMiddleOfTheirBands) {
  struct Case {
    float top, bottom;
    int headerY, footerY;
  };
  // Step 26; the footer's band begins at 1500 - bottom.
  const Case cases[] = {
      {0.5f, 4.5f, (50 - 26) / 2, 1050 + (450 - 26) / 2},
      {0.27f, 0.27f, 0, 1473},
      // Bands lower than a line: the line keeps to the printable area.
      {0.1f, 0.1f, 0, 1500 - 26},
      {0.0f, 0.0f, 0, 1500 - 26},
  };
  for (const Case& c : cases) {
    Rig r;
    r.lp.SetMarginTop(c.top);
    r.lp.SetMarginBottom(c.bottom);
    r.lp.SetHeader("H");
    r.lp.SetHeaderFormat("<1");
    r.lp.SetFooter("F");
    r.lp.SetFooterFormat("<1");
    r.lp.SetLines({"body"});
    r.lp.BeginDoc();
    r.lp.PrintLines(false);
    const auto texts = r.canvas().Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].y, c.headerY) << c.top;
    EXPECT_EQ(texts[1].y, c.footerY) << c.bottom;
    EXPECT_EQ(texts[2].text, "body");
    EXPECT_EQ(texts[2].y, r.lp.topPx());
    EXPECT_EQ(r.lp.pageLine(), 1) << "header and footer do not advance";
  }
}

TEST(LinePrinterPage, BordersAroundTheTextArea) {
  FakePrinterDevice d(600);
  TLinePrinter lp(d);
  lp.SetMarginLeft(1.0f);    // L = 520
  lp.SetMarginTop(0.5f);     // T = 200
  lp.SetMarginRight(1.0f);   // R = 4280
  lp.SetMarginBottom(1.0f);  // B = 200 + 6116
  lp.SetBorderOffset(0.1f);
  lp.SetPageBorders({PageBorder::pbTop, PageBorder::pbBottom, PageBorder::pbLeft, PageBorder::pbRight});
  lp.BeginDoc();
  lp.NewPage();
  const auto lines = d.recording().Lines();
  ASSERT_EQ(lines.size(), 8u);
  const int expected[4][4] = {
      {460, 140, 4340, 140}, {460, 6376, 4340, 6376}, {460, 140, 460, 6376}, {4340, 140, 4340, 6376}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int* e = expected[i % 4];
    EXPECT_EQ((std::vector<int>{lines[i].x0, lines[i].y0, lines[i].x, lines[i].y}),
              (std::vector<int>{e[0], e[1], e[2], e[3]}))
        << i;
    EXPECT_EQ(lines[i].pen.width, 4);
  }
}

TEST(LinePrinterPage, RulePenFollowsTheResolution) {
  FakePrinterDevice d(1200);
  d.dpiY = 300;
  TLinePrinter lp(d);
  lp.SetPageBorders({PageBorder::pbBottom, PageBorder::pbRight});
  lp.SetBorderOffset(1e30f);  // must not overflow
  lp.BeginDoc();
  const auto lines = d.recording().Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].pen.width, 2);
  EXPECT_EQ(lines[1].pen.width, 8);
}

// The notes page (SetUpNotesPage): Arial 8 pt, a version and date footer, a rule
// under the text, margins 0.5 / 1 / 1 / 1 inch, on the default 600-dpi fake.
struct NotesPrint {
  NotesPrint() : lp(device) {
    SetUpNotesPage(lp);
    lp.DateText = [] { return std::string("24.05.2024"); };
    lp.TimeText = [] { return std::string("13:45:10"); };
  }
  void Print(std::vector<std::string> lines) {
    lp.SetLines(std::move(lines));
    lp.BeginDoc();
    lp.PrintLines(true);
    lp.EndDoc();
  }
  FakePrinterDevice device;
  TLinePrinter lp;
};

// Geometry: left 520, top 200, bottom 484, text 3760 x 6116; Arial 8 pt is
// 67 high and 33 wide per character, the step 86.
TEST(LinePrinterNotes, EmptyNotesGiveOnePageWithFooterAndRule) {
  NotesPrint n;
  n.Print({});
  EXPECT_EQ(n.device.pages.size(), 1u);
  EXPECT_EQ(n.device.jobsEnded, 1);
  const auto texts = n.device.recording().Texts();
  ASSERT_EQ(texts.size(), 2u);
  // Footer line at 200 + 6116 + (484 - 86) / 2.
  EXPECT_EQ(texts[0].text, "Komet V.: 1.09");
  EXPECT_EQ(texts[0].x, 520);
  EXPECT_EQ(texts[0].y, 6515);
  // 20 characters are 660 wide; 18 fit the 600-unit column, right-aligned.
  EXPECT_EQ(texts[1].text, "24.05.2024, 13:45:");
  EXPECT_EQ(texts[1].x, 520 + 3000 + 6);
  EXPECT_EQ(texts[1].y, 6515);
  EXPECT_EQ(texts[1].font.face, "Arial");
  const auto lines = n.device.recording().Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ((std::vector<int>{lines[0].x0, lines[0].y0, lines[0].x, lines[0].y}),
            (std::vector<int>{520, 6316, 4280, 6316}));
}

TEST(LinePrinterNotes, NotesWrapAndRunOverPagesWithTheFooterOnEach) {
  NotesPrint n;
  n.lp.SetFooter(std::string(100, 'v') + "|{$PAGE}");
  // 3760 / 33: 113 characters per line; 6116 / 86: 71 lines per page.
  const std::string word(60, 'w');
  std::vector<std::string> notes(150, "x");
  notes[0] = "Erster Start:\tgut";
  notes[1] = word + " " + word;
  n.Print(notes);
  EXPECT_EQ(n.device.pages.size(), 3u);
  std::vector<std::string> body, footer;
  std::vector<int> ys;
  for (const auto& t : n.device.recording().Texts()) {
    if (t.y >= 6316) {
      footer.push_back(t.text);
    } else if (t.text != "x") {
      body.push_back(t.text), ys.push_back(t.y);
    }
  }
  EXPECT_EQ(body, (std::vector<std::string>{"Erster Start:   gut", word + " ", word}));
  EXPECT_EQ(ys, (std::vector<int>{200, 286, 372}));
  const std::string cut(3000 / 33, 'v');
  EXPECT_EQ(footer, (std::vector<std::string>{cut, "1", cut, "2", cut, "3"}));
  EXPECT_EQ(n.device.recording().Lines().size(), 3u);
}

// Notes of any content, as a hostile rocket file holds them, through the
// line printer as the notes window sets it up.
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

TEST(NotesPrintTest, NotesFieldsOfAnyContentPrintWhole) {
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

}  // namespace
}  // namespace komet
