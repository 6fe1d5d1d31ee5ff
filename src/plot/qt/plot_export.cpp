// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/qt/plot_export.h"

#include <QFile>
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

bool RenderPlotPng(const QString& path, const PlotInputs& in, PlotState& state, QSize size) {
  const QImage image = RenderPlotImage(in, state, size);
  return !image.isNull() && image.save(path, "PNG");
}

bool RenderPlotSvg(const QString& path, const PlotInputs& in, PlotState& state, QSize size) {
  if (!SizeOk(size)) return false;
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  QSvgGenerator generator;
  generator.setOutputDevice(&file);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(QStringLiteral("Komet"));
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  PaintPlot(painter, size, state, in);
  return painter.end() && file.error() == QFileDevice::NoError;
}

}  // namespace komet
