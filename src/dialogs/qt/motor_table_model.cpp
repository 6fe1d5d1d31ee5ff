#include "dialogs/qt/motor_table_model.h"

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

constexpr const char* kHeaderTips[MotorTableModel::ColumnCount] = {"Name in der Motordatenbank",
                                                                   "Hersteller",
                                                                   "Impulsklasse",
                                                                   "Durchmesser",
                                                                   "Länge",
                                                                   "Gesamtimpuls",
                                                                   "mittlerer Schub über die Brenndauer",
                                                                   "größter Schub",
                                                                   "Brenndauer",
                                                                   "Startmasse des geladenen Motors",
                                                                   "lieferbare Verzögerungen"};

// The figure columns, Diameter to LiftOffMass: shown with their format,
// sorted by their value.
struct FigureColumn {
  double MotorRow::*value;
  const char* format;
};

constexpr FigureColumn kFigures[] = {
    {&MotorRow::diameterMm, "%.0f"},    {&MotorRow::lengthMm, "%.0f"},   {&MotorRow::totalImpulse, "%.1f"},
    {&MotorRow::averageThrust, "%.1f"}, {&MotorRow::peakThrust, "%.1f"}, {&MotorRow::burnTime, "%.2f"},
    {&MotorRow::liftOffMassG, "%.1f"},
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
QString MotorTableModel::text(const MotorRow& r, int column) const {
  if (const FigureColumn* figure = Figure(column)) {
    const double v = r.*(figure->value);
    return v > 0 ? QString::fromStdString(Format(decimalSeparator_, figure->format, v)) : QString();
  }
  switch (column) {
    case Name:
      return QString::fromStdString(r.name);
    case Maker:
      return QString::fromStdString(r.maker);
    case Class:
      return QString::fromStdString(r.impulseClass);
    case Delays:
      return QString::fromStdString(DelaysText(r.delays));
    default:
      return {};
  }
}

QVariant MotorTableModel::sortKey(int row, int column) const {
  const MotorRow& r = rows_[static_cast<std::size_t>(row)];
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
