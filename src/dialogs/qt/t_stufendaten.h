// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>

#include "dialogs/stage_form.h"
#include "model/rocket_shape.h"

class QComboBox;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace komet {

class CalculatorDialog;

// The stage dialog "Stufendaten": the rocket's name, drag coefficient and
// three stage pages. Its widgets mirror the core StageForm: the form is
// copied into them when the dialog is shown and taken back when it closes,
// by OK or by Abbruch, so edits before an Abbruch stay for the next OK.
class TStufendaten : public QDialog {
  Q_OBJECT

 public:
  using PathSource = std::function<std::filesystem::path()>;

  // The form (the document's) outlives the dialog. `database` gives the
  // motor database path when the chooser opens (none: names only).
  TStufendaten(StageForm& form, char decimalSeparator, QWidget* parent = nullptr, PathSource database = {});

  // The rocket the form was last loaded from (the document's, which outlives
  // the dialog): "Verwerfen" goes back to it.
  void setRocket(const RocketRecord* rocket) { rocket_ = rocket; }
  // The rocket's shape (the document's, which outlives the dialog): its
  // mounts refuse motors that do not fit, and the balance with the chosen
  // motors shows beside them.
  void setShape(const std::optional<RocketShape>* shape) { shape_ = shape; }
  // Shows the dialog modally with the form's values; true when closed with
  // OK. Edits kept from an "Abbruch" are announced in a line at the top.
  bool Run();
  // A drag coefficient taken elsewhere (the shape's) into the cw field,
  // to be transferred with the dialog's OK.
  void SetCwText(const QString& text);
  // Refills the nine motor lists from the form's list and selections, as
  // after GetNames.
  void UpdateMotorLists();
  // The chosen motor's class, diameter and impulse as the list's tooltip.
  void showMotorTip(std::size_t list);
  // The balance line beside the motors, for the dialog's values as they stand.
  void showStability();

 signals:
  // A motor button was pressed: the curve viewer's ShowMotor (record number or -1).
  void motorCurveRequested(int recordNo);
  // The dialog closed: the curve viewer closes with it.
  void curveViewerCloseRequested();
  // "Bergung...": the recovery dialog opens over this one.
  void recoveryRequested();
  // "Form...": the shape dialog opens over this one.
  void shapeRequested();

 private slots:
  void BitBtn1Click();    // OK
  void BitBtn2Click();    // Abbruch
  void VerwerfenClick();  // back to the rocket's values

 private:
  QWidget* createStagePage(int stage);
  void addHeaderRows(QGridLayout* grid, int stage, QWidget* page);
  QHBoxLayout* createCwRow(QWidget* page);
  QWidget* createMotorGroup(int stage, QWidget* page);
  QWidget* createMotorHeader(int stage, QWidget* parent);
  void addAreaRows(QGridLayout* grid, int stage, QWidget* page);
  QWidget* createButtons();
  QWidget* createBanner();
  void showBanner(bool show);
  void showForm();            // form -> widgets
  void takeForm();            // widgets -> form
  StageForm formNow() const;  // the form as the widgets have it, the form itself untouched
  void takeInto(StageForm& form) const;
  void motorChosen(std::size_t list);      // refuses a motor the stage's mount does not take
  const RocketShape* rocketShape() const;  // none without a shape
  void ComboEditButtonClick(int stage);
  void SpeedButtonClick(int slot);
  void WahlButtonClick(int slot);  // the chooser "Motor wählen"

  StageForm& form_;
  char decimalSeparator_;
  PathSource database_;
  const RocketRecord* rocket_ = nullptr;
  const std::optional<RocketShape>* shape_ = nullptr;
  std::array<int, kMotorListCount> chosen_{};  // each list's accepted choice, put back on a refusal
  bool filling_ = false;                       // the lists are being set by the program
  bool abandoned_ = false;                     // the last showing ended with Abbruch
  QFrame* Banner = nullptr;
  QTabWidget* TabbedNotebook1 = nullptr;
  QLineEdit* RakName = nullptr;
  QLineEdit* ecwwert = nullptr;
  QToolButton* Bergung = nullptr;
  QPushButton* Form = nullptr;
  QLineEdit* Verz1 = nullptr;
  QLineEdit* verz2 = nullptr;
  std::array<QLineEdit*, kStageCount> stmgr{};
  std::array<QLineEdit*, kStageCount> durch{};
  std::array<QLineEdit*, kStageCount> ComboEdit{};
  std::array<QLabel*, kStageCount> Stabilitaet{};
  std::array<QComboBox*, kMotorListCount> motore{};
  std::array<class MotorListSearch*, kMotorListCount> searches_{};
  std::array<QSpinBox*, kMotorListCount> anzmot{};
  std::array<QToolButton*, kMotorListCount> SpeedButton{};
  std::array<QToolButton*, kMotorListCount> WahlButton{};
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  CalculatorDialog* RxCalculator1 = nullptr;
};

}  // namespace komet
