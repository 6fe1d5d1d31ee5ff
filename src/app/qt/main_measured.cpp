// SPDX-License-Identifier: GPL-3.0-or-later
// The measured-flight commands: a recording over the plot, its apogee in the
// evaluation, and the drag coefficient it implies.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "app/qt/qt_prompts.h"
#include "app/qt/t_auswertung.h"
#include "app/qt/t_cw_fit.h"
#include "app/qt/t_main.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/qt/komet_settings.h"
#include "common/qt/qt_text.h"
#include "dialogs/shape_form.h"
#include "flightlog/cw_fit.h"
#include "plot/qt/plot_widget.h"

namespace komet {
namespace {

// The unit a kind of recording that names none was last read in.
QString UnitKey(const QString& path, const FlightLog& log) {
  return QStringLiteral("Messflug/Einheit_%1_%2")
      .arg(QFileInfo(path).suffix().toLower())
      .arg(static_cast<int>(log.shape))
      .append(log.unitHint ? QStringLiteral("_Hinweis") : QString());
}

std::optional<HeightUnit> AskUnit(QWidget* parent, const QString& path, const FlightLog& log) {
  const std::unique_ptr<QSettings> settings = OpenKometSettings();
  const QString key = UnitKey(path, log);
  const QString known = settings->value(key).toString();
  if (known == QLatin1String("m")) return HeightUnit::Metre;
  if (known == QLatin1String("ft")) return HeightUnit::Foot;
  QMessageBox box(QMessageBox::Question, QStringLiteral("Messflug laden"),
                  QStringLiteral("Die Datei „%1“ sagt nicht, in welcher Einheit die Höhen stehen. "
                                 "Der höchste Wert ist %2.\nSind es Meter oder Fuß? (Die Antwort gilt "
                                 "für alle Dateien dieser Art.)")
                      .arg(QFileInfo(path).fileName())
                      .arg(ToQ(Format(',', "%.1f", log.apogee))),
                  QMessageBox::Cancel, parent);
  QPushButton* metres = box.addButton(QStringLiteral("&Meter"), QMessageBox::AcceptRole);
  QPushButton* feet = box.addButton(QStringLiteral("&Fuß"), QMessageBox::AcceptRole);
  if (log.unitHint)
    box.setInformativeText(QString::fromStdString(log.unitReason) + QStringLiteral(" sprechen für Fuß."));
  box.setDefaultButton(log.unitHint == HeightUnit::Foot ? feet : metres);
  box.exec();
  if (box.clickedButton() != metres && box.clickedButton() != feet) return std::nullopt;
  settings->setValue(key, box.clickedButton() == feet ? QStringLiteral("ft") : QStringLiteral("m"));
  return box.clickedButton() == feet ? HeightUnit::Foot : HeightUnit::Metre;
}

}  // namespace

void TMain::MessflugLadenClick() {
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("Messflug laden"), QString(),
      QStringLiteral("Höhenmesser-Aufzeichnungen (*.csv *.txt *.tsv *.dat *.log);;Alle Dateien (*)"));
  if (path.isEmpty()) return;
  run([&] {
    FlightLog log = ReadFlightLogFile(path.toStdString());
    if (!log.unitKnown()) {
      // The question shows the file's own numbers, also where a hint read them in feet.
      const FlightLog asWritten =
          log.unit == HeightUnit::Metre ? log : ReadFlightLogFile(path.toStdString(), HeightUnit::Metre);
      const std::optional<HeightUnit> unit = AskUnit(this, path, asWritten);
      if (!unit) return;
      if (*unit != log.unit) log = ReadFlightLogFile(path.toStdString(), unit);
    }
    measured_ = std::make_unique<FlightLog>(std::move(log));
    PaintBox1->setMeasured(measured_.get());
    Auswertung->SetMeasuredFlight(measured_.get());
  });
}

void TMain::MessflugEntfernenClick() {
  PaintBox1->setMeasured(nullptr);
  Auswertung->SetMeasuredFlight(nullptr);
  measured_.reset();
  if (Auswertung->isVisible())
    Auswertung->Refresh(document_.simulation(), document_.freeAscent(), setup_.decimalSeparator, safety());
}

void TMain::CwAnpassenClick() {
  if (!measured_) {
    QMessageBox::information(
        this, QStringLiteral("cw anpassen"),
        QStringLiteral("Bitte zuerst einen Messflug laden (Auswertung, „Messflug laden...“)."));
    return;
  }
  if (!document_.simulation().results().resultsValid) {
    QMessageBox::information(this, QStringLiteral("cw anpassen"),
                             QStringLiteral("Es ist noch kein Flug berechnet."));
    return;
  }
  std::optional<CwFit> fit;
  ReportErrors(this, [&] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
      fit = FitCw(document_.rocket(), settings_, *measured_, setup_.decimalSeparator);
    } catch (...) {
      QApplication::restoreOverrideCursor();
      throw;
    }
    QApplication::restoreOverrideCursor();
  });
  if (!fit) return;
  std::optional<double> shapeCw;
  if (const std::optional<RocketShape>& shape = document_.shape()) {
    const FlightResults& r = document_.simulation().results();
    shapeCw = ShapeCw(*shape, document_.rocket(), r.resultsValid ? r.maxHeight : 0.0, r.maxHeightTime);
  }
  TCwFit dialog(*fit, measured_->fileName, setup_.decimalSeparator, shapeCw, this);
  if (dialog.exec() != QDialog::Accepted) return;
  run([&] { document_.TakeCw(dialog.chosenCw(), *prompts_); });
}

}  // namespace komet
