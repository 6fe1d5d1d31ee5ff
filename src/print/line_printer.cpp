// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/line_printer.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "common/numbers.h"
#include "common/win1252.h"

namespace komet {
namespace {

constexpr double kMillimetersPerInch = 25.4;
// The base height when the font cannot be measured (no printer).
constexpr int kFallbackLineHeight = 10;
// Lengths from user values are kept within this many device units, so that
// a few of them added never overflow an int.
constexpr int kLengthLimit = 1 << 24;

const char* const kMarginMessages[] = {
    "Unable to change top margin while printing",
    "Unable to change bottom margin while printing",
    "Unable to change left margin while printing",
    "Unable to change right margin while printing",
};

// Blanks and control characters end a piece of a wrapped line.
bool IsBreak(char c) {
  return static_cast<unsigned char>(c) < 33;
}

std::vector<std::string_view> SplitCells(std::string_view text) {
  std::vector<std::string_view> items;
  for (std::size_t bar; (bar = text.find('|')) != std::string_view::npos; text.remove_prefix(bar + 1))
    items.push_back(text.substr(0, bar));
  items.push_back(text);
  return items;
}

// Replaces every occurrence; a value holding the macro itself is not used.
template <typename MakeValue>
void ReplaceMacro(std::string& text, std::string_view macro, MakeValue makeValue) {
  std::size_t pos = text.find(macro);
  if (pos == std::string::npos) return;
  const std::string value = makeValue();
  if (value.find(macro) != std::string::npos) return;
  for (; pos != std::string::npos; pos = text.find(macro, pos + value.size()))
    text.replace(pos, macro.size(), value);
}

Font DefaultFont() {
  Font font;
  font.face = "Courier New";
  font.pointSize = 10.0;
  return font;
}

}  // namespace

TLinePrinter::TLinePrinter(PrinterDevice& device) : device_(device), font_(DefaultFont()) {
  for (Side side : {kTop, kBottom, kLeft, kRight}) margins_[side] = static_cast<float>(MinMargin(side));
  MeasureLineStep();
}

double TLinePrinter::ToUnits(int deviceUnits, int dpi) const {
  const double inches = dpi > 0 ? static_cast<double>(deviceUnits) / dpi : 0.0;
  return unit_ == MeasureUnit::muMillimeters ? inches * kMillimetersPerInch : inches;
}

int TLinePrinter::ToDevice(double value, int dpi) const {
  const double inches = unit_ == MeasureUnit::muMillimeters ? value / kMillimetersPerInch : value;
  return std::clamp(RoundToInt(dpi * inches), -kLengthLimit, kLengthLimit);
}

double TLinePrinter::MinMargin(Side side) const {
  const PrinterDevice& d = device_;
  switch (side) {
    case kTop:
      return ToUnits(d.OffsetY(), d.DpiY());
    case kBottom:
      return ToUnits(d.PhysicalHeight() - d.PageHeight() - d.OffsetY(), d.DpiY());
    case kLeft:
      return ToUnits(d.OffsetX(), d.DpiX());
    case kRight:
      return ToUnits(d.PhysicalWidth() - d.PageWidth() - d.OffsetX(), d.DpiX());
  }
  return 0.0;
}

// Subtracting in the unit first keeps a margin stored at its minimum at
// exactly 0 device units, whatever the float rounding.
int TLinePrinter::MarginPx(Side side) const {
  const int dpi = side == kTop || side == kBottom ? device_.DpiY() : device_.DpiX();
  return ToDevice(margins_[side] - MinMargin(side), dpi);
}

int TLinePrinter::leftPx() const {
  return MarginPx(kLeft);
}
int TLinePrinter::rightPx() const {
  return MarginPx(kRight);
}
int TLinePrinter::topPx() const {
  return MarginPx(kTop);
}
int TLinePrinter::bottomPx() const {
  return MarginPx(kBottom);
}
int TLinePrinter::textWidth() const {
  return device_.PageWidth() - leftPx() - rightPx();
}
int TLinePrinter::textHeight() const {
  return device_.PageHeight() - topPx() - bottomPx();
}

void TLinePrinter::SetMargin(Side side, float value) {
  if (printing_) throw ELinePrinter(kMarginMessages[side]);
  ClampMargin(side, value);
}

void TLinePrinter::ClampMargin(Side side, float value) {
  static constexpr Side kOpposite[] = {kBottom, kTop, kRight, kLeft};
  const bool vertical = side == kTop || side == kBottom;
  const double page = vertical ? ToUnits(device_.PhysicalHeight(), device_.DpiY())
                               : ToUnits(device_.PhysicalWidth(), device_.DpiX());
  double v = value;
  const double high = page - MinMargin(kOpposite[side]);
  const double low = MinMargin(side);
  if (v > high) v = high;
  if (!(v >= low)) v = low;  // also NaN
  margins_[side] = static_cast<float>(v);
}

void TLinePrinter::SetMeasureUnit(MeasureUnit unit) {
  if (printing_) throw ELinePrinter(kMarginMessages[kTop]);
  if (unit != unit_) {
    const double factor =
        unit == MeasureUnit::muMillimeters ? kMillimetersPerInch : 1.0 / kMillimetersPerInch;
    unit_ = unit;
    for (float& m : margins_) m = static_cast<float>(m * factor);
    defaultColWidth_ = static_cast<float>(defaultColWidth_ * factor);
    borderOffset_ = static_cast<float>(borderOffset_ * factor);
  }
  for (Side side : {kTop, kBottom, kLeft, kRight}) ClampMargin(side, margins_[side]);
}

void TLinePrinter::SetLineSpacing(LineSpacing spacing) {
  spacing_ = spacing;
  MeasureLineStep();
}

void TLinePrinter::SetFont(const Font& font) {
  font_ = font;
  if (printing_) canvas().SetFont(font_);
  MeasureLineStep();
}

void TLinePrinter::SetOrientation(PrinterOrientation orientation) {
  if (printing_) throw ELinePrinter("Unable to change orientation while printing");
  orientation_ = orientation;
}

void TLinePrinter::SetTitle(std::string title) {
  if (printing_) throw ELinePrinter("Unable to change title while printing");
  title_ = std::move(title);
}

void TLinePrinter::SetDefaultColWidth(float width) {
  if (width < 0) {
    defaultColWidth_ = 0;
    throw ELinePrinter("DefaultColWidth must be greater than or equal to 0");
  }
  defaultColWidth_ = width;
}

void TLinePrinter::MeasureLineStep() {
  int base = kFallbackLineHeight;
  if (printing_) {
    const FontMetrics m = canvas().Metrics();
    base = m.height + m.externalLeading;
  } else {
    base = MeasureOutsideJob();
  }
  if (base <= 0) base = kFallbackLineHeight;
  switch (spacing_) {
    case LineSpacing::lsHalfSpace:
      lineStep_ = base / 2;
      break;
    case LineSpacing::lsSingleSpace:
      lineStep_ = base;
      break;
    case LineSpacing::lsSingleAndAHalf:
      lineStep_ = base + base / 2;
      break;
    case LineSpacing::lsDoubleSpace:
      lineStep_ = 2 * base;
      break;
  }
  // A step of 0 would print every line over the last and never turn a page.
  lineStep_ = std::max(lineStep_, 1);
}

// Outside a job the canvas's font belongs to whoever printed last, so it is
// put back after the measurement.
int TLinePrinter::MeasureOutsideJob() {
  try {
    Canvas& c = canvas();
    const Font saved = c.font();
    c.SetFont(font_);
    const int height = c.TextHeight("M");
    c.SetFont(saved);
    return height > 0 ? height : kFallbackLineHeight;
  } catch (const std::exception&) {
    return kFallbackLineHeight;
  }
}

void TLinePrinter::BeginDoc() {
  if (OnBeginDoc) OnBeginDoc(*this);
  if (printing_ || !device_.BeginJob(title_)) throw ELinePrinter("Unable to begin printing.");
  printing_ = true;
  // The canvas scales a point size to the printer's resolution itself.
  canvas().SetFont(font_);
  MeasureLineStep();
  curX_ = curY_ = pageLine_ = 0;
  BeginPage();
}

void TLinePrinter::PrintLines(bool useTableFormat) {
  const bool cells = useTableFormat && !tableFormat_.empty();
  for (const std::string& line : lines_) {
    if (cells) {
      WriteCells(line);
    } else {
      WriteLine(line);
    }
  }
}

void TLinePrinter::EndDoc() {
  // A job the printer would not end cannot be continued either.
  printing_ = false;
  if (!device_.EndJob()) throw ELinePrinter("Unable to finish printing.");
  if (OnEndDoc) OnEndDoc(*this);
}

int TLinePrinter::NewLine() {
  curX_ = 0;
  curY_ += lineStep_;
  if (curY_ + lineStep_ >= textHeight()) {
    NewPage();
  } else {
    ++pageLine_;
  }
  if (OnNewLine) OnNewLine(*this);
  return pageLine_;
}

void TLinePrinter::NewPage() {
  if (!device_.NewPage()) throw ELinePrinter("Unable to print a new page.");
  BeginPage();
}

// The header stands in the middle of the top margin band and the footer in
// the middle of the bottom one. A band lower than a line cannot hold it; the
// line then keeps to the printable area, at its top or bottom edge.
void TLinePrinter::BeginPage() {
  if (!header_.empty()) {
    curY_ = std::max((topPx() - lineStep_) / 2, 0) - topPx();
    DrawCells(header_, headerFormat_);
  }
  if (!footer_.empty()) {
    const int middle = textHeight() + (bottomPx() - lineStep_) / 2;
    curY_ = std::min(middle, textHeight() + bottomPx() - lineStep_);
    DrawCells(footer_, footerFormat_);
  }
  curX_ = 0;
  curY_ = 0;
  pageLine_ = 0;
  if (OnNewPage) OnNewPage(*this);
  if (OnNewLine) OnNewLine(*this);
  DrawBorders();
}

void TLinePrinter::DrawBorders() {
  if (borders_.empty()) return;
  Canvas& c = canvas();
  const int l = leftPx(), t = topPx(), r = l + textWidth(), b = t + textHeight();
  const auto rule = [&c](int x1, int y1, int x2, int y2) {
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
  };
  Pen pen = c.pen();
  pen.width = device_.DpiY() / 300 * 2;
  c.SetPen(pen);
  const int dv = ToDevice(borderOffset_, device_.DpiY());
  if (borders_.contains(PageBorder::pbTop)) rule(l - dv, t - dv, r + dv, t - dv);
  if (borders_.contains(PageBorder::pbBottom)) rule(l - dv, b + dv, r + dv, b + dv);
  pen.width = device_.DpiX() / 300 * 2;
  c.SetPen(pen);
  const int dh = ToDevice(borderOffset_, device_.DpiX());
  if (borders_.contains(PageBorder::pbLeft)) rule(l - dh, t - dh, l - dh, b + dh);
  if (borders_.contains(PageBorder::pbRight)) rule(r + dh, t - dh, r + dh, b + dh);
}

void TLinePrinter::WriteLine(std::string_view text) {
  const std::string line = ExpandTabs(text);
  if (line.empty() || canvas().TextWidth(line) <= textWidth()) {
    DrawLine(line);
  } else if (wordWrap_) {
    WrapLine(line);
  } else {
    DrawLine(FitText(line, textWidth()));
  }
}

// Bisection over prefix lengths in code points: prefix `fits` is never wider
// than width (0 trivially), prefix `tooWide` always is.
std::string TLinePrinter::FitText(std::string_view text, int width) {
  Canvas& c = canvas();
  if (c.TextWidth(text) <= width) return std::string(text);
  std::size_t fits = 0, tooWide = Utf8Length(text);
  while (tooWide - fits > 1) {
    const std::size_t m = fits + (tooWide - fits) / 2;
    const int w = c.TextWidth(Utf8Prefix(text, m));
    if (w > width) {
      tooWide = m;
    } else {
      fits = m;
      if (w == width) break;
    }
  }
  return std::string(Utf8Prefix(text, std::max<std::size_t>(fits, 1)));
}

// Every piece holds at least one character, so the loop always ends; the
// pieces are drawn directly, since a single character wider than the text
// area would otherwise be wrapped again forever.
void TLinePrinter::WrapLine(std::string_view text) {
  const std::string expanded = ExpandTabs(text);
  std::string_view rest = expanded;
  while (!rest.empty()) {
    std::size_t take = FitText(rest, textWidth()).size(), drop = 0;
    if (take < rest.size()) {
      if (IsBreak(rest[take])) {
        drop = 1;
      } else {
        const std::string_view piece = rest.substr(0, take);
        const auto last = std::find_if(piece.rbegin(), piece.rend(), IsBreak);
        if (last != piece.rend()) take = static_cast<std::size_t>(piece.rend() - last);
      }
    }
    DrawLine(rest.substr(0, take));
    rest.remove_prefix(take + drop);
  }
}

// The page check matters only on a text area lower than one line, where
// NewLine has already turned the page; an empty page gets the line anyway.
void TLinePrinter::DrawLine(std::string_view text) {
  if (curY_ > 0 && curY_ + lineStep_ >= textHeight()) NewPage();
  const int room = textWidth() - canvas().TextWidth(text);
  curX_ = 0;
  if (room > 0 && alignment_ == TextAlignment::Right) curX_ = room;
  if (room > 0 && alignment_ == TextAlignment::Center) curX_ = room / 2;
  canvas().TextOut(leftPx() + curX_, topPx() + curY_, text);
  NewLine();
}

void TLinePrinter::WriteCells(std::string_view text) {
  DrawCells(text, tableFormat_);
  if (curY_ >= 0 && curY_ < textHeight()) NewLine();
}

// A column of no width has no room for even one character, so its cell is
// skipped, as is an empty one.
void TLinePrinter::DrawCells(std::string_view text, std::string_view format) {
  const std::vector<std::string_view> cells = SplitCells(text);
  const std::vector<std::string_view> formats = SplitCells(format);
  // Wide enough for any number of columns of the largest width.
  std::int64_t x = leftPx();
  for (std::size_t i = 0; i < formats.size(); ++i) {
    const Column column = ParseColumn(formats[i]);
    std::string cell(i < cells.size() ? cells[i] : std::string_view());
    if (cell.find("{$") != std::string::npos) cell = ExpandMacros(std::move(cell));
    if (column.width > 0 && !cell.empty()) {
      cell = FitText(cell, column.width);
      const int room = column.width - canvas().TextWidth(cell);
      int offset = 0;
      if (column.alignment == TextAlignment::Right) offset = room;
      if (column.alignment == TextAlignment::Center) offset = room / 2;
      const auto left = std::clamp<std::int64_t>(x + offset, -kLengthLimit, kLengthLimit);
      canvas().TextOut(static_cast<int>(left), topPx() + curY_, cell);
    }
    x += column.width;
  }
}

// "<" left, ">" right, "^" centre, followed by the width in the measure
// unit; any other first character means left and belongs to the width.
TLinePrinter::Column TLinePrinter::ParseColumn(std::string_view item) const {
  Column column;
  if (!item.empty() && (item[0] == '<' || item[0] == '>' || item[0] == '^')) {
    if (item[0] == '>') column.alignment = TextAlignment::Right;
    if (item[0] == '^') column.alignment = TextAlignment::Center;
    item.remove_prefix(1);
  }
  const double width = item.empty() ? defaultColWidth_ : ParseNumber(item);
  column.width = ToDevice(width, device_.DpiX());
  return column;
}

// Stops are counted in characters (code points), not widths.
std::string TLinePrinter::ExpandTabs(std::string_view text) const {
  const std::size_t stop = static_cast<std::size_t>(std::max(tabSize_, 1));
  std::string out;
  std::size_t count = 0;
  for (std::size_t tab; (tab = text.find('\t')) != std::string_view::npos; text.remove_prefix(tab + 1)) {
    const std::string_view run = text.substr(0, tab);
    out += run;
    count += Utf8Length(run);
    const std::size_t blanks = stop - count % stop;
    out.append(blanks, ' ');
    count += blanks;
  }
  out += text;
  return out;
}

std::string TLinePrinter::ExpandMacros(std::string cell) const {
  ReplaceMacro(cell, "{$LINE}", [this] { return std::to_string(pageLine_); });
  ReplaceMacro(cell, "{$PAGE}", [this] { return std::to_string(device_.PageNumber()); });
  ReplaceMacro(cell, "{$DATE}", [this] { return DateText ? DateText() : std::string(); });
  ReplaceMacro(cell, "{$TIME}", [this] { return TimeText ? TimeText() : std::string(); });
  ReplaceMacro(cell, "{$TITLE}", [this] { return title_; });
  return cell;
}

}  // namespace komet
