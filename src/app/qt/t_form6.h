// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "app/prompts.h"

class QLabel;
class QPushButton;

namespace komet {

// The save prompt "Raketendaten geändert": a file name line, a question and
// "&OK", "&Nein", "&Abbrechen". Closing it by the frame answers Cancel.
class TForm6 : public QDialog {
  Q_OBJECT

 public:
  // Created hidden with both lines empty.
  explicit TForm6(QWidget* parent = nullptr);

  void SetLabel1(const QString& question);  // the bold question
  void SetLabel2(const QString& line);      // the small line above it
  // Shows the prompt modally and returns the answer. The dialog keeps its
  // size unless the question needs a second line.
  SaveAnswer Ask();

 private:
  void fitTexts();

  enum Result { kCancel = QDialog::Rejected, kOk = QDialog::Accepted, kNo };

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QString label2Text_;             // Label2 before eliding
  QPushButton* BitBtn1 = nullptr;  // &OK
  QPushButton* BitBtn2 = nullptr;  // &Nein
  QPushButton* BitBtn3 = nullptr;  // &Abbrechen
};

}  // namespace komet
