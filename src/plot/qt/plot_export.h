// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>
#include <optional>
#include <string>

#include "plot/flight_plot.h"

namespace komet {

// Largest picture side the exports accept, px.
inline constexpr int kMaxExportSide = 16384;

// The plot on a white W x H surface through any painter (a widget's paint
// event, an image, an SVG). Returns the summary line as PaintBox1Paint does.
std::optional<std::string> PaintPlot(QPainter& painter, QSize size, PlotState& state, const PlotInputs& in);

// The plot as an image of the given size; a null image for a size outside
// 1..kMaxExportSide.
QImage RenderPlotImage(const PlotInputs& in, PlotState& state, QSize size);

// The plot as the bytes of a PNG file, rendered in memory so that a file is
// written only whole; empty when the size is out of range.
QByteArray RenderPlotPng(const PlotInputs& in, PlotState& state, QSize size);

// The plot as the bytes of an SVG file of the given size in pixels; empty as
// for PNG.
QByteArray RenderPlotSvg(const PlotInputs& in, PlotState& state, QSize size);

}  // namespace komet
