#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
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

// Accepts a file dialog with `path` once the dialog shows it steadily: the
// dialog fills its name field late, when it has read its folder, and would
// overwrite a choice made before that.
inline void AcceptFileDialog(QFileDialog* dialog, const QString& path, int triesLeft = 200, int steady = 0) {
  dialog->selectFile(path);
  const bool shows = dialog->selectedFiles().value(0) == path;
  if ((shows && steady >= 3) || triesLeft == 0) {
    static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    return;
  }
  QTimer::singleShot(20, dialog,
                     [=] { AcceptFileDialog(dialog, path, triesLeft - 1, shows ? steady + 1 : 0); });
}

}  // namespace komet::testing
