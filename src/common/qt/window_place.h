// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace komet {

// Where a window of `size` stands beside `anchor` on the screen area
// `available`: right of it, else left of it, top edges level, inside the
// screen area as far as it can be.
QPoint PlaceBeside(const QRect& anchor, const QSize& size, const QRect& available);

// Moves `window` beside `anchor` on the anchor's screen, wholly on that
// screen where it fits; centred there when the anchor is not shown.
void MoveBeside(QWidget* window, const QWidget* anchor);

// `wanted`, made no larger than the screen `window` opens on leaves room for,
// frame included.
QSize FitOnScreen(const QSize& wanted, const QWidget* window);

}  // namespace komet
