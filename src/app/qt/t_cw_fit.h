// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <optional>

#include "flightlog/cw_fit.h"

class QRadioButton;

namespace komet {

// "cw anpassen": the drag coefficients a measured flight implies, with what
// remains of each, and the shape's estimate where the rocket has a shape;
// "Übernehmen" confirms the chosen one.
class TCwFit : public QDialog {
  Q_OBJECT

 public:
  TCwFit(const CwFit& fit, const std::string& fileName, char decimalSeparator,
         std::optional<double> shapeCw = std::nullopt, QWidget* parent = nullptr);

  // The cw chosen: the apogee's, the ascent's or the shape's.
  double chosenCw() const;

 private:
  CwFit fit_;
  QRadioButton* Gipfel = nullptr;
  QRadioButton* Aufstieg = nullptr;
  QRadioButton* Form = nullptr;  // only with a shape
  std::optional<double> shapeCw_;
};

}  // namespace komet
