// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace komet {

// The info box "Info": program name and version, the program's picture, the
// copyright and licence, and OK.
class TAbout : public QDialog {
  Q_OBJECT

 public:
  // Created hidden; shown modally by "&Info".
  explicit TAbout(QWidget* parent = nullptr);
};

// The program's picture: a model rocket climbing on its flame.
QPixmap ProgramPicture(int size);

}  // namespace komet
