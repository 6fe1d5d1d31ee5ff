// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/widget_row.h"

#include <QHBoxLayout>
#include <QWidget>

namespace komet {

WidgetRow MakeWidgetRow(QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  return {box, layout};
}

}  // namespace komet
