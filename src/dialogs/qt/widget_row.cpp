// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/widget_row.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QWidget>

namespace komet {

WidgetRow MakeWidgetRow(QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  return {box, layout};
}

OkCancelRow MakeOkCancelRow(QWidget* parent) {
  const auto [row, layout] = MakeWidgetRow(parent);
  QStyle* style = parent->style();
  auto* ok = new QPushButton(style->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("&OK"), row);
  ok->setObjectName(QStringLiteral("BitBtn1"));
  ok->setDefault(true);
  auto* cancel =
      new QPushButton(style->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("&Abbruch"), row);
  cancel->setObjectName(QStringLiteral("BitBtn2"));
  cancel->setAutoDefault(false);
  layout->addStretch(1);
  layout->addWidget(ok);
  layout->addSpacing(24);
  layout->addWidget(cancel);
  layout->addStretch(1);
  return {row, ok, cancel};
}

}  // namespace komet
