// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/t_form6.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace komet {
namespace {

constexpr int kClientWidth = 399;
constexpr int kClientHeight = 114;

QFont Scaled(QFont font, double factor, bool bold) {
  if (font.pointSizeF() > 0)
    font.setPointSizeF(font.pointSizeF() * factor);
  else
    font.setPixelSize(static_cast<int>(font.pixelSize() * factor));
  font.setBold(bold);
  return font;
}

}  // namespace

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Raketendaten geändert"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  Label2 = new QLabel(this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setAlignment(Qt::AlignCenter);
  Label2->setFont(Scaled(Label2->font(), 0.85, false));
  Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setFont(Scaled(Label1->font(), 1.2, true));
  // A question wider than the dialog goes on in a second line.
  Label1->setWordWrap(true);

  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("&OK"), this);
  BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogNoButton), QStringLiteral("&Nein"), this);
  BitBtn3 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                            QStringLiteral("&Abbrechen"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { done(kOk); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { done(kNo); });
  connect(BitBtn3, &QPushButton::clicked, this, [this] { done(kCancel); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3}) buttons->addWidget(b);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label2);
  layout->addWidget(Label1);
  layout->addStretch(1);
  layout->addLayout(buttons);
}

void TForm6::SetLabel1(const QString& question) {
  Label1->setText(question);
}

void TForm6::SetLabel2(const QString& line) {
  label2Text_ = line;
  Label2->setText(line);
  Label2->setToolTip(QString());
}

// A long path loses its middle, so that the file name stays in sight; the
// tooltip has all of it.
void TForm6::fitTexts() {
  const QMargins margins = layout()->contentsMargins();
  const int width = kClientWidth - margins.left() - margins.right();
  Label2->setText(Label2->fontMetrics().elidedText(label2Text_, Qt::ElideMiddle, width));
  Label2->setToolTip(Label2->text() == label2Text_ ? QString() : label2Text_);
  layout()->activate();
  setFixedSize(kClientWidth, std::max(kClientHeight, layout()->totalHeightForWidth(kClientWidth)));
}

SaveAnswer TForm6::Ask() {
  fitTexts();
  // Return answers OK, whichever button answered last time.
  BitBtn1->setDefault(true);
  BitBtn1->setFocus();
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  switch (exec()) {
    case kOk:
      return SaveAnswer::Ok;
    case kNo:
      return SaveAnswer::No;
    default:
      return SaveAnswer::Cancel;
  }
}

}  // namespace komet
