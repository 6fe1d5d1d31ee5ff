// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/motor_curve_widget.h"

#include <QPainter>

#include "common/qt/qpainter_canvas.h"
#include "motors/curve_viewer.h"

namespace komet {

MotorCurveWidget::MotorCurveWidget(char decimalSeparator, QWidget* parent)
    : QWidget(parent), decimalSeparator_(decimalSeparator) {
  setObjectName(QStringLiteral("Schubkurve"));
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
  setMinimumSize(200, 160);
}

void MotorCurveWidget::setMotor(const MotorRecord* motor) {
  motor_ = motor;
  update();
}

void MotorCurveWidget::paintEvent(QPaintEvent*) {
  if (!motor_) return;
  QPainter painter(this);
  QPainterCanvas canvas(painter);
  // The table beside it shows the details; the surface is the curve alone.
  PaintMotorCurve(canvas, width(), height(), *motor_, 0, decimalSeparator_);
}

}  // namespace komet
