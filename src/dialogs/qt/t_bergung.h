// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <optional>

#include "dialogs/recovery_form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace komet {

// The recovery dialog "Bergung": none, a parachute or a streamer on the top
// stage, and when it opens. Its widgets mirror the core RecoveryForm; the
// rules (ranges, the chute-size helper) are the core's.
class TBergung : public QDialog {
  Q_OBJECT

 public:
  // `stored` is what the rocket's block holds; `context` what the dialog
  // shows about the rocket and its last flight.
  TBergung(const std::optional<Recovery>& stored, RecoveryContext context, char decimalSeparator,
           QWidget* parent = nullptr);

  // Shows the dialog modally; true when it was closed with OK, which only
  // happens with every field in its range.
  bool Run();
  // What OK took: nothing for "keine".
  const std::optional<Recovery>& recovery() const { return recovery_; }

 private slots:
  void BitBtn1Click();      // OK
  void KindClick();         // keine / Fallschirm / Band
  void DeploymentClick();   // charge or apogee
  void UebernehmenClick();  // the helper's diameter into the field
  void RegelClick();        // the streamer's cw by the rule
  void LengthEdited();      // a rule cw follows the length
  void updateSuggestion();

 private:
  QWidget* createKindRow();
  QWidget* createNonePage();
  QWidget* createChutePage();
  QWidget* createStreamerPage();
  QGroupBox* createDeploymentGroup();
  QWidget* createButtons();
  QLineEdit* numberField(const char* name, QWidget* parent);
  void showForm();                 // form_ -> widgets
  RecoveryForm shownForm() const;  // the widgets' texts
  QWidget* fieldWidget(RecoveryField field) const;

  RecoveryContext context_;
  char decimalSeparator_;
  RecoveryForm form_;
  std::optional<Recovery> recovery_;
  std::string ruleCw_;  // the streamer cw the rule gave last

  QRadioButton* Keine = nullptr;
  QRadioButton* Fallschirm = nullptr;
  QRadioButton* Band = nullptr;
  QStackedWidget* Seiten = nullptr;
  QLineEdit* Durchmesser = nullptr;
  QLineEdit* SchirmCw = nullptr;
  QLineEdit* Sinkrate = nullptr;
  QLabel* Vorschlag = nullptr;
  QPushButton* Uebernehmen = nullptr;
  QLineEdit* Laenge = nullptr;
  QLineEdit* Breite = nullptr;
  QLineEdit* BandCw = nullptr;
  QPushButton* Regel = nullptr;
  QGroupBox* Oeffnung = nullptr;
  QRadioButton* Ladung = nullptr;
  QRadioButton* Gipfel = nullptr;
  QComboBox* Verzoegerung = nullptr;
  QLineEdit* Oeffnungsdauer = nullptr;
  QLabel* LetzterFlug = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
};

}  // namespace komet
