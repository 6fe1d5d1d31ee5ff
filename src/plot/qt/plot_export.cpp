// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/qt/plot_export.h"

#include <QBuffer>
#include <QSvgGenerator>

#include "common/qt/qpainter_canvas.h"

namespace komet {
namespace {

bool SizeOk(QSize size) {
  return size.width() >= 1 && size.height() >= 1 && size.width() <= kMaxExportSide &&
         size.height() <= kMaxExportSide;
}

}  // namespace

std::optional<std::string> PaintPlot(QPainter& painter, QSize size, PlotState& state, const PlotInputs& in) {
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  QPainterCanvas canvas(painter);
  return PaintBox1Paint(canvas, size.width(), size.height(), state, in);
}

QImage RenderPlotImage(const PlotInputs& in, PlotState& state, QSize size) {
  if (!SizeOk(size)) return {};
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  PaintPlot(painter, size, state, in);
  painter.end();
  return image;
}

QByteArray RenderPlotPng(const PlotInputs& in, PlotState& state, QSize size) {
  const QImage image = RenderPlotImage(in, state, size);
  QBuffer buffer;
  if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
  return buffer.data();
}

QByteArray RenderPlotSvg(const PlotInputs& in, PlotState& state, QSize size) {
  if (!SizeOk(size)) return {};
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(QStringLiteral("Komet"));
  QPainter painter;
  if (!painter.begin(&generator)) return {};
  PaintPlot(painter, size, state, in);
  if (!painter.end()) return {};
  return buffer.data();
}

}  // namespace komet
