// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/t_motorwahl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "common/format.h"
#include "common/qt/qt_text.h"
#include "common/qt/window_place.h"
#include "dialogs/qt/motor_curve_widget.h"
#include "dialogs/qt/motor_filter_proxy.h"
#include "dialogs/qt/motor_table_model.h"
#include "dialogs/qt/widget_row.h"

namespace komet {
namespace {

constexpr QSize kInitialSize(1220, 540);
constexpr int kCurveWidth = 250;

// "passt in diese Stufe (Ø 18,0 mm, bis 75 mm lang)", as far as the mount is known.
std::string MountText(const MountLimit& mount, char sep) {
  std::string text = "passt in diese Stufe";
  if (mount.diameterMm > 0 && mount.lengthMm > 0)
    return text + Format(sep, " (Ø %.1f mm, bis %.0f mm lang)", mount.diameterMm, mount.lengthMm);
  if (mount.diameterMm > 0) return text + Format(sep, " (Ø %.1f mm)", mount.diameterMm);
  if (mount.lengthMm > 0) return text + Format(sep, " (bis %.0f mm lang)", mount.lengthMm);
  return text;
}

QComboBox* NamedCombo(const char* name, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QString::fromLatin1(name));
  combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return combo;
}

}  // namespace

TMotorwahl::TMotorwahl(std::vector<MotorRow> rows, const MountLimit& mount, int current,
                       char decimalSeparator, QWidget* parent)
    : QDialog(parent), mount_(mount), decimalSeparator_(decimalSeparator) {
  setObjectName(QStringLiteral("Motorwahl"));
  setWindowTitle(QStringLiteral("Motor wählen"));
  model_ = new MotorTableModel(std::move(rows), decimalSeparator, this);
  proxy_ = new MotorFilterProxy(this);
  proxy_->setSourceModel(model_);
  Schubkurve = new MotorCurveWidget(decimalSeparator, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(createFilters());
  // On a line of its own: beside the filters it widened the window past an
  // 800-pixel screen.
  layout->addWidget(Passt);
  layout->addWidget(createTable(), 1);
  layout->addWidget(createButtons());
  fillChoices();
  applyFilter();
  selectMotor(current);
  resize(FitOnScreen(kInitialSize, this));
  Suche->setFocus();
}

TMotorwahl::~TMotorwahl() = default;

QWidget* TMotorwahl::createFilters() {
  const auto [row, layout] = MakeWidgetRow(this);
  Suche = new QLineEdit(row);
  Suche->setObjectName(QStringLiteral("Suche"));
  Suche->setPlaceholderText(QStringLiteral("Name, etwa C6-5 oder Estes D12-0 ..."));
  Suche->setClearButtonEnabled(true);
  KlasseVon = NamedCombo("KlasseVon", row);
  KlasseBis = NamedCombo("KlasseBis", row);
  Hersteller = NamedCombo("Hersteller", row);
  // The longest maker's name would widen the window past an 800-pixel
  // screen; the list that drops down still shows it whole.
  Hersteller->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  Hersteller->setMinimumContentsLength(10);
  Durchmesser = NamedCombo("Durchmesser", row);
  const bool known = mount_.diameterMm > 0 || mount_.lengthMm > 0;
  Passt = new QCheckBox(ToQ(MountText(mount_, decimalSeparator_)), row);
  Passt->setToolTip(
      QStringLiteral("Nur Motoren, die in die Motorhalterung der Stufe passen: die der Form, "
                     "sonst so groß wie der Motor, den die Stufe jetzt hat"));
  Passt->setObjectName(QStringLiteral("Passt"));
  Passt->setEnabled(known);
  Passt->setChecked(known);
  for (auto [caption, widget] : {std::pair<const char*, QWidget*>{"Suchen:", Suche},
                                 {"Klasse von", KlasseVon},
                                 {"bis", KlasseBis},
                                 {"Hersteller", Hersteller},
                                 {"Ø", Durchmesser}}) {
    layout->addWidget(new QLabel(QString::fromUtf8(caption), row));
    layout->addWidget(widget, widget == Suche ? 1 : 0);
  }
  connect(Suche, &QLineEdit::textChanged, this, &TMotorwahl::applyFilter);
  for (QComboBox* combo : {KlasseVon, KlasseBis, Hersteller, Durchmesser})
    connect(combo, &QComboBox::currentIndexChanged, this, &TMotorwahl::applyFilter);
  connect(Passt, &QCheckBox::toggled, this, &TMotorwahl::applyFilter);
  return row;
}

QWidget* TMotorwahl::createTable() {
  auto* splitter = new QSplitter(this);
  Tabelle = new QTableView(splitter);
  Tabelle->setObjectName(QStringLiteral("Tabelle"));
  Tabelle->setModel(proxy_);
  Tabelle->setSelectionBehavior(QAbstractItemView::SelectRows);
  Tabelle->setSelectionMode(QAbstractItemView::SingleSelection);
  Tabelle->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Tabelle->setSortingEnabled(true);
  Tabelle->sortByColumn(MotorTableModel::Name, Qt::AscendingOrder);
  Tabelle->verticalHeader()->hide();
  Tabelle->verticalHeader()->setDefaultSectionSize(Tabelle->fontMetrics().height() + 4);
  Tabelle->horizontalHeader()->setHighlightSections(false);
  Tabelle->horizontalHeader()->setStretchLastSection(true);
  fitColumns();
  connect(Tabelle->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TMotorwahl::selectionChanged);
  connect(Tabelle, &QTableView::doubleClicked, this, &TMotorwahl::TabelleDoubleClick);
  splitter->addWidget(Tabelle);
  splitter->addWidget(Schubkurve);
  splitter->setStretchFactor(0, 1);
  splitter->setSizes({kInitialSize.width() - kCurveWidth - 30, kCurveWidth});
  return splitter;
}

// Each column as wide as its widest header line (with room for the sort
// mark) or the widest text of the rows measured: the style's own fit leaves
// so much room that eleven columns no longer sit beside the curve, and
// measuring every row would slow the opening.
void TMotorwahl::fitColumns() {
  constexpr int kMeasuredRows = 200;
  constexpr int kHeaderPadding = 22;
  constexpr int kCellPadding = 10;
  constexpr int kMaxColumnWidth = 150;
  const QFontMetrics header(Tabelle->horizontalHeader()->font());
  const QFontMetrics cells(Tabelle->font());
  const int measured = std::min(model_->rowCount(), kMeasuredRows);
  for (int c = 0; c < MotorTableModel::ColumnCount; ++c) {
    int width = 0;
    for (const QString& line : model_->headerData(c, Qt::Horizontal).toString().split(QLatin1Char('\n')))
      width = std::max(width, header.horizontalAdvance(line) + kHeaderPadding);
    // Names differ most in length: all of them count. The few long names
    // and delay lists are cut rather than pushing the figures out of sight.
    const int rows = c == MotorTableModel::Name ? model_->rowCount() : measured;
    for (int r = 0; r < rows; ++r)
      width = std::max(width, cells.horizontalAdvance(model_->index(r, c).data().toString()) + kCellPadding);
    Tabelle->setColumnWidth(c, std::min(width, kMaxColumnWidth));
  }
}

QWidget* TMotorwahl::createButtons() {
  const auto [row, layout] = MakeWidgetRow(this);
  Anzahl = new QLabel(row);
  Anzahl->setObjectName(QStringLiteral("Anzahl"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, row);
  OK = buttons->button(QDialogButtonBox::Ok);
  OK->setObjectName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbruch"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Abbruch"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // What the coloured rows mean, in their colour.
  Legende = new QLabel(QStringLiteral("So markiert: Daten fraglich (Grund im Tooltip)"), row);
  Legende->setObjectName(QStringLiteral("Legende"));
  Legende->setAutoFillBackground(true);
  QPalette marked = Legende->palette();
  marked.setColor(QPalette::Window, DoubtfulMotorColour());
  marked.setColor(QPalette::WindowText, Qt::black);
  Legende->setPalette(marked);
  Legende->setContentsMargins(4, 1, 4, 1);
  layout->addWidget(Anzahl, 1);
  layout->addWidget(Legende);
  layout->addWidget(buttons);
  return row;
}

// Only what the database holds is offered: its classes, makers, diameters.
void TMotorwahl::fillChoices() {
  const std::vector<MotorRow>& rows = model_->rows();
  KlasseVon->addItem(QStringLiteral("alle"));
  KlasseBis->addItem(QStringLiteral("alle"));
  for (const std::string& c : MotorClasses(rows)) {
    KlasseVon->addItem(QString::fromStdString(c));
    KlasseBis->addItem(QString::fromStdString(c));
  }
  Hersteller->addItem(QStringLiteral("alle"));
  for (const std::string& m : MotorMakers(rows)) Hersteller->addItem(QString::fromStdString(m));
  Durchmesser->addItem(QStringLiteral("alle"), 0.0);
  for (double d : MotorDiameters(rows))
    Durchmesser->addItem(QString::fromStdString(Format(decimalSeparator_, "%g mm", d)), d);
}

void TMotorwahl::applyFilter() {
  MotorFilter f;
  f.SetText(Suche->text().toStdString());
  if (KlasseVon->currentIndex() > 0) f.classFrom = ImpulseClassRank(KlasseVon->currentText().toStdString());
  if (KlasseBis->currentIndex() > 0) f.classTo = ImpulseClassRank(KlasseBis->currentText().toStdString());
  if (Hersteller->currentIndex() > 0) f.maker = Hersteller->currentText().toStdString();
  f.diameterMm = Durchmesser->currentData().toDouble();
  if (Passt->isChecked()) f.fits = mount_;
  filtering_ = true;
  proxy_->setFilter(std::move(f));
  filtering_ = false;
  Anzahl->setText(QStringLiteral("%1 von %2 Motoren").arg(proxy_->rowCount()).arg(model_->rowCount()));
  // The chosen motor stays chosen while it shows; a filtered-away one is
  // no choice, and no other row takes its place.
  Tabelle->clearSelection();
  // A search that leaves one motor has found it.
  if (proxy_->rowCount() == 1) chosen_ = proxy_->motorIndex(proxy_->index(0, 0));
  selectMotor(chosen_);
  selectionChanged();
}

void TMotorwahl::selectMotor(int index) {
  chosen_ = index;
  if (index < 0 || index >= model_->rowCount()) return;
  const QModelIndex row = proxy_->mapFromSource(model_->index(index, 0));
  if (!row.isValid()) return;
  Tabelle->selectRow(row.row());
  Tabelle->scrollTo(row, QAbstractItemView::PositionAtCenter);
}

int TMotorwahl::selectedIndex() const {
  const QModelIndexList selected = Tabelle->selectionModel()->selectedRows();
  return selected.isEmpty() ? -1 : proxy_->motorIndex(selected.front());
}

void TMotorwahl::selectionChanged() {
  if (filtering_) return;
  const int index = selectedIndex();
  if (index >= 0) chosen_ = index;
  OK->setEnabled(index >= 0);
  Schubkurve->setMotor(index >= 0 ? &model_->rows()[static_cast<std::size_t>(index)].record : nullptr);
}

void TMotorwahl::TabelleDoubleClick(const QModelIndex& index) {
  if (!index.isValid()) return;
  Tabelle->selectRow(index.row());
  accept();
}

}  // namespace komet
