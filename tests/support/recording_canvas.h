// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "common/canvas.h"
#include "common/numbers.h"
#include "common/printer_device.h"
#include "common/win1252.h"

namespace komet::testing {

// A canvas that remembers every call, for checking drawings without a
// screen. Text is measured as characters x half the character height.
class RecordingCanvas : public Canvas {
 public:
  enum class Op { Move, Line, Rect, Text };
  struct Call {
    Op op;
    int x = 0, y = 0;    // Move/Text: the point; Line: the end; Rect: a corner
    int x0 = 0, y0 = 0;  // Line: the start; Rect: the other corner
    std::string text;
    Pen pen;
    Font font;
  };

  explicit RecordingCanvas(int dpi = 96) : dpi_(dpi) {}

  void MoveTo(int x, int y) override {
    calls.push_back({Op::Move, x, y, x, y, {}, pen_, font_});
    cx_ = x, cy_ = y;
  }
  void LineTo(int x, int y) override {
    calls.push_back({Op::Line, x, y, cx_, cy_, {}, pen_, font_});
    cx_ = x, cy_ = y;
  }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    calls.push_back({Op::Rect, x1, y1, x2, y2, {}, pen_, font_});
  }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  const Pen& pen() const override { return pen_; }
  void SetFont(const Font& font) override { font_ = font; }
  const Font& font() const override { return font_; }
  void SetTextBackground(std::optional<Color> c) override { background = c; }
  void TextOut(int x, int y, std::string_view text) override {
    calls.push_back({Op::Text, x, y, x, y, std::string(text), pen_, font_});
  }
  int TextWidth(std::string_view text) override { return static_cast<int>(Utf8Length(text)) * CharWidth(); }
  int TextHeight(std::string_view) override { return CharHeight(); }
  FontMetrics Metrics() override {
    const int h = CharHeight();
    return {h + h / 5, h, h / 5, h / 10};
  }

  int CharHeight() const {
    return font_.pointSize > 0 ? RoundToInt(font_.pointSize * dpi_ / 72.0) : font_.pixelHeight;
  }
  int CharWidth() const { return std::max(1, CharHeight() / 2); }

  std::vector<Call> Lines() const { return Filter(Op::Line); }
  std::vector<Call> Texts() const { return Filter(Op::Text); }
  std::vector<Call> Filter(Op op) const {
    std::vector<Call> out;
    for (const Call& c : calls)
      if (c.op == op) out.push_back(c);
    return out;
  }
  // The first text call whose text equals `text`, or nullptr.
  const Call* FindText(std::string_view text) const {
    for (const Call& c : calls)
      if (c.op == Op::Text && c.text == text) return &c;
    return nullptr;
  }

  std::vector<Call> calls;
  std::optional<Color> background;

 private:
  int dpi_;
  int cx_ = 0, cy_ = 0;
  Pen pen_;
  Font font_;
};

// A printer with chosen figures; records every page's drawing.
class FakePrinterDevice : public PrinterDevice {
 public:
  int dpiX = 600, dpiY = 600;
  int pageWidth = 4800, pageHeight = 6800;
  int physicalWidth = 4960, physicalHeight = 7016;
  int offsetX = 80, offsetY = 100;
  bool refuseBegin = false, refuseNewPage = false, refuseEnd = false;

  FakePrinterDevice() : canvas_(600) {}
  explicit FakePrinterDevice(int dpi) : dpiX(dpi), dpiY(dpi), canvas_(dpi) {}

  int DpiX() const override { return dpiX; }
  int DpiY() const override { return dpiY; }
  int PageWidth() const override { return pageWidth; }
  int PageHeight() const override { return pageHeight; }
  int PhysicalWidth() const override { return physicalWidth; }
  int PhysicalHeight() const override { return physicalHeight; }
  int OffsetX() const override { return offsetX; }
  int OffsetY() const override { return offsetY; }

  bool BeginJob(std::string_view t) override {
    if (refuseBegin || printing_) return false;
    printing_ = true, page_ = 1, title = std::string(t), pages = {0};
    return true;
  }
  bool NewPage() override {
    if (refuseNewPage || !printing_) return false;
    ++page_;
    pages.push_back(canvas_.calls.size());
    return true;
  }
  bool EndJob() override {
    if (refuseEnd || !printing_) return false;
    printing_ = false, ++jobsEnded;
    return true;
  }
  bool Printing() const override { return printing_; }
  int PageNumber() const override { return page_; }
  Canvas& canvas() override { return canvas_; }
  RecordingCanvas& recording() { return canvas_; }

  std::string title;
  std::vector<std::size_t> pages;  // index of each page's first call
  int jobsEnded = 0;

 private:
  RecordingCanvas canvas_;
  bool printing_ = false;
  int page_ = 0;
};

}  // namespace komet::testing
