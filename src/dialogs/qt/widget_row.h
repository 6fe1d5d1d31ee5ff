// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace komet {

// Widgets side by side that add no margin of their own around them, for a
// dialog's line of filters or of buttons.
struct WidgetRow {
  QWidget* box;
  QHBoxLayout* layout;
};

WidgetRow MakeWidgetRow(QWidget* parent);

// A dialog's "&OK" (the default, object name BitBtn1) and "&Abbruch"
// (BitBtn2) centred side by side; the caller connects them.
struct OkCancelRow {
  QWidget* box;
  QPushButton* ok;
  QPushButton* cancel;
};

OkCancelRow MakeOkCancelRow(QWidget* parent);

}  // namespace komet
