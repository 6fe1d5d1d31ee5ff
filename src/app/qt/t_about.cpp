// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/t_about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/version.h"

namespace komet {
namespace {

constexpr QColor kNavy{0, 0, 128};

void PaintRocket(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  // Drawn on a 100 x 100 grid, nose up, tilted into its climb.
  p.translate(50, 50);
  p.rotate(30);
  p.translate(-50, -50);
  QPainterPath flame;
  flame.moveTo(42, 78);
  flame.cubicTo(40, 88, 46, 96, 50, 100);
  flame.cubicTo(54, 96, 60, 88, 58, 78);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 160, 0));
  p.drawPath(flame);
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(QColor(200, 0, 0));
  p.drawPolygon(QPolygonF({{41, 62}, {30, 80}, {41, 76}}));
  p.drawPolygon(QPolygonF({{59, 62}, {70, 80}, {59, 76}}));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(41, 30, 18, 48));
  QPainterPath nose;
  nose.moveTo(41, 30);
  nose.cubicTo(41, 16, 48, 6, 50, 4);
  nose.cubicTo(52, 6, 59, 16, 59, 30);
  nose.closeSubpath();
  p.setBrush(QColor(200, 0, 0));
  p.drawPath(nose);
  p.setBrush(kNavy);
  p.drawEllipse(QPointF(50, 44), 4, 4);
}

}  // namespace

QPixmap ProgramPicture(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.scale(size / 100.0, size / 100.0);
  PaintRocket(p);
  return pixmap;
}

TAbout::TAbout(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Info"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("ProgramIcon"));
  picture->setPixmap(ProgramPicture(96));
  auto* version = new QLabel(QStringLiteral("Komet V.:") +
                                 QString::fromLatin1(kVersionNumber.data(), qsizetype(kVersionNumber.size())),
                             this);
  version->setObjectName(QStringLiteral("Version"));
  QFont font = version->font();
  font.setPixelSize(28);
  font.setBold(true);
  version->setFont(font);
  QPalette palette = version->palette();
  palette.setColor(QPalette::WindowText, kNavy);
  version->setPalette(palette);
  // The rights and the licence, as komet-sim --version states them.
  auto* licence =
      new QLabel(QString::fromUtf8(kCopyright.data(), qsizetype(kCopyright.size())) + QStringLiteral("\n") +
                     QString::fromUtf8(kLicence.data(), qsizetype(kLicence.size())),
                 this);
  licence->setObjectName(QStringLiteral("Licence"));
  licence->setTextFormat(Qt::PlainText);
  licence->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(picture);
  top->addSpacing(12);
  top->addWidget(version, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(licence);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace komet
