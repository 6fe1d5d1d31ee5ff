// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

#include "dialogs/settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

namespace komet {

// The settings dialog "Einstellungen": pages "Konstanten", "Pfade" and
// "Startplatz" over the core Settings, whose handlers do the work.
class TEinstellungen : public QDialog {
  Q_OBJECT

 public:
  // Loads the options file and the stored database path (FormCreate) with
  // the locale's decimal separator.
  explicit TEinstellungen(Settings& settings, QWidget* parent = nullptr);

  // Shows the dialog modally; true when it was closed with OK (the caller
  // then runs the simulation again).
  bool Run();

  // The database in use while none is chosen: "Pfade" shows it, marked
  // "(mitgeliefert)", where the chosen path would stand.
  void SetBundledDatabase(const QString& path);

  // Where the launch site is kept between runs (the program's settings):
  // "Laden" reads it, "Sichern" writes it. Unset: it lives for this run only.
  std::function<LaunchSite()> loadSite;
  std::function<void(const LaunchSite&)> saveSite;
  // The same for the field the safety rules judge by.
  std::function<LaunchField()> loadField;
  std::function<void(const LaunchField&)> saveField;

 signals:
  // Another motor database was chosen: the stage dialog's lists are reread at once.
  void databaseChanged();

 public slots:
  // "Abbruch" and closing by the frame or Escape: the stored values return.
  void reject() override;

 private slots:
  void BitBtn2Click();  // OK
  void BitBtn3Click();  // "Laden"
  void BitBtn4Click();  // "Sichern"
  void BitBtn5Click();  // "Motordatenbank auswählen"
  void OrdnerClick();   // "Motorordner importieren..."
  void KatalogClick();  // "Mitgelieferter Katalog": back to the bundled one
  // What BitBtn5 or OrdnerClick picked: a .kdb is taken as it is; motor
  // files (.eng, .rse) and folders of them are added to the personal
  // database (a copy of the one in use), and the import ends with its
  // summary.
  void ChooseDatabaseFile(const QString& path);
  void ChooseDatabaseFiles(const QStringList& paths);

 private:
  QWidget* createConstantsPage();
  QWidget* createPathsPage();
  QWidget* createSitePage();
  // The site's and the field's fields into settings.site and .field; false,
  // after saying why and with the cursor in the field, when one is refused.
  bool takeSite();
  void showSite();
  QWidget* createButtons();
  void showForm();  // settings.form -> widgets
  void takeForm();  // widgets -> settings.form
  void showImportResult(const MotorDatabaseImport& imported);
  void showError(const QString& what, const std::exception& e);

  Settings& settings_;
  QTabWidget* tabs_ = nullptr;
  QLineEdit* Ldichte = nullptr;
  QLineEdit* Lstart = nullptr;
  QLineEdit* rstart = nullptr;
  QLineEdit* lerd = nullptr;
  QLineEdit* LBer = nullptr;
  QLineEdit* MotorenPfad = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QPushButton* BitBtn3 = nullptr;
  QPushButton* BitBtn4 = nullptr;
  QPushButton* BitBtn5 = nullptr;
  QPushButton* Ordner = nullptr;
  QPushButton* Katalog = nullptr;
  QCheckBox* Normatmosphaere = nullptr;
  QLineEdit* Hoehe = nullptr;
  QLineEdit* Temperatur = nullptr;
  QLineEdit* Wind = nullptr;
  QLineEdit* Feldradius = nullptr;
  QLineEdit* Hoehengrenze = nullptr;
  QString bundledDatabase_;
};

}  // namespace komet
