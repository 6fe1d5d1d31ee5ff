// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "motors/motor_record.h"

namespace komet {

// A small surface with one motor's thrust curve, drawn as the curve viewer
// draws it; empty until a motor is set.
class MotorCurveWidget : public QWidget {
  Q_OBJECT

 public:
  explicit MotorCurveWidget(char decimalSeparator, QWidget* parent = nullptr);

  // Shows `motor`; nullptr clears the surface.
  void setMotor(const MotorRecord* motor);
  const MotorRecord* motor() const { return motor_; }

  QSize sizeHint() const override { return {260, 210}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  char decimalSeparator_;
  const MotorRecord* motor_ = nullptr;
};

}  // namespace komet
