// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <optional>

#include "flightlog/flight_log.h"
#include "model/rocket_record.h"
#include "sim/flight_safety.h"
#include "sim/recovery_figures.h"
#include "sim/simulation.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QListWidget;
class QTableWidget;

namespace komet {

// The window "Auswertung": what each of the main motor's delays would do,
// what the recovery did, and the safety rules that the current flight
// breaks, red before amber.
class TAuswertung : public QWidget {
  Q_OBJECT

 public:
  explicit TAuswertung(QWidget* parent = nullptr);

  // Fills the table and the warnings from the last run (with the field's
  // height limit of the settings); numbers with the given decimal separator.
  // `safety` carries the rocket's shape, so that its balance is judged too.
  // The delays come from `freeAscent`, the flight without recovery
  // (Document::freeAscent).
  void Refresh(const Simulation& simulation, const Simulation& freeAscent, char decimalSeparator,
               const SafetyInputs& safety);

  // A measured flight: Refresh shows its apogee against the predicted one;
  // nullptr: none. The recording outlives its showing.
  void SetMeasuredFlight(const FlightLog* log) { measured_ = log; }

  QTableWidget* delayTable() const { return Verzoegerungen; }
  QListWidget* warningList() const { return Warnungen; }

 signals:
  // F1: the help page "auswertung.html".
  void helpRequested(const QString& page);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The block "Bergung": one row per figure, or a line saying there is none.
  void ShowRecovery(const std::optional<RecoveryFigures>& figures, char decimalSeparator);

  QLabel* Kopf = nullptr;
  QLabel* Messflug = nullptr;
  const FlightLog* measured_ = nullptr;
  QTableWidget* Verzoegerungen = nullptr;
  QGroupBox* Bergung = nullptr;
  QGridLayout* bergungRows_ = nullptr;
  QListWidget* Warnungen = nullptr;
};

}  // namespace komet
