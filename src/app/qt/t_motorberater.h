// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "app/motor_guide.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QProgressDialog;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QTimer;

namespace komet {

// The window "Motorberater": the current rocket flown with each candidate
// motor of the database in stage 1's first slot, one row per motor, safe
// motors first. The runs happen on worker threads; a filter takes effect as
// it changes (the motors' filters fly the guide again, the flight limits
// only hide rows). The window shows a progress bar with "Abbrechen" once a
// guide takes longer than a moment, and never blocks.
class TMotorberater : public QWidget {
  Q_OBJECT

 public:
  TMotorberater(char decimalSeparator, QWidget* parent = nullptr);
  ~TMotorberater() override;

  // Shows the window for this rocket (a copy: the guide never changes the
  // document) and flies the candidates of `database` that fit the main
  // stage's mount (StageMountOf: the shape's, else its motor's now).
  // With a shape each motor's balance is judged.
  // The rules judge by `field` (the settings' "Startplatz" page); a line
  // above the table says which field, wind and mount the guide used.
  void Start(const RocketRecord& rocket, const std::optional<RocketShape>& shape,
             const SimConstants& constants, const std::filesystem::path& database,
             const LaunchField& field = {});

  QTableView* table() const { return Tabelle; }
  bool running() const { return worker_.joinable(); }
  // A guide runs, or a changed filter is about to start one.
  bool busy() const;
  // Longer guides show the progress bar; tests shorten the wait.
  void setProgressDelay(int ms) { progressDelayMs_ = ms; }
  // The wait after a motor filter changes before the guide flies again.
  void setRestartDelay(int ms);

 public slots:
  void BerechnenClick();    // flies the candidates of the filters
  void AbbrechenClick();    // stops a running guide; the rows flown so far stay
  void UebernehmenClick();  // the selected motor into the rocket
  void ExportierenClick();

 signals:
  // "Übernehmen": the database record to put into stage 1's first slot.
  void takeMotor(int recordNo);
  // A flight to draw over the plot for comparison; nullptr: none.
  void compare(Simulation* flight, const QString& label);
  // F1: the help page "motorberater.html".
  void helpRequested(const QString& page);

 protected:
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* createFilters();
  void createMotorFilters(QWidget* box, QGridLayout* grid);
  void createFlightLimits(QWidget* box, QGridLayout* grid);
  QWidget* createButtons();
  void createTable();
  void createShortcuts();
  void placeBesideParent();
  GuideFilter filter() const;
  void motorFilterChanged();
  void saveSettings();
  void showField();
  void limitsChanged();
  void poll();
  void finish();
  void fillTable();
  int selectedRow() const;  // index into rows_, or -1
  void showComparison();
  void stopWorker();

  QComboBox* KlasseVon = nullptr;
  QComboBox* KlasseBis = nullptr;
  QComboBox* Hersteller = nullptr;
  QDoubleSpinBox* Durchmesser = nullptr;
  QDoubleSpinBox* Laenge = nullptr;
  QDoubleSpinBox* GipfelVon = nullptr;
  QDoubleSpinBox* GipfelBis = nullptr;
  QDoubleSpinBox* VMax = nullptr;
  QCheckBox* NurGruen = nullptr;
  QCheckBox* NurPassend = nullptr;
  QPushButton* Berechnen = nullptr;
  QLabel* Feld = nullptr;
  QTableView* Tabelle = nullptr;
  QLabel* Legende = nullptr;
  QLabel* Status = nullptr;
  QCheckBox* ImDiagramm = nullptr;
  QPushButton* Uebernehmen = nullptr;
  QPushButton* Exportieren = nullptr;
  QStandardItemModel* model_ = nullptr;
  QSortFilterProxyModel* proxy_ = nullptr;
  QTimer* timer_ = nullptr;
  QTimer* restart_ = nullptr;
  QProgressDialog* progress_ = nullptr;

  char decimalSeparator_;
  int progressDelayMs_ = 200;
  bool placed_ = false;
  bool filling_ = false;  // the filters are being set by the program, not the user
  RocketRecord rocket_{};
  std::optional<RocketShape> shape_;
  FixedConstants constants_;
  LaunchField field_;
  std::filesystem::path database_;
  std::unique_ptr<MotorGuide> guide_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  std::thread worker_;
  QElapsedTimer elapsed_;
  std::vector<GuideRow> rows_;
  std::unique_ptr<Simulation> comparison_;  // the flight shown in the plot
  MotorRecord comparisonMotor_{};           // its main motor, which its plan points at
};

}  // namespace komet
