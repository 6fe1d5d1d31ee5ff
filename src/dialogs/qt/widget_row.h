// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QHBoxLayout;
class QWidget;

namespace komet {

// Widgets side by side that add no margin of their own around them, for a
// dialog's line of filters or of buttons.
struct WidgetRow {
  QWidget* box;
  QHBoxLayout* layout;
};

WidgetRow MakeWidgetRow(QWidget* parent);

}  // namespace komet
