#include "app/qt/t_motorberater.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "dialogs/qt/widget_row.h"
#include "motors/motor_details.h"

namespace komet {
namespace {

constexpr int kSortRole = Qt::UserRole;
constexpr int kRowRole = Qt::UserRole + 1;  // index into the guide's rows

const QStringList kColumns = {QStringLiteral("Motor"),
                              QStringLiteral("Hersteller"),
                              QStringLiteral("Gipfel\n[m]"),
                              QStringLiteral("Gipfel bei\n[s]"),
                              QStringLiteral("v max\n[m/s]"),
                              QStringLiteral("v Startstab\n[m/s]"),
                              QStringLiteral("Schub/\nGewicht"),
                              QStringLiteral("empfohlen\n[s]"),
                              QStringLiteral("Verzögerung\n[s]"),
                              QStringLiteral("Abweichung\n[s]"),
                              QStringLiteral("v Ausstoß\n[m/s]"),
                              QStringLiteral("Warnungen")};

const QStringList kClasses = {
    QString(),           QStringLiteral("1/8A"), QStringLiteral("1/4A"), QStringLiteral("1/2A"),
    QStringLiteral("A"), QStringLiteral("B"),    QStringLiteral("C"),    QStringLiteral("D"),
    QStringLiteral("E"), QStringLiteral("F"),    QStringLiteral("G"),    QStringLiteral("H"),
    QStringLiteral("I"), QStringLiteral("J"),    QStringLiteral("K"),    QStringLiteral("L"),
    QStringLiteral("M"), QStringLiteral("N"),    QStringLiteral("O")};

QColor MarkColor(GuideRow::Mark mark) {
  switch (mark) {
    case GuideRow::Mark::Green:
      return {214, 240, 206};
    case GuideRow::Mark::Amber:
      return {255, 234, 184};
    case GuideRow::Mark::Red:
      return {246, 200, 200};
  }
  return Qt::white;
}

// A cell that shows a formatted number and sorts by its value; empty (and
// sorted first) without one.
QStandardItem* NumberItem(bool has, double value, const char* format, char sep) {
  auto* item = new QStandardItem(has ? QString::fromStdString(Format(sep, format, value)) : QString());
  item->setData(has ? value : -1e300, kSortRole);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QStandardItem* NumberItem(const std::optional<double>& value, const char* format, char sep) {
  return NumberItem(value.has_value(), value.value_or(0.0), format, sep);
}

QStandardItem* TextItem(const std::string& utf8) {
  auto* item = new QStandardItem(QString::fromStdString(utf8));
  item->setData(QString::fromStdString(utf8).toLower(), kSortRole);
  return item;
}

QList<QStandardItem*> RowItems(const GuideRow& r, char sep) {
  const bool flew = !r.noFlight;
  QStringList warnings;
  for (const FlightWarning& w : r.findings) warnings << QString::fromStdString(w.text);
  return {TextItem(r.motor),
          TextItem(r.maker),
          NumberItem(flew, r.apogee, "%.1f", sep),
          NumberItem(flew, r.apogeeTime, "%.2f", sep),
          NumberItem(flew, r.maxVelocity, "%.1f", sep),
          NumberItem(r.railExitVelocity, "%.1f", sep),
          NumberItem(flew, r.thrustToWeight, "%.1f", sep),
          NumberItem(flew, r.recommendedDelay, "%.1f", sep),
          NumberItem(r.bestDelay.has_value(), r.bestDelay.value_or(0), "%.0f", sep),
          NumberItem(r.delayDifference(), "%+.1f", sep),
          NumberItem(r.ejectionVelocity, "%.1f", sep),
          TextItem(warnings.join(QStringLiteral("; ")).toStdString())};
}

}  // namespace

TMotorberater::TMotorberater(char decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Window), decimalSeparator_(decimalSeparator) {
  setObjectName(QStringLiteral("Motorberater"));
  setWindowTitle(QStringLiteral("Motorberater"));
  model_ = new QStandardItemModel(0, kColumns.size(), this);
  model_->setHorizontalHeaderLabels(kColumns);
  proxy_ = new QSortFilterProxyModel(this);
  proxy_->setSourceModel(model_);
  proxy_->setSortRole(kSortRole);
  Tabelle = new QTableView(this);
  Tabelle->setObjectName(QStringLiteral("Tabelle"));
  Tabelle->setModel(proxy_);
  Tabelle->setSortingEnabled(true);
  Tabelle->setSelectionBehavior(QAbstractItemView::SelectRows);
  Tabelle->setSelectionMode(QAbstractItemView::SingleSelection);
  Tabelle->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Tabelle->verticalHeader()->hide();
  Tabelle->horizontalHeader()->setStretchLastSection(true);
  connect(Tabelle->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
    if (ImDiagramm->isChecked()) showComparison();
  });
  connect(Tabelle, &QTableView::doubleClicked, this, &TMotorberater::UebernehmenClick);
  Status = new QLabel(this);
  Status->setObjectName(QStringLiteral("Status"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(createFilters());
  layout->addWidget(Tabelle, 1);
  layout->addWidget(Status);
  layout->addWidget(createButtons());
  timer_ = new QTimer(this);
  timer_->setInterval(30);
  connect(timer_, &QTimer::timeout, this, &TMotorberater::poll);
  resize(980, 460);
}

TMotorberater::~TMotorberater() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

QWidget* TMotorberater::createFilters() {
  const auto [box, row] = MakeWidgetRow(this);
  KlasseVon = new QComboBox(box);
  KlasseVon->setObjectName(QStringLiteral("KlasseVon"));
  KlasseBis = new QComboBox(box);
  KlasseBis->setObjectName(QStringLiteral("KlasseBis"));
  KlasseVon->addItems(kClasses);
  KlasseBis->addItems(kClasses);
  Hersteller = new QComboBox(box);
  Hersteller->setObjectName(QStringLiteral("Hersteller"));
  Durchmesser = new QDoubleSpinBox(box);
  Durchmesser->setObjectName(QStringLiteral("Durchmesser"));
  Durchmesser->setRange(0, 1000);
  Durchmesser->setDecimals(1);
  Durchmesser->setSuffix(QStringLiteral(" mm"));
  Durchmesser->setSpecialValueText(QStringLiteral("alle"));
  PasstInStufe = new QCheckBox(QStringLiteral("passt in die Stufe"), box);
  PasstInStufe->setObjectName(QStringLiteral("PasstInStufe"));
  PasstInStufe->setChecked(true);
  connect(PasstInStufe, &QCheckBox::toggled, Durchmesser, &QWidget::setDisabled);
  NurPassend = new QCheckBox(QStringLiteral("nur mit passender Verzögerung"), box);
  NurPassend->setObjectName(QStringLiteral("NurPassend"));
  Berechnen = new QPushButton(QStringLiteral("Berechnen"), box);
  Berechnen->setObjectName(QStringLiteral("Berechnen"));
  connect(Berechnen, &QPushButton::clicked, this, &TMotorberater::BerechnenClick);
  row->addWidget(new QLabel(QStringLiteral("Klasse"), box));
  row->addWidget(KlasseVon);
  row->addWidget(new QLabel(QStringLiteral("bis"), box));
  row->addWidget(KlasseBis);
  row->addWidget(new QLabel(QStringLiteral("Hersteller"), box));
  row->addWidget(Hersteller);
  row->addWidget(new QLabel(QStringLiteral("Durchmesser bis"), box));
  row->addWidget(Durchmesser);
  row->addWidget(PasstInStufe);
  row->addWidget(NurPassend);
  row->addStretch(1);
  row->addWidget(Berechnen);
  return box;
}

QWidget* TMotorberater::createButtons() {
  const auto [box, row] = MakeWidgetRow(this);
  ImDiagramm = new QCheckBox(QStringLiteral("im Diagramm zeigen"), box);
  ImDiagramm->setObjectName(QStringLiteral("ImDiagramm"));
  ImDiagramm->setToolTip(
      QStringLiteral("Den Flug mit dem gewählten Motor gepunktet über dem Diagramm zeigen; "
                     "die Rakete bleibt, wie sie ist"));
  connect(ImDiagramm, &QCheckBox::toggled, this, &TMotorberater::showComparison);
  Uebernehmen = new QPushButton(QStringLiteral("Übernehmen"), box);
  Uebernehmen->setObjectName(QStringLiteral("Uebernehmen"));
  Uebernehmen->setToolTip(
      QStringLiteral("Den gewählten Motor in den ersten Motorplatz der Hauptstufe setzen"));
  connect(Uebernehmen, &QPushButton::clicked, this, &TMotorberater::UebernehmenClick);
  Exportieren = new QPushButton(QStringLiteral("Exportieren..."), box);
  Exportieren->setObjectName(QStringLiteral("Exportieren"));
  connect(Exportieren, &QPushButton::clicked, this, &TMotorberater::ExportierenClick);
  auto* schliessen = new QPushButton(QStringLiteral("Schließen"), box);
  connect(schliessen, &QPushButton::clicked, this, &QWidget::close);
  row->addWidget(ImDiagramm);
  row->addStretch(1);
  row->addWidget(Uebernehmen);
  row->addWidget(Exportieren);
  row->addWidget(schliessen);
  return box;
}

void TMotorberater::Start(const RocketRecord& rocket, const SimConstants& constants,
                          const std::filesystem::path& database) {
  stopWorker();
  rocket_ = rocket;
  constants_ = FixedConstants(constants.Values());
  database_ = database;
  std::set<QString> makers;
  for (const MotorListEntry& e : ReadMotorList(database))
    if (e.details && !e.details->maker.empty())
      makers.insert(QString::fromStdString(Cp1252ToUtf8(e.details->maker)));
  Hersteller->clear();
  Hersteller->addItem(QString());
  for (const QString& m : makers) Hersteller->addItem(m);
  Durchmesser->setValue(rocket.stages[0].diameter * 1000.0);
  setWindowTitle(
      QStringLiteral("Motorberater - %1").arg(QString::fromStdString(Cp1252ToUtf8(rocket.name.view()))));
  show();
  raise();
  BerechnenClick();
}

GuideFilter TMotorberater::filter() const {
  GuideFilter f;
  f.classFrom = KlasseVon->currentText().toStdString();
  f.classTo = KlasseBis->currentText().toStdString();
  f.maker = Hersteller->currentText().toStdString();
  f.maxDiameterMm = PasstInStufe->isChecked() ? rocket_.stages[0].diameter * 1000.0 : Durchmesser->value();
  f.matchingDelayOnly = NurPassend->isChecked();
  return f;
}

void TMotorberater::BerechnenClick() {
  stopWorker();
  ImDiagramm->setChecked(false);
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
    Status->setText(QStringLiteral("Keine Motoren der Datenbank passen zu den Filtern."));
    return;
  }
  guide_ = std::make_unique<MotorGuide>(rocket_, constants_, std::move(motors), std::move(recordNos),
                                        decimalSeparator_);
  cancel_ = false;
  finished_ = false;
  Status->setText(QStringLiteral("Rechne %1 Flüge...").arg(guide_->size()));
  Berechnen->setEnabled(false);
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
  Berechnen->setEnabled(true);
  rows_ = guide_->Rows(filter());
  fillTable();
  const QString flown =
      guide_->complete()
          ? QStringLiteral("%1 Motoren geflogen").arg(guide_->size())
          : QStringLiteral("abgebrochen: %1 von %2 Motoren geflogen").arg(guide_->done()).arg(guide_->size());
  Status->setText(flown + QStringLiteral(", %1 Zeilen").arg(rows_.size()));
}

void TMotorberater::fillTable() {
  model_->removeRows(0, model_->rowCount());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    QList<QStandardItem*> items = RowItems(rows_[i], decimalSeparator_);
    for (QStandardItem* item : items) item->setBackground(MarkColor(rows_[i].mark));
    items[0]->setData(static_cast<int>(i), kRowRole);
    model_->appendRow(items);
  }
  proxy_->sort(2, Qt::DescendingOrder);
  Tabelle->horizontalHeader()->setSortIndicator(2, Qt::DescendingOrder);
  Tabelle->resizeColumnsToContents();
  if (!rows_.empty()) Tabelle->selectRow(0);
}

int TMotorberater::selectedRow() const {
  const QModelIndex current = Tabelle->currentIndex();
  if (!current.isValid()) return -1;
  return proxy_->mapToSource(current.siblingAtColumn(0)).data(kRowRole).toInt();
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
  RocketRecord flown = rocket_;
  flown.stages[0].motors[0] = motor;
  comparison_->RunSimulation(flown, constants_);
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
