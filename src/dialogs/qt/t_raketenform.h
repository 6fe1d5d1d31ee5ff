// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "dialogs/shape_form.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace komet {

class ShapeView;

// The shape dialog "Form": per stage nose, tube, fins, transition, motor
// mount, balance point and finish, a side drawing with the centres of
// gravity and pressure, and the margin and cw they give. Its widgets
// mirror the core ShapeForm; the rules are the core's.
class TRaketenform : public QDialog {
  Q_OBJECT

 public:
  TRaketenform(const ShapeForm& form, ShapeContext context, char decimalSeparator, QWidget* parent = nullptr);

  // Shows the dialog modally; true when closed with OK, which only happens
  // with a shape that can be flown.
  bool Run();
  const std::optional<RocketShape>& shape() const { return shape_; }
  // "cw übernehmen": the estimate the user asked to take with OK.
  const std::optional<double>& takenCw() const { return takenCw_; }

 private slots:
  void BitBtn1Click();  // OK
  void CwClick();       // take the shape's cw
  void updateFigures();

 private:
  struct StagePage {
    QComboBox* noseShape = nullptr;
    QLineEdit* noseLength = nullptr;
    QLineEdit* bodyLength = nullptr;
    QCheckBox* hasFins = nullptr;
    QComboBox* finCount = nullptr;
    std::array<QLineEdit*, 6> fins{};  // root, tip, span, sweep, thickness, from aft
    QCheckBox* hasTransition = nullptr;
    QLineEdit* transitionLength = nullptr;
    QLineEdit* aftDiameter = nullptr;
    std::array<QLineEdit*, 3> mount{};  // diameter, length, overhang
    QCheckBox* estimateCg = nullptr;
    QLineEdit* emptyCg = nullptr;
    QComboBox* finish = nullptr;
  };
  QWidget* createStagePage(int stage);
  QWidget* createButtons();
  QLineEdit* numberField(QWidget* parent);
  void showForm();
  ShapeForm shownForm() const;

  ShapeForm form_;
  ShapeContext context_;
  char decimalSeparator_;
  std::optional<RocketShape> shape_;
  std::optional<double> takenCw_;
  std::optional<double> estimate_;

  QTabWidget* Stufen = nullptr;
  std::array<StagePage, 3> pages_{};
  ShapeView* Zeichnung = nullptr;
  QLabel* Werte = nullptr;
  QPushButton* CwUebernehmen = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
};

}  // namespace komet
