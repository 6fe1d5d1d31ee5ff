// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <vector>

#include "dialogs/motor_filter.h"

namespace komet {

// The colour that marks a motor whose data are doubtful ("Daten fraglich"),
// wherever motors are chosen; pale amber, as the guide marks them.
inline QColor DoubtfulMotorColour() {
  return {255, 236, 179};
}

// The motor chooser's table: one row per entry of the motor list, in list
// order, so a source row is the motor list index.
class MotorTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column {
    Name,
    Maker,
    Class,
    Diameter,
    Length,
    Impulse,
    AverageThrust,
    PeakThrust,
    BurnTime,
    LiftOffMass,
    Delays,
    ColumnCount
  };
  // What the proxy sorts by: numbers as numbers, the name by list order.
  static constexpr int kSortRole = Qt::UserRole + 1;

  MotorTableModel(std::vector<MotorRow> rows, char decimalSeparator, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  const std::vector<MotorRow>& rows() const { return rows_; }

 private:
  QString text(const MotorRow& row, int column) const;
  QVariant sortKey(int row, int column) const;

  std::vector<MotorRow> rows_;
  char decimalSeparator_;
};

}  // namespace komet
