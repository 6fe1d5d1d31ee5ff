// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/error_report.h"

#include <QMessageBox>

namespace komet {

void ShowErrorReport(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QStringLiteral("Komet"), text);
}

bool KometApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowErrorReport(activeWindow(), QString::fromUtf8(e.what()));
  }
  return false;
}

}  // namespace komet
