// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>

#include "common/qt/window_place.h"
#include "motors/motor_record.h"

namespace komet {

// The motor curve viewer "Motorendaten": a small tool window with the
// thrust curve of one database record, opened from the stage dialog's motor
// buttons. Reading the record can throw KometError; callers report it.
class TForm7 : public QWidget {
  Q_OBJECT

 public:
  using PathSource = std::function<std::filesystem::path()>;

  // `database` gives the motor database path at every read.
  TForm7(PathSource database, char decimalSeparator, QWidget* parent = nullptr);

  // A motor button: shows the window, or rereads and redraws a shown one
  // (-1 keeps the motor it shows). Throws KometError when the read fails.
  void ShowMotor(int recordNo);

  int recordNo() const { return recordNo_; }
  // 1 while a motor is shown, 0 after creation, closing or hiding.
  int shownFlag() const { return shown_; }
  // The record last read; all zero before the first read.
  const MotorRecord& motor() const { return motor_; }

 protected:
  bool event(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;  // PaintBox1Paint

 private:
  void FormActivate();
  void ReadMotor();
  // The width the detail lines need; 0 without details.
  int DetailWidth() const;
  void placeBesideParent();

  PathSource database_;
  char decimalSeparator_;
  int recordNo_ = -1;
  int shown_ = 0;
  int band_ = 0;  // height of the details band below the curve
  MotorRecord motor_{};
};

}  // namespace komet
