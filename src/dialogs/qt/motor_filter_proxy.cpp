// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/motor_filter_proxy.h"

#include "dialogs/qt/motor_table_model.h"

namespace komet {

MotorFilterProxy::MotorFilterProxy(QObject* parent) : QSortFilterProxyModel(parent) {
  setSortRole(MotorTableModel::kSortRole);
  setSortCaseSensitivity(Qt::CaseInsensitive);
}

void MotorFilterProxy::setSourceModel(QAbstractItemModel* model) {
  table_ = qobject_cast<const MotorTableModel*>(model);
  QSortFilterProxyModel::setSourceModel(model);
}

void MotorFilterProxy::setFilter(MotorFilter filter) {
  filter_ = std::move(filter);
  invalidateFilter();
}

int MotorFilterProxy::motorIndex(const QModelIndex& proxyIndex) const {
  const QModelIndex source = mapToSource(proxyIndex);
  return source.isValid() ? source.row() : -1;
}

bool MotorFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
  if (!table_ || sourceRow < 0 || static_cast<std::size_t>(sourceRow) >= table_->rows().size()) return false;
  return MotorFilterAccepts(filter_, table_->rows()[static_cast<std::size_t>(sourceRow)]);
}

}  // namespace komet
