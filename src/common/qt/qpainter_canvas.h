// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QPoint>
#include <QPolygon>

#include "common/canvas.h"

namespace komet {

// The one Canvas of the window layer: draws on an active QPainter, whatever
// its device (widget, QImage, QPrinter, PDF writer, SVG generator).
// Coordinates are device units; lines are drawn without antialiasing.
// Consecutive LineTo calls with one pen are gathered into one polyline (a
// curve is thousands of segments); Flush or the destructor draws what is
// pending, so flush before ending the painter if the canvas lives on.
class QPainterCanvas final : public Canvas {
 public:
  // The painter must stay alive (and be active while drawing).
  explicit QPainterCanvas(QPainter& painter);
  ~QPainterCanvas() override;
  QPainterCanvas(const QPainterCanvas&) = delete;
  QPainterCanvas& operator=(const QPainterCanvas&) = delete;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void SetPen(const Pen& pen) override;
  const Pen& pen() const override { return pen_; }
  void SetFont(const Font& font) override;
  const Font& font() const override { return font_; }
  void SetTextBackground(std::optional<Color> color) override { background_ = color; }
  void TextOut(int x, int y, std::string_view text) override;
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;  // the cell height
  FontMetrics Metrics() override;
  void SetClip(std::optional<std::array<int, 4>> rect) override;

  // Draws the pending polyline.
  void Flush();
  // Puts the current pen and font on the painter again, e.g. after begin().
  void Apply();

 private:
  void DrawDot(QPoint at);

  QPainter& painter_;
  Pen pen_;
  Font font_;
  std::optional<Color> background_;
  QPoint current_;
  QPolygon pending_;  // the polyline being gathered, from its start point
};

// The QFont of a canvas font: Arial falls back to the metric-compatible
// Liberation Sans; points when pointSize > 0, else the pixel height.
QFont ToQFont(const Font& font);

}  // namespace komet
