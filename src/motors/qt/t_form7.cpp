// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/qt/t_form7.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

#include "common/komet_error.h"
#include "common/qt/qpainter_canvas.h"
#include "motors/curve_viewer.h"
#include "motors/motor_database.h"

namespace komet {
namespace {

// The paint surface at the initial size.
constexpr int kClientWidth = 260;
constexpr int kClientHeight = 210;

}  // namespace

TForm7::TForm7(PathSource database, char decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Tool), database_(std::move(database)), decimalSeparator_(decimalSeparator) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(QStringLiteral("Motorendaten"));
  resize(kClientWidth, kClientHeight);
}

void TForm7::ShowMotor(int recordNo) {
  recordNo_ = recordNo;
  if (shown_ == 0) {
    const bool alreadyActive = isVisible() && isActiveWindow();
    if (!isVisible()) placeBesideParent();
    show();
    raise();
    activateWindow();
    // An active window gets no new activation, which would do the reading.
    if (alreadyActive) FormActivate();
    return;
  }
  if (recordNo == -1) return;
  ReadMotor();
  shown_ = 1;
  update();
}

// Beside the stage dialog, so that its buttons stay in reach; centred when
// there is no dialog to stand beside.
void TForm7::placeBesideParent() {
  const QScreen* s = screen();
  if (s == nullptr) return;
  const QWidget* anchor = parentWidget();
  if (anchor == nullptr || !anchor->isVisible()) {
    move(s->availableGeometry().center() - rect().center());
    return;
  }
  const QSize frame = frameGeometry().size().expandedTo(size());
  move(PlaceBeside(anchor->frameGeometry(), frame, s->availableGeometry()));
}

bool TForm7::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(event);
}

void TForm7::FormActivate() {
  if (recordNo_ == -1) {
    if (shown_ > 0) close();
    shown_ = 0;
    return;
  }
  try {
    ReadMotor();
  } catch (const KometError& e) {
    // Every activation would read again, and closing the message activates
    // the viewer: it gives up the record instead of asking forever.
    recordNo_ = -1;
    const QString text = QString::fromUtf8(e.what());
    QMetaObject::invokeMethod(
        this, [this, text] { QMessageBox::critical(this, QStringLiteral("Komet"), text); },
        Qt::QueuedConnection);
    return;
  }
  shown_ = 1;
  update();
}

void TForm7::ReadMotor() {
  if (recordNo_ == -1) return;
  // A record number past the end reads nothing and keeps the buffer.
  ReadMotorRecord(database_(), recordNo_, motor_);
  // The details get a band of their own below the curve, so the curve keeps
  // the surface it is drawn on.
  const int band = MotorDetailBand(motor_);
  if (band != band_) {
    resize(width(), height() - band_ + band);
    band_ = band;
  }
  // The detail lines are not wrapped: the window grows to show them whole.
  if (const int wanted = DetailWidth(); wanted > width()) {
    resize(wanted, height());
    // Grown beside the stage dialog, it may now reach past the screen.
    if (isVisible() && screen() && !screen()->availableGeometry().contains(frameGeometry()))
      placeBesideParent();
  }
}

// Measured with the painter the window paints with, so the fonts agree.
int TForm7::DetailWidth() const {
  const std::vector<std::string> lines = MotorDetailLines(motor_, decimalSeparator_);
  if (lines.empty()) return 0;
  QPixmap scratch(1, 1);  // the screen's resolution, as the window's
  QPainter painter(&scratch);
  QPainterCanvas canvas(painter);
  PaintMotorDetails(canvas, 0, motor_, decimalSeparator_);  // sets the band's font
  int widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, canvas.TextWidth(line));
  const int margin = 8;  // the band's text starts 4 pixels in; as much to the right
  const QScreen* s = screen();
  return std::min(widest + margin, s ? s->availableGeometry().width() : widest + margin);
}

void TForm7::hideEvent(QHideEvent* event) {
  shown_ = 0;
  QWidget::hideEvent(event);
}

void TForm7::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QPainterCanvas canvas(painter);
  const int curveHeight = height() - band_;
  const QString caption = QString::fromStdString(
      PaintMotorCurve(canvas, width(), curveHeight, motor_, recordNo_, decimalSeparator_));
  if (recordNo_ != -1 && band_ > 0) PaintMotorDetails(canvas, curveHeight, motor_, decimalSeparator_);
  if (caption != windowTitle()) setWindowTitle(caption);
}

}  // namespace komet
