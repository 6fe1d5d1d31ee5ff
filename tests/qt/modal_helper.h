// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
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

// Accepts a file dialog with `path` as if it were typed: the name field is
// set and the dialog accepted in one go, so nothing the dialog does later
// (it fills the field once it has read its folder) can overwrite the choice.
inline void AcceptFileDialog(QFileDialog* dialog, const QString& path) {
  if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    name->setText(path);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept reads the name field
    return;
  }
  dialog->selectFile(path);
  static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
}

// Accepts the next message box as soon as it shows and keeps its text, and
// its informative text on a line of its own where it has one.
inline void CloseNextMessageBox(QString* text) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, text] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      *text = box->text();
      if (!box->informativeText().isEmpty()) *text += "\n" + box->informativeText();
      box->accept();
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(10);
}

}  // namespace komet::testing
