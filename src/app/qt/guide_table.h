// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include "app/motor_guide.h"

class QStandardItem;

namespace komet {

// How the Motorberater's table shows a row: one place for the colours, the
// cells and the tooltip that names the rules.
inline constexpr int kGuideSortRole = Qt::UserRole;
inline constexpr int kGuideRowRole = Qt::UserRole + 1;  // index into the guide's rows

QStringList GuideColumns();
inline constexpr int kGuideMarkColumn = 0;

// The row's pale background, and the strong colour of its marker (which
// stays visible when the row is selected).
QColor GuideRowColor(GuideRow::Mark mark);
QColor GuideMarkColor(GuideRow::Mark mark);

// "Rot: nicht fliegen" and each rule that fired, one a line.
QString GuideRowToolTip(const GuideRow& row);

// The cells of a row; the first sorts by `rank`, the guide's order.
QList<QStandardItem*> GuideRowItems(const GuideRow& row, int rank, char decimalSeparator);

// The legend under the table (rich text).
QString GuideLegend();

}  // namespace komet
