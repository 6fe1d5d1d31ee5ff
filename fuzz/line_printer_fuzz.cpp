// SPDX-License-Identifier: GPL-3.0-or-later
// The line printer on a fake printer: body lines wrapped or cut, then the
// header, footer and table cells with their macros. The first bytes choose
// the printer and the settings, the rest is text, one line per '\n':
// table format, header format, header, footer format, footer, body lines.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/win1252.h"
#include "fuzz_support.h"
#include "print/line_printer.h"
#include "support/recording_canvas.h"

namespace komet::fuzz {
namespace {

using testing::FakePrinterDevice;
using testing::RecordingCanvas;

constexpr std::size_t kSettingsBytes = 12;

struct Input {
  std::array<std::uint8_t, kSettingsBytes> settings{};
  std::string tableFormat, headerFormat, header, footerFormat, footer;
  std::vector<std::string> body;
};

Input Split(std::span<const std::uint8_t> data) {
  Input in;
  const std::size_t n = std::min(data.size(), kSettingsBytes);
  std::copy_n(data.begin(), n, in.settings.begin());
  std::vector<std::string> lines(1);
  for (std::size_t i = n; i < data.size(); ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += static_cast<char>(data[i]);
  }
  std::string* const head[] = {&in.tableFormat, &in.headerFormat, &in.header, &in.footerFormat, &in.footer};
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (k < std::size(head))
      *head[k] = std::move(lines[k]);
    else
      in.body.push_back(std::move(lines[k]));
  }
  return in;
}

// A sheet of A4 at one of the usual resolutions, with a printable area
// inset by a few units that the settings choose.
FakePrinterDevice Printer(const Input& in) {
  static constexpr int kDpi[] = {72, 96, 150, 300, 600, 1200};
  const int dpi = kDpi[in.settings[10] % std::size(kDpi)];
  FakePrinterDevice d(dpi);
  d.physicalWidth = dpi * 827 / 100, d.physicalHeight = dpi * 1169 / 100;
  if (in.settings[11] & 1) std::swap(d.physicalWidth, d.physicalHeight);
  d.offsetX = (in.settings[11] >> 1) % 8 * dpi / 16;
  d.offsetY = (in.settings[11] >> 4) % 8 * dpi / 16;
  d.pageWidth = d.physicalWidth - 2 * d.offsetX;
  d.pageHeight = d.physicalHeight - 2 * d.offsetY;
  return d;
}

// The set of rules whose bits are set (bit k = PageBorder k). The set is
// built from a list, so absent members are stood in for by a present one.
PageBorders Borders(unsigned mask) {
  if (mask == 0) return {};
  const auto present = static_cast<PageBorder>(__builtin_ctz(mask));
  auto pick = [&](PageBorder b) { return (mask >> static_cast<unsigned>(b)) & 1 ? b : present; };
  return {pick(PageBorder::pbTop), pick(PageBorder::pbBottom), pick(PageBorder::pbLeft),
          pick(PageBorder::pbRight)};
}

void Configure(TLinePrinter& lp, const Input& in) {
  const auto& s = in.settings;
  lp.SetTabSize(s[0] % 17);
  lp.SetWordWrap(s[1] & 1);
  static constexpr TextAlignment kAlign[] = {TextAlignment::Left, TextAlignment::Right, TextAlignment::Center,
                                             TextAlignment::Left};
  lp.SetAlignment(kAlign[(s[1] >> 1) & 3]);
  lp.SetLineSpacing(static_cast<LineSpacing>((s[1] >> 3) & 3));
  if (s[1] & 32) lp.SetMeasureUnit(MeasureUnit::muMillimeters);
  const float unit = lp.measureUnit() == MeasureUnit::muMillimeters ? 25.4f : 1.0f;
  lp.SetMarginTop(s[3] / 32.0f * unit);
  lp.SetMarginBottom(s[4] / 32.0f * unit);
  lp.SetMarginLeft(s[5] / 32.0f * unit);
  lp.SetMarginRight(s[6] / 32.0f * unit);
  lp.SetBorderOffset(s[7] / 64.0f * unit);
  lp.SetDefaultColWidth(s[8] / 16.0f * unit);
  lp.SetPageBorders(Borders(s[2] & 15));
  Font font;
  font.face = "Courier New";
  font.pointSize = s[9] % 48;
  font.pixelHeight = s[9] / 48;
  lp.SetFont(font);
  lp.DateText = [] { return std::string("09.12.2024"); };
  lp.TimeText = [] { return std::string("14:05:00"); };
}

// Tabs to blanks up to the next multiple of the tab size, counted in
// characters; a size below 1 makes each tab one blank.
std::string ExpandTabs(std::string_view text, int tabSize) {
  const std::size_t stop = static_cast<std::size_t>(std::max(tabSize, 1));
  std::string out;
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t next = std::min(text.find('\t', i), text.size());
    out.append(text.substr(i, next - i));
    count += Utf8Length(text.substr(i, next - i));
    if (next == text.size()) break;
    const std::size_t blanks = stop - count % stop;
    out.append(blanks, ' ');
    count += blanks;
    i = next + 1;
  }
  return out;
}

bool IsBreak(char c) {
  return static_cast<unsigned char>(c) < 33;
}

// Where a body line may stand: at the text area's top, or where the line
// still ends above the area's bottom.
void RequireBodyPosition(const TLinePrinter& lp, const RecordingCanvas::Call& c) {
  const int y = c.y - lp.topPx();
  Require(y >= 0 && (y == 0 || y + lp.lineStep() < lp.textHeight()), "body line outside the text area");
  Require(c.x >= lp.leftPx(), "body line left of the margin");
}

// A piece fits the text width, or is the one character that must be
// printed even when nothing fits.
void RequireFits(RecordingCanvas& canvas, const TLinePrinter& lp, std::string_view piece) {
  Require(canvas.TextWidth(piece) <= lp.textWidth() || Utf8Length(piece) == 1, "piece wider than the text");
}

// The pieces of a wrapped line give the line again, less the one blank or
// control character dropped after a piece that was not cut at a break.
void RequireWrapped(RecordingCanvas& canvas, const TLinePrinter& lp, std::string_view line,
                    std::span<const RecordingCanvas::Call> pieces) {
  std::size_t pos = 0;
  for (const RecordingCanvas::Call& c : pieces) {
    Require(!c.text.empty() && line.substr(pos).starts_with(c.text), "pieces do not make the line");
    RequireFits(canvas, lp, c.text);
    pos += c.text.size();
    if (pos < line.size() && IsBreak(line[pos])) ++pos;
  }
  Require(pos == line.size(), "wrapped line lost its end");
}

// Body lines one by one, without header or footer, so that every text on
// the canvas is a piece of the line just written.
void PrintBody(const Input& in) {
  FakePrinterDevice device = Printer(in);
  TLinePrinter lp(device);
  Configure(lp, in);
  RecordingCanvas& canvas = device.recording();
  lp.BeginDoc();
  std::size_t texts = 0;
  for (const std::string& line : in.body) {
    const std::size_t from = canvas.calls.size();
    lp.WriteLine(line);
    std::vector<RecordingCanvas::Call> pieces;
    for (std::size_t i = from; i < canvas.calls.size(); ++i)
      if (canvas.calls[i].op == RecordingCanvas::Op::Text) pieces.push_back(canvas.calls[i]);
    for (const auto& c : pieces) RequireBodyPosition(lp, c);
    texts += pieces.size();
    const std::string expanded = ExpandTabs(line, lp.tabSize());
    if (expanded.empty() || canvas.TextWidth(expanded) <= lp.textWidth()) {
      Require(pieces.size() == 1 && pieces[0].text == expanded, "a fitting line was changed");
    } else if (!lp.wordWrap()) {
      Require(pieces.size() == 1 && expanded.starts_with(pieces[0].text), "a cut line is no prefix");
      RequireFits(canvas, lp, pieces[0].text);
      const std::size_t chars = Utf8Length(pieces[0].text);
      Require(canvas.TextWidth(Utf8Prefix(expanded, chars + 1)) > lp.textWidth(), "cut shorter than needed");
    } else {
      RequireWrapped(canvas, lp, expanded, pieces);
    }
  }
  lp.EndDoc();
  Require(device.pages.size() <= texts + 1, "pages without text");
}

// Header, footer, rules and the table format, with the macros.
void PrintCells(const Input& in) {
  FakePrinterDevice device = Printer(in);
  TLinePrinter lp(device);
  Configure(lp, in);
  lp.SetTitle(in.header);
  lp.SetHeader(in.settings[1] & 128 ? in.header : std::string());
  lp.SetHeaderFormat(in.headerFormat);
  lp.SetFooter(in.settings[2] & 16 ? in.footer : std::string());
  lp.SetFooterFormat(in.footerFormat);
  lp.SetTableFormat(in.tableFormat);
  lp.SetLines(in.body);
  lp.BeginDoc();
  lp.PrintLines(in.settings[1] & 64);
  lp.EndDoc();
  Require(device.jobsEnded == 1 && !device.Printing(), "job not ended");
  std::size_t texts = 0;
  for (const auto& c : device.recording().calls) texts += c.op == RecordingCanvas::Op::Text;
  Require(device.pages.size() <= texts + in.body.size() + 1, "pages without lines");
}

}  // namespace
}  // namespace komet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const komet::fuzz::Input in = komet::fuzz::Split({data, size});
  komet::fuzz::PrintBody(in);
  komet::fuzz::PrintCells(in);
  return 0;
}
