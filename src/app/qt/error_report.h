// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QString>
#include <exception>

class QWidget;

namespace komet {

// The general error report: a message box titled "Komet" with the text of
// the error that ended a command.
void ShowErrorReport(QWidget* parent, const QString& text);

// Runs a command handler; an exception escaping it is reported and the
// program goes on.
template <typename Handler>
void ReportErrors(QWidget* parent, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowErrorReport(parent, QString::fromUtf8(e.what()));
  }
}

// The application of the desktop program: an exception escaping any event
// handler is reported instead of ending the program.
class KometApplication : public QApplication {
 public:
  KometApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  // Delivers the event; an exception from its handler is reported, the
  // event counts as not handled.
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace komet
