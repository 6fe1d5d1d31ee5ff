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
  // Before the first show the frame is not known; the client size stands in.
  const QSize frame = window->frameGeometry().size().expandedTo(window->size()).boundedTo(available.size());
  if (anchor == nullptr || !anchor->isVisible()) {
    window->move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
    return;
  }
  window->move(PlaceBeside(anchor->frameGeometry(), frame, available));
}

}  // namespace komet
