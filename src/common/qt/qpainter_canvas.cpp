// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/qt/qpainter_canvas.h"

#include <QFontMetrics>
#include <QPen>
#include <QString>

#include "common/qt/qt_text.h"

namespace komet {
namespace {

QColor ToQColor(Color c) {
  return QColor(c.r, c.g, c.b);
}

QPen ToQPen(const Pen& p) {
  QPen pen(ToQColor(p.color));
  pen.setWidth(std::max(p.width, 1));
  pen.setStyle(p.style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
  // Round ends: a zero-length line of a wide pen is a dot, as the origin mark needs.
  pen.setCapStyle(p.width > 1 ? Qt::RoundCap : Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

}  // namespace

QFont ToQFont(const Font& f) {
  QFont font;
  const QString face = QString::fromStdString(f.face);
  QStringList families{face};
  if (face.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
    families << QStringLiteral("Liberation Sans");
  families << QStringLiteral("Sans Serif");
  font.setFamilies(families);
  if (f.pointSize > 0)
    font.setPointSizeF(f.pointSize);
  else
    font.setPixelSize(std::max(f.pixelHeight, 1));
  font.setBold(f.bold);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QPainterCanvas::QPainterCanvas(QPainter& painter) : painter_(painter) {
  Apply();
}

QPainterCanvas::~QPainterCanvas() {
  Flush();
}

void QPainterCanvas::Flush() {
  if (pending_.size() >= 2 && painter_.isActive()) painter_.drawPolyline(pending_);
  pending_.clear();
}

void QPainterCanvas::Apply() {
  if (!painter_.isActive()) return;
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setBrush(Qt::NoBrush);
  painter_.setPen(ToQPen(pen_));
  painter_.setFont(ToQFont(font_));
}

void QPainterCanvas::MoveTo(int x, int y) {
  const QPoint to(x, y);
  if (to != current_) Flush();
  current_ = to;
}

void QPainterCanvas::LineTo(int x, int y) {
  const QPoint to(x, y);
  if (to == current_ && pen_.width > 1) {
    Flush();
    DrawDot(to);
    return;
  }
  if (pending_.isEmpty()) pending_ << current_;
  pending_ << to;
  current_ = to;
}

// Qt draws nothing for a zero-length line, and an unsmoothed wide point
// comes out square: the dot of a wide pen is set row by row, the pixels
// whose centres lie in a disc as wide as the pen.
void QPainterCanvas::DrawDot(QPoint at) {
  const int w = pen_.width;
  const double odd = w % 2 == 1 ? 0.5 : 0.0;  // an odd dot centres on the pixel, an even one on its corner
  const double cy = at.y() + odd, r2 = w * w / 4.0;
  for (int y = at.y() - w / 2; y <= at.y() + w / 2; ++y) {
    const double dy = y + 0.5 - cy;
    int half = -1;  // the row reaches from cx - half - odd to cx + half + odd
    while ((half + 1 + 0.5 - odd) * (half + 1 + 0.5 - odd) + dy * dy <= r2) ++half;
    if (half < 0) continue;
    const int left = at.x() - half - (w % 2 == 1 ? 0 : 1);
    painter_.fillRect(QRect(left, y, at.x() + half - left + 1, 1), ToQColor(pen_.color));
  }
}

void QPainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Flush();
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(
      QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))));
}

// Curves set their pen before every segment; only a change reaches Qt.
void QPainterCanvas::SetPen(const Pen& pen) {
  if (pen == pen_) return;
  Flush();
  pen_ = pen;
  painter_.setPen(ToQPen(pen_));
}

void QPainterCanvas::SetFont(const Font& font) {
  if (font == font_) return;
  font_ = font;
  painter_.setFont(ToQFont(font_));
}

void QPainterCanvas::TextOut(int x, int y, std::string_view text) {
  Flush();
  const QString s = ToQ(text);
  const QFontMetrics fm = painter_.fontMetrics();
  if (background_)
    painter_.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), ToQColor(*background_));
  painter_.setPen(ToQColor(font_.color));
  painter_.drawText(QPoint(x, y + fm.ascent()), s);
  painter_.setPen(ToQPen(pen_));
}

int QPainterCanvas::TextWidth(std::string_view text) {
  return painter_.fontMetrics().horizontalAdvance(ToQ(text));
}

int QPainterCanvas::TextHeight(std::string_view) {
  return painter_.fontMetrics().height();
}

FontMetrics QPainterCanvas::Metrics() {
  const QFontMetrics fm = painter_.fontMetrics();
  return {fm.height(), fm.ascent(), fm.descent(), fm.leading()};
}

void QPainterCanvas::SetClip(std::optional<std::array<int, 4>> r) {
  if (!r) {
    painter_.setClipping(false);
    return;
  }
  painter_.setClipRect(QRect(QPoint((*r)[0], (*r)[1]), QPoint((*r)[2], (*r)[3])));
}

}  // namespace komet
