// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <vector>

#include "dialogs/motor_filter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace komet {

class MotorCurveWidget;
class MotorFilterProxy;
class MotorTableModel;

// "Motor wählen": the whole motor database as a table with search, class
// range, maker and diameter filters, sortable by any column, and the thrust
// curve of the selected motor beside it. OK or a double-click chooses.
class TMotorwahl : public QDialog {
  Q_OBJECT

 public:
  // `rows` are the motor list's, in its order; `mount` is what the stage's
  // motor mount takes (nothing known: the fit check is off); `current` is
  // the slot's motor list index or -1.
  TMotorwahl(std::vector<MotorRow> rows, const MountLimit& mount, int current, char decimalSeparator,
             QWidget* parent = nullptr);
  ~TMotorwahl() override;

  // The chosen motor's list index; -1 without a selection.
  int selectedIndex() const;

 private:
  QWidget* createFilters();
  QWidget* createTable();
  void fitColumns();
  QWidget* createButtons();
  void fillChoices();
  void applyFilter();
  void selectMotor(int index);
  void selectionChanged();
  void TabelleDoubleClick(const QModelIndex& index);

  MountLimit mount_;
  char decimalSeparator_;
  int chosen_ = -1;         // the selected motor, kept while the filters change
  bool filtering_ = false;  // the proxy is moving rows: not the user's selection
  MotorTableModel* model_ = nullptr;
  MotorFilterProxy* proxy_ = nullptr;
  QLineEdit* Suche = nullptr;
  QComboBox* KlasseVon = nullptr;
  QComboBox* KlasseBis = nullptr;
  QComboBox* Hersteller = nullptr;
  QComboBox* Durchmesser = nullptr;
  QCheckBox* Passt = nullptr;
  QTableView* Tabelle = nullptr;
  MotorCurveWidget* Schubkurve = nullptr;
  QLabel* Anzahl = nullptr;
  QLabel* Legende = nullptr;  // what the coloured rows mean
  QPushButton* OK = nullptr;
};

}  // namespace komet
