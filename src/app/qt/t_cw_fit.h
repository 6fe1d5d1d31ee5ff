// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "flightlog/cw_fit.h"

class QRadioButton;

namespace komet {

// "cw anpassen": the drag coefficients a measured flight implies, with what
// remains of each; "Übernehmen" confirms the chosen one.
class TCwFit : public QDialog {
  Q_OBJECT

 public:
  TCwFit(const CwFit& fit, const std::string& fileName, char decimalSeparator, QWidget* parent = nullptr);

  // The cw chosen: the apogee's or the ascent's.
  double chosenCw() const;

 private:
  CwFit fit_;
  QRadioButton* Gipfel = nullptr;
  QRadioButton* Aufstieg = nullptr;
};

}  // namespace komet
