// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/qt/window_place.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace komet {

QPoint PlaceBeside(const QRect& anchor, const QSize& size, const QRect& available) {
  const int y = std::clamp(anchor.top(), available.top(),
                           std::max(available.top(), available.bottom() + 1 - size.height()));
  if (anchor.right() + 1 + size.width() <= available.right() + 1) return {anchor.right() + 1, y};
  if (anchor.left() - size.width() >= available.left()) return {anchor.left() - size.width(), y};
  // No room on either side: against the wider side's screen edge, over as
  // little of the dialog as possible.
  const bool right = available.right() - anchor.right() >= anchor.left() - available.left();
  return {right ? available.right() + 1 - size.width() : available.left(), y};
}

void MoveBeside(QWidget* window, const QWidget* anchor) {
  const QScreen* screen = anchor && anchor->isVisible() ? anchor->screen() : window->screen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  // Before the first show the frame is not known: the anchor's stands in.
  QSize frame = window->frameGeometry().size();
  if (!window->testAttribute(Qt::WA_WState_Created) || frame == window->size())
    frame = window->size() + (anchor ? anchor->frameGeometry().size() - anchor->size() : QSize());
  frame = frame.boundedTo(available.size());
  if (anchor == nullptr || !anchor->isVisible()) {
    window->move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
    return;
  }
  window->move(PlaceBeside(anchor->frameGeometry(), frame, available));
}

QSize FitOnScreen(const QSize& wanted, const QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr) return wanted;
  constexpr int kFrameRoom = 40;  // title bar and borders of a usual window manager
  return wanted.boundedTo(screen->availableGeometry().size() - QSize(kFrameRoom / 4, kFrameRoom));
}

}  // namespace komet
