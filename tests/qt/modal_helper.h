#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace komet::testing {

// Calls `answer` with the next modal window of type T as soon as it shows.
// If none shows within about five seconds, whatever modal window is open is
// closed, so a broken flow fails its test instead of hanging it.
template <typename T>
void WhenModal(std::function<void(T*)> answer, int triesLeft = 500) {
  QTimer::singleShot(10, [answer = std::move(answer), triesLeft]() mutable {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* w = qobject_cast<T*>(modal); w && w->isVisible()) return answer(w);
    if (triesLeft > 0) return WhenModal<T>(std::move(answer), triesLeft - 1);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  });
}

}  // namespace komet::testing
