// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/canvas.h"
#include "common/komet_error.h"
#include "common/printer_device.h"

namespace komet {

// The line printer's error. Its texts are the component's own English ones.
class ELinePrinter : public KometError {
 public:
  explicit ELinePrinter(const std::string& message) : KometError(Kind::Printer, message) {}
};

enum class MeasureUnit { muInches, muMillimeters };
enum class LineSpacing { lsHalfSpace, lsSingleSpace, lsSingleAndAHalf, lsDoubleSpace };
enum class PageBorder { pbTop, pbBottom, pbLeft, pbRight };
enum class TextAlignment { Left, Right, Center };
enum class PrinterOrientation { Portrait, Landscape };

// A set of the rules drawn around the text area.
class PageBorders {
 public:
  constexpr PageBorders() = default;
  constexpr PageBorders(std::initializer_list<PageBorder> borders) {
    for (PageBorder b : borders) bits_ |= Bit(b);
  }
  // True when the set holds the border.
  constexpr bool contains(PageBorder b) const { return (bits_ & Bit(b)) != 0; }
  // True when no rule is drawn.
  constexpr bool empty() const { return bits_ == 0; }
  friend constexpr bool operator==(PageBorders, PageBorders) = default;

 private:
  static constexpr unsigned Bit(PageBorder b) { return 1u << static_cast<unsigned>(b); }
  unsigned bits_ = 0;
};

// Prints a list of text lines on a printer, page after page, inside margins,
// with tab expansion, word wrap, a column-formatted header and footer and
// rules around the text area. Usage: set the properties, BeginDoc,
// PrintLines, EndDoc. Output calls are valid only between BeginDoc and EndDoc.
//
// Lengths are in device units of the printable area unless said otherwise;
// margins, column widths and the border offset are in measureUnit().
class TLinePrinter {
 public:
  using Notify = std::function<void(TLinePrinter&)>;
  using TextSource = std::function<std::string()>;

  // Margins start at the device's unprintable border, the font at Courier
  // New 10 pt; the device must outlive the printer.
  explicit TLinePrinter(PrinterDevice& device);
  TLinePrinter(const TLinePrinter&) = delete;
  TLinePrinter& operator=(const TLinePrinter&) = delete;

  // Margins: the text area's distance from the paper edge. Setting one clamps
  // it between the minimum of its side and the page less the opposite minimum;
  // throws ELinePrinter while a job is open.
  float marginTop() const { return margins_[kTop]; }
  float marginBottom() const { return margins_[kBottom]; }
  float marginLeft() const { return margins_[kLeft]; }
  float marginRight() const { return margins_[kRight]; }
  void SetMarginTop(float value) { SetMargin(kTop, value); }
  void SetMarginBottom(float value) { SetMargin(kBottom, value); }
  void SetMarginLeft(float value) { SetMargin(kLeft, value); }
  void SetMarginRight(float value) { SetMargin(kRight, value); }

  // The unprintable border on each side, in measureUnit().
  double minMarginTop() const { return MinMargin(kTop); }
  double minMarginBottom() const { return MinMargin(kBottom); }
  double minMarginLeft() const { return MinMargin(kLeft); }
  double minMarginRight() const { return MinMargin(kRight); }

  // Unit of margins, column widths and border offset.
  MeasureUnit measureUnit() const { return unit_; }
  // Converts margins, DefaultColWidth and BorderOffset, then re-applies the
  // margin limits (also when unchanged); throws ELinePrinter while printing.
  void SetMeasureUnit(MeasureUnit unit);

  // Line step factor; setting it measures the step again.
  LineSpacing lineSpacing() const { return spacing_; }
  void SetLineSpacing(LineSpacing spacing);

  // Tab stops every this many characters; below 1 a tab becomes one blank.
  int tabSize() const { return tabSize_; }
  void SetTabSize(int size) { tabSize_ = size; }

  // Wrap lines wider than the text area at blanks (true) or cut them (false).
  bool wordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap) { wordWrap_ = wrap; }

  // The lines PrintLines prints.
  const std::vector<std::string>& lines() const { return lines_; }
  void SetLines(std::vector<std::string> lines) { lines_ = std::move(lines); }

  // Horizontal placement of body lines.
  TextAlignment alignment() const { return alignment_; }
  void SetAlignment(TextAlignment alignment) { alignment_ = alignment; }

  // Header and footer lines (empty: none) and their column formats.
  const std::string& header() const { return header_; }
  void SetHeader(std::string text) { header_ = std::move(text); }
  const std::string& headerFormat() const { return headerFormat_; }
  void SetHeaderFormat(std::string format) { headerFormat_ = std::move(format); }
  const std::string& footer() const { return footer_; }
  void SetFooter(std::string text) { footer_ = std::move(text); }
  const std::string& footerFormat() const { return footerFormat_; }
  void SetFooterFormat(std::string format) { footerFormat_ = std::move(format); }

  // Rules drawn around the text area on every page.
  PageBorders pageBorders() const { return borders_; }
  void SetPageBorders(PageBorders borders) { borders_ = borders; }

  // Font of all output. Setting it (whole or changed) measures the step
  // again; while printing it is applied to the canvas at once.
  const Font& font() const { return font_; }
  void SetFont(const Font& font);

  // Kept for the window layer, which applies it to the printer before the
  // job; throws ELinePrinter while printing.
  PrinterOrientation orientation() const { return orientation_; }
  void SetOrientation(PrinterOrientation orientation);

  // The job's title, also the {$TITLE} macro; throws ELinePrinter while printing.
  const std::string& title() const { return title_; }
  void SetTitle(std::string title);

  // Column format of cell-formatted body lines ("<5|>1|^2").
  const std::string& tableFormat() const { return tableFormat_; }
  void SetTableFormat(std::string format) { tableFormat_ = std::move(format); }

  // Width of a column whose format gives none; a negative value is stored as
  // 0 and throws ELinePrinter.
  float defaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(float width);

  // Distance of the rules from the text area.
  float borderOffset() const { return borderOffset_; }
  void SetBorderOffset(float offset) { borderOffset_ = offset; }

  // Notifications: before the job begins, at every page start (OnNewPage then
  // OnNewLine), after every line advance, after the job has ended.
  Notify OnBeginDoc, OnEndDoc, OnNewLine, OnNewPage;
  // Texts of the {$DATE} and {$TIME} macros (the user's short date and long
  // time); unset gives an empty text.
  TextSource DateText, TimeText;

  // The text area's distance from the printable area's edges.
  int leftPx() const;
  int rightPx() const;
  int topPx() const;
  int bottomPx() const;
  // Size of the text area (zero or negative when the margins leave none).
  int textWidth() const;
  int textHeight() const;

  // Vertical advance per line (at least 1).
  int lineStep() const { return lineStep_; }
  // Offset of the next output from the text area's top-left corner.
  int curX() const { return curX_; }
  int curY() const { return curY_; }
  // Lines advanced on the current page.
  int pageLine() const { return pageLine_; }
  // True between BeginDoc and EndDoc.
  bool printing() const { return printing_; }

  // Calls OnBeginDoc, opens the job, applies the font, measures the line step
  // and begins the first page; throws ELinePrinter "Unable to begin printing.".
  void BeginDoc();
  // Prints every line of lines(): by WriteCells when useTableFormat and a
  // table format is set, else by WriteLine.
  void PrintLines(bool useTableFormat);
  // Ends the job, which sends the last page, then calls OnEndDoc; throws
  // ELinePrinter "Unable to finish printing." (the job counts as closed).
  void EndDoc();

  // Prints one body line: tabs expanded, then wrapped or cut to the text width.
  void WriteLine(std::string_view text);
  // The longest prefix of text no wider than width, at least one character.
  std::string FitText(std::string_view text, int width);
  // Prints text as lines of the text width, broken after blanks and control
  // characters, or hard where a piece has none.
  void WrapLine(std::string_view text);
  // Advances one line, starting a new page when the next line would reach
  // the text area's bottom; returns pageLine().
  int NewLine();
  // Starts a new page; throws ELinePrinter "Unable to print a new page.".
  void NewPage();
  // Prints header, footer and rules of a fresh page and resets the position;
  // BeginDoc and NewPage call it.
  void BeginPage();
  // Prints text split at "|" into the columns of tableFormat(), then advances.
  void WriteCells(std::string_view text);

 private:
  enum Side { kTop, kBottom, kLeft, kRight };
  struct Column {
    TextAlignment alignment = TextAlignment::Left;
    int width = 0;  // device units
  };

  Canvas& canvas() { return device_.canvas(); }
  double ToUnits(int deviceUnits, int dpi) const;
  int ToDevice(double value, int dpi) const;
  double MinMargin(Side side) const;
  int MarginPx(Side side) const;
  void SetMargin(Side side, float value);
  void ClampMargin(Side side, float value);

  void MeasureLineStep();
  int MeasureOutsideJob();
  void DrawLine(std::string_view text);
  void DrawCells(std::string_view text, std::string_view format);
  Column ParseColumn(std::string_view item) const;
  std::string ExpandTabs(std::string_view text) const;
  std::string ExpandMacros(std::string cell) const;
  void DrawBorders();

  PrinterDevice& device_;
  float margins_[4] = {0, 0, 0, 0};
  MeasureUnit unit_ = MeasureUnit::muInches;
  LineSpacing spacing_ = LineSpacing::lsSingleSpace;
  int tabSize_ = 8;
  bool wordWrap_ = true;
  std::vector<std::string> lines_;
  TextAlignment alignment_ = TextAlignment::Left;
  std::string header_, headerFormat_, footer_, footerFormat_;
  PageBorders borders_;
  Font font_;
  PrinterOrientation orientation_ = PrinterOrientation::Portrait;
  std::string title_, tableFormat_;
  float defaultColWidth_ = 0, borderOffset_ = 0;

  int lineStep_ = 10;
  int curX_ = 0, curY_ = 0, pageLine_ = 0;
  bool printing_ = false;
};

}  // namespace komet
