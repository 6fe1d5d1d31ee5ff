// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSortFilterProxyModel>

#include "dialogs/motor_filter.h"

namespace komet {

class MotorTableModel;

// The chooser's view of the table: the core's filter rules decide which
// rows show, Qt sorts them by the model's sort role.
class MotorFilterProxy : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  explicit MotorFilterProxy(QObject* parent = nullptr);

  // The model must be a MotorTableModel.
  void setSourceModel(QAbstractItemModel* model) override;
  void setFilter(MotorFilter filter);
  const MotorFilter& filter() const { return filter_; }
  // The motor list index of a view row; -1 for an invalid index.
  int motorIndex(const QModelIndex& proxyIndex) const;

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  const MotorTableModel* table_ = nullptr;
  MotorFilter filter_;
};

}  // namespace komet
