// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/t_cw_fit.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/format.h"

namespace komet {

TCwFit::TCwFit(const CwFit& fit, const std::string& fileName, char sep, std::optional<double> shapeCw,
               QWidget* parent)
    : QDialog(parent), fit_(fit), shapeCw_(shapeCw) {
  setObjectName(QStringLiteral("CwAnpassen"));
  setWindowTitle(QStringLiteral("cw anpassen"));
  const FlightComparison& c = fit.comparison;
  auto* head = new QLabel(QString::fromStdString(ComparisonText(c, fileName, sep)), this);
  head->setWordWrap(true);
  Gipfel = new QRadioButton(QString::fromStdString(Format(
                                sep, "cw %.3f: trifft den Gipfel (berechnet %.1f m, %+.1f m)", fit.cwApogee,
                                fit.apogeeAtCwApogee, fit.apogeeAtCwApogee - c.measuredApogee)),
                            this);
  Gipfel->setObjectName(QStringLiteral("Gipfel"));
  Aufstieg = new QRadioButton(
      QString::fromStdString(Format(sep, "cw %.3f: trifft den ganzen Aufstieg (mittlere Abweichung %.2f m)",
                                    fit.cwAscent, fit.rmsAscent)),
      this);
  Aufstieg->setObjectName(QStringLiteral("Aufstieg"));
  if (shapeCw_) {
    // Beside the measured ones, so that the estimate can be judged by them.
    Form = new QRadioButton(
        QString::fromStdString(Format(sep, "cw %.3f: aus der Form geschätzt (ohne die Messung)", *shapeCw_)),
        this);
    Form->setObjectName(QStringLiteral("Form"));
  }
  Gipfel->setChecked(true);
  auto* note = new QLabel(QString::fromStdString(Format(
                              sep,
                              "Bisher cw %.3f. Jeder Versuch ist ein ganzer Flug mit sonst unveränderter "
                              "Rakete (%d Flüge). Ein anderer Motor als der geflogene oder ein "
                              "Bergungssystem, das vor dem Gipfel auslöst, machen den Abgleich ungültig.",
                              fit.rocketCw, fit.runs)),
                          this);
  note->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* take = buttons->addButton(QStringLiteral("&Übernehmen"), QDialogButtonBox::AcceptRole);
  take->setObjectName(QStringLiteral("BitBtn1"));
  buttons->addButton(QStringLiteral("&Schließen"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  for (QWidget* w : std::initializer_list<QWidget*>{head, Gipfel, Aufstieg, Form, note, buttons})
    if (w) layout->addWidget(w);
  setMinimumWidth(480);
}

double TCwFit::chosenCw() const {
  if (Form && Form->isChecked()) return *shapeCw_;
  return Aufstieg->isChecked() ? fit_.cwAscent : fit_.cwApogee;
}

}  // namespace komet
