// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/t_einstellungen.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/komet_error.h"
#include "common/qt/qt_text.h"
#include "common/qt/system_locale.h"
#include "common/qt/window_place.h"
#include "common/user_folders.h"
#include "dialogs/site_form.h"

namespace komet {
namespace {

// The personal database in the user's data folder (~/.local/share/Komet).
std::filesystem::path PersonalDatabasePath() {
  return UserDataFolder() / kPersonalDatabaseName;
}

constexpr int kClientWidth = 427;
constexpr int kClientHeight = 283;
// More problems than this are summed up in one line.
constexpr int kMaxProblemLines = 15;

QString ImportProblemsText(const MotorDatabaseImport& imported) {
  QStringList lines;
  for (const std::string& p : imported.problems) {
    if (lines.size() == kMaxProblemLines) {
      lines << QStringLiteral("... und %1 weitere").arg(imported.problems.size() - kMaxProblemLines);
      break;
    }
    lines << ToQ(p);
  }
  return lines.join('\n');
}

}  // namespace

TEinstellungen::TEinstellungen(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setWindowTitle(QStringLiteral("Einstellungen"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setMinimumSize(kClientWidth, kClientHeight);
  resize(kClientWidth, kClientHeight);
  tabs_ = new QTabWidget(this);
  tabs_->addTab(createConstantsPage(), QStringLiteral("Konstanten"));
  tabs_->addTab(createPathsPage(), QStringLiteral("Pfade"));
  tabs_->addTab(createSitePage(), QStringLiteral("Startplatz"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addWidget(createButtons());
  settings_.setDecimalSeparator(LocaleDecimalSeparator());
  settings_.FormCreate();
  showForm();
}

QWidget* TEinstellungen::createConstantsPage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  struct Row {
    const char* caption;
    QLineEdit** edit;
    const char* name;
    const char* unit;
  };
  const Row rows[] = {{"Luftdichte", &Ldichte, "Ldichte", ""},
                      {"Länge der Startvorrichtung", &Lstart, "Lstart", "[m]"},
                      {"Reibung an Startvorrichtung", &rstart, "rstart", "[N]"},
                      {"Erdbeschleunigung", &lerd, "lerd", "[m/sec²]"},
                      {"Berechnungszeitraum", &LBer, "LBer", "[sec]"}};
  int r = 0;
  for (const Row& row : rows) {
    *row.edit = new QLineEdit(page);
    (*row.edit)->setObjectName(QString::fromLatin1(row.name));
    (*row.edit)->setFixedWidth(90);
    grid->addWidget(new QLabel(QString::fromUtf8(row.caption), page), r, 0);
    grid->addWidget(*row.edit, r, 1);
    grid->addWidget(new QLabel(QString::fromUtf8(row.unit), page), r, 2);
    ++r;
  }
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(r, 1);
  return page;
}

QWidget* TEinstellungen::createPathsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  MotorenPfad = new QLineEdit(page);
  MotorenPfad->setObjectName(QStringLiteral("MotorenPfad"));
  MotorenPfad->setReadOnly(true);
  BitBtn5 = new QPushButton(QStringLiteral("Motordatenbank auswählen"), page);
  BitBtn5->setObjectName(QStringLiteral("BitBtn5"));
  BitBtn5->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  BitBtn5->setAutoDefault(false);
  connect(BitBtn5, &QPushButton::clicked, this, &TEinstellungen::BitBtn5Click);
  Ordner = new QPushButton(QStringLiteral("Motorordner importieren..."), page);
  Ordner->setObjectName(QStringLiteral("Ordner"));
  Ordner->setAutoDefault(false);
  connect(Ordner, &QPushButton::clicked, this, &TEinstellungen::OrdnerClick);
  Katalog = new QPushButton(QStringLiteral("Mitgelieferter &Katalog"), page);
  Katalog->setObjectName(QStringLiteral("Katalog"));
  Katalog->setAutoDefault(false);
  Katalog->setToolTip(QStringLiteral("Wieder den mit Komet gelieferten Motorkatalog verwenden"));
  connect(Katalog, &QPushButton::clicked, this, &TEinstellungen::KatalogClick);
  layout->addWidget(new QLabel(QStringLiteral("Motordatenbank in Gebrauch:"), page));
  layout->addWidget(MotorenPfad);
  layout->addWidget(BitBtn5, 0, Qt::AlignLeft);
  layout->addWidget(Ordner, 0, Qt::AlignLeft);
  layout->addWidget(Katalog, 0, Qt::AlignLeft);
  auto* importNote =
      new QLabel(QStringLiteral("Importierte Motordateien kommen zu den Motoren der Datenbank in "
                                "Gebrauch hinzu,\nin eine eigene Datenbank: %1")
                     .arg(QDir::toNativeSeparators(ToQ(PersonalDatabasePath().string()))),
                 page);
  importNote->setWordWrap(true);  // the page is narrower than the text at a larger font
  layout->addWidget(importNote);
  layout->addStretch(1);
  return page;
}

// The air and the wind of the launch site: settings of the program, kept
// apart from the options file.
QWidget* TEinstellungen::createSitePage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  Normatmosphaere = new QCheckBox(QStringLiteral("&Normatmosphäre: die Luft wird mit der Höhe dünner"), page);
  Normatmosphaere->setObjectName(QStringLiteral("Normatmosphaere"));
  grid->addWidget(Normatmosphaere, 0, 0, 1, 4);
  struct Row {
    const char* caption;
    QLineEdit** edit;
    const char* name;
    const char* unit;
  };
  const Row rows[] = {{"&Höhe des Startplatzes", &Hoehe, "Hoehe", "m über dem Meer"},
                      {"Boden&temperatur", &Temperatur, "Temperatur", "°C"},
                      {"&Windgeschwindigkeit", &Wind, "Wind", "m/s, für die Abdrift"},
                      {"Radius des &Feldes", &Feldradius, "Feldradius", "m"},
                      {"Höhen&grenze", &Hoehengrenze, "Hoehengrenze", "m, leer: keine"}};
  int r = 1;
  for (const Row& row : rows) {
    *row.edit = new QLineEdit(page);
    (*row.edit)->setObjectName(QString::fromLatin1(row.name));
    (*row.edit)->setFixedWidth(90);
    auto* label = new QLabel(QString::fromUtf8(row.caption), page);
    label->setBuddy(*row.edit);
    grid->addWidget(label, r, 0);
    grid->addWidget(*row.edit, r, 1);
    grid->addWidget(new QLabel(QString::fromUtf8(row.unit), page), r, 2);
    ++r;
  }
  Feldradius->setToolTip(
      QStringLiteral("Wie weit um die Startrampe eine Rakete landen darf; landet eine Rakete mit Bergung "
                     "weiter weg, ist der Flug gelb"));
  Hoehengrenze->setToolTip(QStringLiteral("Ein höherer Gipfel ist rot; leer: keine Grenze"));
  Normatmosphaere->setToolTip(
      QStringLiteral("Ohne Normatmosphäre gilt die Luftdichte der Konstanten in jeder Höhe"));
  // Six rows fill the page: what the fields mean stands in their tooltips.
  Wind->setToolTip(
      QStringLiteral("Die Abdrift ist eine Schätzung: Wind mal Zeit vom Gipfelpunkt bis zur Landung"));
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(r, 1);
  connect(Normatmosphaere, &QCheckBox::toggled, this, [this](bool on) {
    Hoehe->setEnabled(on);
    Temperatur->setEnabled(on);
  });
  return page;
}

QWidget* TEinstellungen::createButtons() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto make = [&](QPushButton*& button, const char* name, const QString& text, QStyle::StandardPixmap icon) {
    button = new QPushButton(style()->standardIcon(icon), text, row);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    layout->addWidget(button);
  };
  make(BitBtn2, "BitBtn2", QStringLiteral("OK"), QStyle::SP_DialogOkButton);
  make(BitBtn1, "BitBtn1", QStringLiteral("Abbruch"), QStyle::SP_DialogCancelButton);
  make(BitBtn3, "BitBtn3", QStringLiteral("Laden"), QStyle::SP_DialogOpenButton);
  make(BitBtn4, "BitBtn4", QStringLiteral("Sichern"), QStyle::SP_DialogSaveButton);
  BitBtn2->setDefault(true);
  connect(BitBtn2, &QPushButton::clicked, this, &TEinstellungen::BitBtn2Click);
  connect(BitBtn1, &QPushButton::clicked, this, &TEinstellungen::reject);
  connect(BitBtn3, &QPushButton::clicked, this, &TEinstellungen::BitBtn3Click);
  connect(BitBtn4, &QPushButton::clicked, this, &TEinstellungen::BitBtn4Click);
  return row;
}

bool TEinstellungen::Run() {
  showForm();
  return exec() == QDialog::Accepted;
}

// A placeholder, not the field's text: what OK stores stays "none chosen",
// so a later change of the bundled database is followed.
void TEinstellungen::SetBundledDatabase(const QString& path) {
  bundledDatabase_ = path;
  MotorenPfad->setPlaceholderText(
      path.isEmpty() ? QString() : QDir::toNativeSeparators(path) + QStringLiteral(" (mitgeliefert)"));
}

void TEinstellungen::showForm() {
  const SettingsForm& f = settings_.form;
  Ldichte->setText(ToQ(f.Ldichte));
  Lstart->setText(ToQ(f.Lstart));
  rstart->setText(ToQ(f.rstart));
  lerd->setText(ToQ(f.lerd));
  LBer->setText(ToQ(f.LBer));
  MotorenPfad->setText(ToQ(f.MotorenPfad));
  MotorenPfad->setCursorPosition(0);
  MotorenPfad->setToolTip(MotorenPfad->text());
  // As wide as the path needs, as far as the screen allows: a cut path
  // hides which database is in use.
  constexpr int kPageChrome = 64;  // dialog, tab page and field margins
  const int wanted = MotorenPfad->fontMetrics().horizontalAdvance(MotorenPfad->text()) + kPageChrome;
  if (wanted > width()) resize(FitOnScreen(QSize(wanted, height()), this));
  showSite();
}

void TEinstellungen::showSite() {
  const SiteForm site = ShowSite(settings_.site, LocaleDecimalSeparator());
  Normatmosphaere->setChecked(site.standardAtmosphere);
  Hoehe->setText(ToQ(site.altitude));
  Temperatur->setText(ToQ(site.temperature));
  Wind->setText(ToQ(site.wind));
  Hoehe->setEnabled(site.standardAtmosphere);
  Temperatur->setEnabled(site.standardAtmosphere);
  const FieldForm field = ShowField(settings_.field, LocaleDecimalSeparator());
  Feldradius->setText(ToQ(field.radius));
  Hoehengrenze->setText(ToQ(field.ceiling));
}

bool TEinstellungen::takeSite() {
  const SiteForm form{Normatmosphaere->isChecked(), ToStd(Hoehe->text()), ToStd(Temperatur->text()),
                      ToStd(Wind->text())};
  const SiteTake take = TakeSite(form, settings_.site, LocaleDecimalSeparator());
  const FieldTake fieldTake =
      TakeField({ToStd(Feldradius->text()), ToStd(Hoehengrenze->text())}, LocaleDecimalSeparator());
  if (take.problem.empty() && fieldTake.problem.empty()) {
    settings_.site = take.site;
    settings_.field = fieldTake.field;
    return true;
  }
  const SiteField refused = take.problem.empty() ? fieldTake.refused : take.field;
  QLineEdit* field = refused == SiteField::Altitude      ? Hoehe
                     : refused == SiteField::Temperature ? Temperatur
                     : refused == SiteField::FieldRadius ? Feldradius
                     : refused == SiteField::Ceiling     ? Hoehengrenze
                                                         : Wind;
  tabs_->setCurrentWidget(field->parentWidget());
  QMessageBox::warning(this, windowTitle(),
                       QStringLiteral("Dieser Wert ist keine Zahl im erlaubten Bereich:\n") +
                           ToQ(take.problem.empty() ? fieldTake.problem : take.problem));
  field->setFocus();
  field->selectAll();
  return false;
}

void TEinstellungen::takeForm() {
  SettingsForm& f = settings_.form;
  f.Ldichte = ToStd(Ldichte->text());
  f.Lstart = ToStd(Lstart->text());
  f.rstart = ToStd(rstart->text());
  f.lerd = ToStd(lerd->text());
  f.LBer = ToStd(LBer->text());
  f.MotorenPfad = ToStd(MotorenPfad->text());
}

void TEinstellungen::reject() {
  settings_.BitBtn1Click();
  showForm();
  QDialog::reject();
}

void TEinstellungen::BitBtn2Click() {
  takeForm();
  if (!takeSite()) return;
  settings_.BitBtn2Click();
  accept();
}

// The stored path may name another database than the one the motor lists
// were read from.
void TEinstellungen::BitBtn3Click() {
  const std::string before = settings_.motorDbName;
  settings_.LoadOptions();
  if (loadSite) settings_.site = loadSite();
  if (loadField) settings_.field = loadField();
  showForm();
  if (settings_.motorDbName != before) emit databaseChanged();
}

// A failed write leaves the typed values in effect; the user learns why
// they will be gone at the next start.
void TEinstellungen::BitBtn4Click() {
  takeForm();
  if (!takeSite()) return;
  if (saveSite) saveSite(settings_.site);
  if (saveField) saveField(settings_.field);
  try {
    settings_.SaveOptions();
  } catch (const KometError& e) {
    const QString file = QString::fromStdString(settings_.optionsFile().string());
    showError(QStringLiteral("Die Einstellungen konnten nicht in %1 gesichert werden.")
                  .arg(QDir::toNativeSeparators(file)),
              e);
  }
}

void TEinstellungen::BitBtn5Click() {
  const QString current = ToQ(settings_.motorDbName);
  const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
  const QStringList paths = QFileDialog::getOpenFileNames(
      this, QStringLiteral("Motordatenbank auswählen"), start,
      QStringLiteral("Motordaten (*.kdb *.eng *.rse);;Brix Export (*.kdb);;Motordateien (*.eng *.rse)"));
  if (!paths.isEmpty()) ChooseDatabaseFiles(paths);
}

void TEinstellungen::OrdnerClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Motorordner importieren"));
  if (!folder.isEmpty()) ChooseDatabaseFiles({folder});
}

void TEinstellungen::KatalogClick() {
  takeForm();
  settings_.ChooseDatabase({});
  showForm();
  emit databaseChanged();
}

void TEinstellungen::ChooseDatabaseFile(const QString& path) {
  ChooseDatabaseFiles({path});
}

void TEinstellungen::ChooseDatabaseFiles(const QStringList& paths) {
  takeForm();  // constants typed meanwhile stay in the fields
  auto isKdb = [](const QString& p) {
    return QFileInfo(p).suffix().compare(QLatin1String("kdb"), Qt::CaseInsensitive) == 0;
  };
  const auto kdbCount = std::count_if(paths.begin(), paths.end(), isKdb);
  if (kdbCount > 0 && paths.size() > 1) {
    QMessageBox::warning(
        this, QStringLiteral("Motordatenbank auswählen"),
        QStringLiteral("Eine Motordatenbank (.kdb) bitte allein wählen, ohne Motordateien."));
    return;
  }
  std::filesystem::path kdb = ToPath(paths.front());
  if (kdbCount == 0) {
    std::vector<std::filesystem::path> inputs;
    for (const QString& p : paths) inputs.push_back(ToPath(p));
    const std::filesystem::path current =
        settings_.GetDBName().empty() ? ToPath(bundledDatabase_) : settings_.GetDBName();
    try {
      const MotorDatabaseImport imported = ImportMotorDatabase(inputs, current, PersonalDatabasePath());
      showImportResult(imported);
      if (imported.database.empty()) return;
      kdb = imported.database;
    } catch (const KometError& e) {
      showError(QStringLiteral("Die Motordaten konnten nicht gesichert werden."), e);
      return;
    }
  }
  settings_.ChooseDatabase(kdb);
  showForm();
  emit databaseChanged();
}

void TEinstellungen::showImportResult(const MotorDatabaseImport& imported) {
  QMessageBox box(imported.database.empty() ? QMessageBox::Warning : QMessageBox::Information,
                  QStringLiteral("Motordaten importieren"), ToQ(imported.summary), QMessageBox::Ok, this);
  if (imported.database.empty())
    box.setInformativeText(QStringLiteral("Die bisherige Motordatenbank bleibt eingestellt."));
  else
    box.setInformativeText(
        QStringLiteral("Die Motoren stehen jetzt mit denen der bisherigen Datenbank in %1.")
            .arg(QDir::toNativeSeparators(ToQ(imported.database.string()))) +
        (imported.backup.empty() ? QString()
                                 : QStringLiteral("\nDie frühere eigene Datenbank liegt als %1 daneben.")
                                       .arg(QDir::toNativeSeparators(ToQ(imported.backup.string())))));
  if (!imported.problems.empty()) {
    box.setText(ToQ(imported.summary) + "\n\n" + ImportProblemsText(imported));
    QStringList all;
    for (const std::string& p : imported.problems) all << ToQ(p);
    box.setDetailedText(all.join('\n'));  // every problem, scrollable
  }
  box.exec();
}

void TEinstellungen::showError(const QString& what, const std::exception& e) {
  QMessageBox::warning(this, windowTitle(), what + "\n\n" + QString::fromUtf8(e.what()));
}

}  // namespace komet
