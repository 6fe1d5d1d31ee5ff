// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/motor_table_model.h"

#include <QColor>
#include <iterator>

#include "common/format.h"
#include "common/natural_order.h"

namespace komet {
namespace {

// Units on a second line keep the eleven columns narrow enough to sit
// beside the curve.
constexpr const char* kHeaders[MotorTableModel::ColumnCount] = {"Name",
                                                                "Hersteller",
                                                                "Klasse",
                                                                "Ø\nmm",
                                                                "Länge\nmm",
                                                                "Impuls\nNs",
                                                                "Schub\nmittel N",
                                                                "Schub\nmax. N",
                                                                "Brenn-\ndauer s",
                                                                "Start-\nmasse g",
                                                                "Verzöge-\nrungen s"};

constexpr const char* kHeaderTips[MotorTableModel::ColumnCount] = {
    "Name in der Motordatenbank",
    "Hersteller",
    "Impulsklasse",
    "Durchmesser",
    "Länge",
    "Gesamtimpuls der Schubkurve, mit der "
    "Komet fliegt; in Klammern der veröffentlichte, "
    "wo er um mehr als 2 % abweicht",
    "mittlerer Schub über die Brenndauer",
    "größter Schub",
    "Brenndauer",
    "Startmasse des geladenen Motors",
    "lieferbare Verzögerungen"};

// The figure columns, Diameter to LiftOffMass: shown with their format,
// sorted by their value.
struct FigureColumn {
  double MotorFacts::*value;
  const char* format;
  double scale = 1.0;
};

constexpr FigureColumn kFigures[] = {
    {&MotorFacts::diameterMm, "%.0f"},        {&MotorFacts::lengthMm, "%.0f"},
    {&MotorFacts::totalImpulse, "%.1f"},      {&MotorFacts::averageThrust, "%.1f"},
    {&MotorFacts::peakThrust, "%.1f"},        {&MotorFacts::burnTime, "%.2f"},
    {&MotorFacts::totalMass, "%.1f", 1000.0},
};

static_assert(std::size(kFigures) == MotorTableModel::LiftOffMass - MotorTableModel::Diameter + 1);

const FigureColumn* Figure(int column) {
  if (column < MotorTableModel::Diameter || column > MotorTableModel::LiftOffMass) return nullptr;
  return &kFigures[column - MotorTableModel::Diameter];
}

}  // namespace

MotorTableModel::MotorTableModel(std::vector<MotorRow> rows, char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)), decimalSeparator_(decimalSeparator) {}

int MotorTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MotorTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant MotorTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const MotorRow& row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return text(row, index.column());
    case kSortRole:
      return sortKey(index.row(), index.column());
    case Qt::ToolTipRole:
      return row.facts.doubtful() ? QString::fromStdString("Daten fraglich: " + row.facts.dataCheck)
                                  : QVariant();
    case Qt::BackgroundRole:
      return row.facts.doubtful() ? QVariant(DoubtfulMotorColour()) : QVariant();
    case Qt::TextAlignmentRole:
      return index.column() >= Diameter && index.column() < Delays
                 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                 : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant MotorTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(kHeaders[section]);
  if (role == Qt::ToolTipRole) return QString::fromUtf8(kHeaderTips[section]);
  return {};
}

// A figure the data do not give stays empty rather than showing 0.
QString MotorTableModel::text(const MotorRow& row, int column) const {
  const MotorFacts& r = row.facts;
  if (const FigureColumn* figure = Figure(column)) {
    const double v = r.*(figure->value) * figure->scale;
    if (!(v > 0)) return {};
    std::string shown = Format(decimalSeparator_, figure->format, v);
    if (column == Impulse && r.publishedImpulse)
      shown += Format(decimalSeparator_, " (%.1f)", *r.publishedImpulse);
    return QString::fromStdString(shown);
  }
  switch (column) {
    case Name:
      return QString::fromStdString(r.name);
    case Maker:
      return QString::fromStdString(r.maker);
    case Class:
      return QString::fromStdString(r.impulseClass);
    case Delays:
      return QString::fromStdString(DelayCodes(r));
    default:
      return {};
  }
}

QVariant MotorTableModel::sortKey(int row, int column) const {
  const MotorFacts& r = rows_[static_cast<std::size_t>(row)].facts;
  if (const FigureColumn* figure = Figure(column)) return r.*(figure->value);
  switch (column) {
    case Name:
      // Numbers by their value, as a reader looks for D2 before D16.
      return QString::fromStdString(NaturalSortKey(r.name));
    case Maker:
      return QString::fromStdString(r.maker);
    case Class:
      return r.totalImpulse;  // the class follows the impulse
    case Delays:
      return r.delays.empty() ? -1 : r.delays.front();
    default:
      return {};
  }
}

}  // namespace komet
