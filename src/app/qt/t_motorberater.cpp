// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/t_motorberater.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "app/qt/guide_settings.h"
#include "app/qt/guide_table.h"
#include "common/file_io.h"
#include "common/komet_error.h"
#include "common/qt/window_place.h"
#include "common/win1252.h"
#include "dialogs/qt/widget_row.h"
#include "model/recovery.h"
#include "motors/motor_details.h"
#include "motors/qt/t_form7.h"

namespace komet {
namespace {

const QStringList kClasses = {
    QString(),           QStringLiteral("1/8A"), QStringLiteral("1/4A"), QStringLiteral("1/2A"),
    QStringLiteral("A"), QStringLiteral("B"),    QStringLiteral("C"),    QStringLiteral("D"),
    QStringLiteral("E"), QStringLiteral("F"),    QStringLiteral("G"),    QStringLiteral("H"),
    QStringLiteral("I"), QStringLiteral("J"),    QStringLiteral("K"),    QStringLiteral("L"),
    QStringLiteral("M"), QStringLiteral("N"),    QStringLiteral("O")};

// The widest a column becomes by its contents; the user may widen it.
constexpr int kMaxColumnWidth = 150;

// A limit field: 0 shows `none` and means no limit.
QDoubleSpinBox* LimitBox(QWidget* parent, const char* name, double max, const char* unit, const char* none) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setRange(0, max);
  box->setDecimals(0);
  box->setSuffix(QLatin1Char(' ') + QString::fromUtf8(unit));
  box->setSpecialValueText(QString::fromUtf8(none));
  box->setAccelerated(true);
  return box;
}

// A label whose accelerator moves the focus to `buddy`.
QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

// Two fields with "bis" between them, as one grid cell.
QWidget* Range(QWidget* parent, QWidget* from, QWidget* to, const QString& bis) {
  const auto [box, row] = MakeWidgetRow(parent);
  from->setParent(box);
  to->setParent(box);
  row->addWidget(from);
  row->addWidget(BuddyLabel(bis, to, box));
  row->addWidget(to);
  return box;
}

}  // namespace

TMotorberater::TMotorberater(char decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Window), decimalSeparator_(decimalSeparator) {
  setObjectName(QStringLiteral("Motorberater"));
  setWindowTitle(QStringLiteral("Motorberater"));
  createTable();
  Legende = new QLabel(GuideLegend(), this);
  Legende->setObjectName(QStringLiteral("Legende"));
  Legende->setWordWrap(true);
  Status = new QLabel(this);
  Status->setObjectName(QStringLiteral("Status"));
  Feld = new QLabel(this);
  Feld->setObjectName(QStringLiteral("Feld"));
  Feld->setWordWrap(true);
  Feld->setToolTip(QStringLiteral("Feld und Wind stellen Sie unter Einstellungen, Seite \"Startplatz\" ein"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(createFilters());
  layout->addWidget(Feld);
  layout->addWidget(Tabelle, 1);
  layout->addWidget(Legende);
  layout->addWidget(Status);
  layout->addWidget(createButtons());
  createShortcuts();
  timer_ = new QTimer(this);
  timer_->setInterval(30);
  connect(timer_, &QTimer::timeout, this, &TMotorberater::poll);
  restart_ = new QTimer(this);
  restart_->setSingleShot(true);
  restart_->setInterval(250);
  connect(restart_, &QTimer::timeout, this, &TMotorberater::BerechnenClick);
  // Rows enough to compare, and every column in view, as far as the screen allows.
  resize(FitOnScreen(QSize(1000, 700), this));
}

TMotorberater::~TMotorberater() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

bool TMotorberater::busy() const {
  return running() || restart_->isActive();
}

void TMotorberater::setRestartDelay(int ms) {
  restart_->setInterval(ms);
}

void TMotorberater::createTable() {
  const QStringList columns = GuideColumns();
  model_ = new QStandardItemModel(0, columns.size(), this);
  model_->setHorizontalHeaderLabels(columns);
  proxy_ = new QSortFilterProxyModel(this);
  proxy_->setSourceModel(model_);
  proxy_->setSortRole(kGuideSortRole);
  Tabelle = new QTableView(this);
  Tabelle->setObjectName(QStringLiteral("Tabelle"));
  Tabelle->setModel(proxy_);
  Tabelle->setSortingEnabled(true);
  Tabelle->sortByColumn(kGuideMarkColumn, Qt::AscendingOrder);  // the guide's order
  Tabelle->setSelectionBehavior(QAbstractItemView::SelectRows);
  Tabelle->setSelectionMode(QAbstractItemView::SingleSelection);
  Tabelle->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Tabelle->setTabKeyNavigation(false);  // Tab leaves the table for the buttons
  Tabelle->verticalHeader()->hide();
  Tabelle->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  Tabelle->horizontalHeader()->setMinimumSectionSize(24);
  Tabelle->horizontalHeader()->setStretchLastSection(true);
  Tabelle->installEventFilter(this);
  connect(Tabelle->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
    if (ImDiagramm->isChecked()) showComparison();
  });
  connect(Tabelle, &QTableView::doubleClicked, this, &TMotorberater::UebernehmenClick);
}

QWidget* TMotorberater::createFilters() {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  createMotorFilters(box, grid);
  createFlightLimits(box, grid);
  grid->setColumnStretch(6, 1);
  return box;
}

// The filters that choose the motors to fly: a change flies the guide again.
void TMotorberater::createMotorFilters(QWidget* box, QGridLayout* grid) {
  KlasseVon = new QComboBox(box);
  KlasseVon->setObjectName(QStringLiteral("KlasseVon"));
  KlasseBis = new QComboBox(box);
  KlasseBis->setObjectName(QStringLiteral("KlasseBis"));
  KlasseVon->addItems(kClasses);
  KlasseBis->addItems(kClasses);
  Hersteller = new QComboBox(box);
  Hersteller->setObjectName(QStringLiteral("Hersteller"));
  Durchmesser = LimitBox(box, "Durchmesser", 1000, "mm", "alle");
  Durchmesser->setDecimals(1);
  Durchmesser->setToolTip(
      QStringLiteral("Der Durchmesser der Motorhalterung: breitere Motoren werden nicht geflogen. "
                     "Vorbelegt mit der Halterung aus der Form, sonst mit dem jetzigen Motor"));
  Laenge = LimitBox(box, "Laenge", 2000, "mm", "alle");
  Laenge->setToolTip(
      QStringLiteral("Die Länge der Motorhalterung: längere Motoren werden nicht geflogen. "
                     "Komet merkt sich den Wert."));
  Laenge->setValue(LoadGuideSettings().mountLengthMm);
  grid->addWidget(BuddyLabel(QStringLiteral("&Klasse"), KlasseVon, box), 0, 0);
  grid->addWidget(Range(box, KlasseVon, KlasseBis, QStringLiteral("b&is")), 0, 1);
  grid->addWidget(BuddyLabel(QStringLiteral("&Hersteller"), Hersteller, box), 0, 2);
  grid->addWidget(Hersteller, 0, 3);
  grid->addWidget(BuddyLabel(QStringLiteral("&Durchmesser bis"), Durchmesser, box), 0, 4);
  grid->addWidget(Durchmesser, 0, 5);
  grid->addWidget(BuddyLabel(QStringLiteral("&Länge bis"), Laenge, box), 1, 4);
  grid->addWidget(Laenge, 1, 5);
  for (QComboBox* c : {KlasseVon, KlasseBis, Hersteller})
    connect(c, &QComboBox::currentIndexChanged, this, &TMotorberater::motorFilterChanged);
  for (QDoubleSpinBox* s : {Durchmesser, Laenge})
    connect(s, &QDoubleSpinBox::valueChanged, this, &TMotorberater::motorFilterChanged);
  connect(Laenge, &QDoubleSpinBox::valueChanged, this, &TMotorberater::saveSettings);
}

// The flight limits only hide rows. The field's ceiling, a rule's
// threshold, is a setting of the launch site.
void TMotorberater::createFlightLimits(QWidget* box, QGridLayout* grid) {
  GipfelVon = LimitBox(box, "GipfelVon", 100000, "m", "offen");
  GipfelBis = LimitBox(box, "GipfelBis", 100000, "m", "offen");
  VMax = LimitBox(box, "VMax", 2000, "m/s", "alle");
  NurGruen = new QCheckBox(QStringLiteral("nur g&rün"), box);
  NurGruen->setObjectName(QStringLiteral("NurGruen"));
  NurPassend = new QCheckBox(QStringLiteral("nur mit &passender Verzögerung"), box);
  NurPassend->setObjectName(QStringLiteral("NurPassend"));
  grid->addWidget(BuddyLabel(QStringLiteral("&Gipfel von"), GipfelVon, box), 1, 0);
  grid->addWidget(Range(box, GipfelVon, GipfelBis, QStringLiteral("bi&s")), 1, 1);
  grid->addWidget(BuddyLabel(QStringLiteral("v m&ax bis"), VMax, box), 1, 2);
  grid->addWidget(VMax, 1, 3);
  const auto [checks, row] = MakeWidgetRow(box);
  row->addWidget(NurGruen);
  row->addWidget(NurPassend);
  row->addStretch(1);
  grid->addWidget(checks, 2, 0, 1, 4);
  for (QDoubleSpinBox* s : {GipfelVon, GipfelBis, VMax})
    connect(s, &QDoubleSpinBox::valueChanged, this, &TMotorberater::limitsChanged);
  for (QCheckBox* c : {NurGruen, NurPassend})
    connect(c, &QCheckBox::toggled, this, &TMotorberater::limitsChanged);
}

QWidget* TMotorberater::createButtons() {
  const auto [box, row] = MakeWidgetRow(this);
  ImDiagramm = new QCheckBox(QStringLiteral("im Diagramm &zeigen"), box);
  ImDiagramm->setObjectName(QStringLiteral("ImDiagramm"));
  ImDiagramm->setToolTip(
      QStringLiteral("Den Flug mit dem gewählten Motor gepunktet über dem Diagramm zeigen; "
                     "die Rakete bleibt, wie sie ist"));
  connect(ImDiagramm, &QCheckBox::toggled, this, &TMotorberater::showComparison);
  Berechnen = new QPushButton(QStringLiteral("&Neu berechnen"), box);
  Berechnen->setObjectName(QStringLiteral("Berechnen"));
  connect(Berechnen, &QPushButton::clicked, this, &TMotorberater::BerechnenClick);
  Uebernehmen = new QPushButton(QStringLiteral("Ü&bernehmen"), box);
  Uebernehmen->setObjectName(QStringLiteral("Uebernehmen"));
  Uebernehmen->setToolTip(
      QStringLiteral("Den gewählten Motor in den ersten Motorplatz der Hauptstufe setzen (Eingabetaste)"));
  connect(Uebernehmen, &QPushButton::clicked, this, &TMotorberater::UebernehmenClick);
  Exportieren = new QPushButton(QStringLiteral("&Exportieren..."), box);
  Exportieren->setObjectName(QStringLiteral("Exportieren"));
  connect(Exportieren, &QPushButton::clicked, this, &TMotorberater::ExportierenClick);
  auto* schliessen = new QPushButton(QStringLiteral("S&chließen"), box);
  schliessen->setObjectName(QStringLiteral("Schliessen"));
  connect(schliessen, &QPushButton::clicked, this, &QWidget::close);
  row->addWidget(ImDiagramm);
  row->addStretch(1);
  row->addWidget(Berechnen);
  row->addWidget(Uebernehmen);
  row->addWidget(Exportieren);
  row->addWidget(schliessen);
  return box;
}

void TMotorberater::createShortcuts() {
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
  connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
          [this] { emit helpRequested(QStringLiteral("motorberater.html")); });
}

// Return or Enter on the table takes the selected motor.
bool TMotorberater::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Tabelle && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      UebernehmenClick();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// Beside the main window when there is room, and always on the screen;
// once shown, so that the frame's size is known.
void TMotorberater::placeBesideParent() {
  const QScreen* s = screen();
  if (placed_ || s == nullptr) return;
  placed_ = true;
  const QRect available = s->availableGeometry();
  const QSize decoration = frameGeometry().size() - size();
  resize(size().boundedTo(available.size() - decoration));
  const QSize frame = size() + decoration;
  const QWidget* anchor = parentWidget();
  if (anchor == nullptr || !anchor->isVisible()) {
    move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
    return;
  }
  move(PlaceBeside(anchor->window()->frameGeometry(), frame, available));
}

void TMotorberater::Start(const RocketRecord& rocket, const std::optional<RocketShape>& shape,
                          const SimConstants& constants, const std::filesystem::path& database,
                          const LaunchField& field) {
  stopWorker();
  rocket_ = rocket;
  shape_ = shape;
  field_ = field;
  constants_ = FixedConstants(constants.Values(), constants.Site());
  database_ = database;
  std::set<QString> makers;
  for (const MotorListEntry& e : ReadMotorList(database))
    if (e.details && !e.details->maker.empty())
      makers.insert(QString::fromStdString(Cp1252ToUtf8(e.details->maker)));
  filling_ = true;
  Hersteller->clear();
  Hersteller->addItem(QString());
  for (const QString& m : makers) Hersteller->addItem(m);
  // The mount decides what fits; a length it does not tell stays as remembered.
  GuideFilter mount;
  mount.maxLengthMm = LoadGuideSettings().mountLengthMm;
  FitStageMount(rocket, shape_, mount);
  Durchmesser->setValue(mount.maxDiameterMm);
  Laenge->setValue(mount.maxLengthMm);
  filling_ = false;
  setWindowTitle(
      QStringLiteral("Motorberater - %1").arg(QString::fromStdString(Cp1252ToUtf8(rocket.name.view()))));
  show();
  placeBesideParent();
  raise();
  BerechnenClick();
}

GuideFilter TMotorberater::filter() const {
  GuideFilter f;
  f.classFrom = KlasseVon->currentText().toStdString();
  f.classTo = KlasseBis->currentText().toStdString();
  f.maker = Hersteller->currentText().toStdString();
  f.maxDiameterMm = Durchmesser->value();
  f.maxLengthMm = Laenge->value();
  f.minApogee = GipfelVon->value();
  f.maxApogee = GipfelBis->value();
  f.maxVelocity = VMax->value();
  f.onlyGreen = NurGruen->isChecked();
  f.matchingDelayOnly = NurPassend->isChecked();
  return f;
}

// Only what the user sets is remembered, not a mount's length.
void TMotorberater::saveSettings() {
  if (filling_) return;
  SaveGuideSettings({Laenge->value()});
}

void TMotorberater::showField() {
  Feld->setText(QString::fromStdString(GuideFieldLine(field_, constants_.Site().wind, filter(),
                                                      ReadRecovery(rocket_).has_value(), decimalSeparator_)));
}

// A motor filter changed: the guide flies again once the user pauses (a
// running guide is stopped first).
void TMotorberater::motorFilterChanged() {
  if (filling_ || database_.empty()) return;
  restart_->start();
}

// A flight limit changed: the rows flown are shown again through it.
void TMotorberater::limitsChanged() {
  if (!guide_ || running()) return;
  rows_ = guide_->Rows(filter());
  fillTable();
  Status->setText(QStringLiteral("%1 Motoren geflogen, %2 Zeilen").arg(guide_->done()).arg(rows_.size()));
}

void TMotorberater::BerechnenClick() {
  restart_->stop();
  stopWorker();
  ImDiagramm->setChecked(false);
  showField();
  std::vector<MotorRecord> motors;
  std::vector<std::int32_t> recordNos;
  try {
    GuideCandidates(database_, filter(), motors, recordNos);
  } catch (const KometError& e) {
    Status->setText(QString::fromUtf8(e.what()));
    return;
  }
  rows_.clear();
  model_->removeRows(0, model_->rowCount());
  if (motors.empty()) {
    guide_.reset();
    Status->setText(QStringLiteral("Keine Motoren der Datenbank passen zu den Filtern."));
    return;
  }
  guide_ = std::make_unique<MotorGuide>(rocket_, constants_, std::move(motors), std::move(recordNos),
                                        decimalSeparator_, FieldInputs(field_), shape_);
  cancel_ = false;
  finished_ = false;
  Status->setText(QStringLiteral("Rechne %1 Flüge...").arg(guide_->size()));
  elapsed_.start();
  worker_ = std::thread([this] {
    guide_->Run(std::max(1u, std::thread::hardware_concurrency()), cancel_);
    finished_ = true;
  });
  timer_->start();
}

void TMotorberater::poll() {
  if (finished_) return finish();
  if (!progress_ && elapsed_.elapsed() >= progressDelayMs_) {
    progress_ = new QProgressDialog(QStringLiteral("Der Motorberater fliegt jeden Motor..."),
                                    QStringLiteral("Abbrechen"), 0, static_cast<int>(guide_->size()), this);
    progress_->setWindowTitle(QStringLiteral("Motorberater"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(0);
    connect(progress_, &QProgressDialog::canceled, this, &TMotorberater::AbbrechenClick);
  }
  if (progress_) progress_->setValue(static_cast<int>(guide_->done()));
}

void TMotorberater::AbbrechenClick() {
  cancel_ = true;
}

void TMotorberater::finish() {
  timer_->stop();
  if (worker_.joinable()) worker_.join();
  if (progress_) {
    progress_->disconnect(this);
    progress_->deleteLater();
    progress_ = nullptr;
  }
  rows_ = guide_->Rows(filter());
  fillTable();
  const QString flown =
      guide_->complete()
          ? QStringLiteral("%1 Motoren geflogen").arg(guide_->size())
          : QStringLiteral("abgebrochen: %1 von %2 Motoren geflogen").arg(guide_->done()).arg(guide_->size());
  Status->setText(flown + QStringLiteral(", %1 Zeilen").arg(rows_.size()));
}

// The rows in the order the user chose (the marker column sorts in the
// guide's order), each column no wider than its contents need up to a limit.
void TMotorberater::fillTable() {
  model_->removeRows(0, model_->rowCount());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    QList<QStandardItem*> items = GuideRowItems(rows_[i], static_cast<int>(i), decimalSeparator_);
    items[1]->setData(static_cast<int>(i), kGuideRowRole);
    model_->appendRow(items);
  }
  const QHeaderView* header = Tabelle->horizontalHeader();
  proxy_->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());  // as the user left it
  Tabelle->resizeColumnsToContents();
  for (int c = 0; c + 1 < model_->columnCount(); ++c)
    Tabelle->setColumnWidth(c, std::min(Tabelle->columnWidth(c), kMaxColumnWidth));
  if (!rows_.empty()) Tabelle->selectRow(0);
}

int TMotorberater::selectedRow() const {
  const QModelIndex current = Tabelle->currentIndex();
  if (!current.isValid()) return -1;
  return proxy_->mapToSource(current.siblingAtColumn(1)).data(kGuideRowRole).toInt();
}

void TMotorberater::showComparison() {
  const int row = selectedRow();
  if (!ImDiagramm->isChecked() || row < 0 || rows_[static_cast<std::size_t>(row)].noFlight) {
    emit compare(nullptr, QString());
    return;
  }
  const GuideRow& r = rows_[static_cast<std::size_t>(row)];
  MotorRecord motor;
  try {
    if (!ReadMotorRecord(database_, r.recordNo, motor)) return;
  } catch (const KometError& e) {
    Status->setText(QString::fromUtf8(e.what()));
    return;
  }
  if (!comparison_) comparison_ = std::make_unique<Simulation>();
  comparisonMotor_ = motor;
  FlightPlan plan = MakeFlightPlan(rocket_, constants_);
  plan.stages[0].motors[0] = &comparisonMotor_;
  comparison_->Run(plan);
  emit compare(comparison_.get(), QStringLiteral("Vergleich: %1").arg(QString::fromStdString(r.motor)));
}

void TMotorberater::UebernehmenClick() {
  const int row = selectedRow();
  if (row < 0 || running()) return;
  ImDiagramm->setChecked(false);
  emit takeMotor(rows_[static_cast<std::size_t>(row)].recordNo);
}

void TMotorberater::ExportierenClick() {
  if (rows_.empty()) return;
  QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Motorberater exportieren"), QString(),
                                              QStringLiteral("CSV-Dateien (*.csv)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
  const std::string csv = GuideCsv(rows_, decimalSeparator_ == ',' ? kGermanCsv : kEnglishCsv);
  try {
    WriteFileAtomically(path.toStdString(),
                        std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()));
  } catch (const KometError& e) {
    QMessageBox::warning(this, windowTitle(),
                         QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                             .arg(path, QString::fromUtf8(e.what())));
  }
}

void TMotorberater::hideEvent(QHideEvent* event) {
  restart_->stop();  // a filter changed just before closing flies nothing
  stopWorker();
  ImDiagramm->setChecked(false);
  emit compare(nullptr, QString());
  QWidget::hideEvent(event);
}

void TMotorberater::stopWorker() {
  if (!worker_.joinable()) return;
  cancel_ = true;
  worker_.join();
  finish();
}

}  // namespace komet
