// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation commands: the "Auswertung" window, the flight data for a
// spreadsheet and the plot as a picture.
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>

#include "app/flight_export.h"
#include "app/motor_guide.h"
#include "app/qt/t_auswertung.h"
#include "app/qt/t_main.h"
#include "app/qt/t_motorberater.h"
#include "common/file_io.h"
#include "common/komet_error.h"
#include "common/qt/atomic_file.h"
#include "common/qt/window_place.h"
#include "common/win1252.h"
#include "plot/flight_view.h"
#include "plot/qt/plot_export.h"
#include "plot/qt/plot_widget.h"

namespace komet {
namespace {

bool NoFlight(QWidget* parent, const Simulation& simulation) {
  if (simulation.results().resultsValid) return false;
  QMessageBox::information(parent, QStringLiteral("Komet"),
                           QStringLiteral("Es ist noch kein Flug berechnet."));
  return true;
}

}  // namespace

QString TMain::suggestedPath(const char* suffix) const {
  const QString name =
      QString::fromStdString(Cp1252ToUtf8(document_.rocket().name.view())) + QLatin1String(suffix);
  if (document_.fileName().empty()) return name;
  return QFileInfo(QString::fromStdString(document_.fileName().string())).absolutePath() + QLatin1Char('/') +
         name;
}

void TMain::AuswertungClick() {
  Auswertung->Refresh(document_.simulation(), document_.freeAscent(), setup_.decimalSeparator, safety());
  if (!Auswertung->isVisible()) MoveBeside(Auswertung, this);
  Auswertung->show();
  Auswertung->raise();
}

void TMain::MotorberaterClick() {
  if (!GuideCanRun(document_.rocket())) {
    QMessageBox::information(
        this, QStringLiteral("Motorberater"),
        QStringLiteral("Die Hauptstufe hat keinen Motor im ersten Motorplatz: der Motorberater "
                       "hat nichts zu ersetzen. Bitte zuerst unter „Ändern“ einen Motor wählen."));
    return;
  }
  if (ReadMotorList(databasePath()).empty()) {
    QMessageBox::information(
        this, QStringLiteral("Motorberater"),
        QStringLiteral("Die Motordatenbank enthält keine Motoren. Bitte in den Einstellungen "
                       "eine Motordatenbank wählen."));
    return;
  }
  Motorberater->Start(document_.rocket(), document_.shape(), settings_, databasePath(), settings_.field);
}

void TMain::FlugdatenexportierenClick() {
  if (NoFlight(this, document_.simulation())) return;
  QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Flugdaten exportieren"),
                                              suggestedPath(".csv"), QStringLiteral("CSV-Dateien (*.csv)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
  // A German spreadsheet expects ';' between fields and the decimal comma.
  const bool german = QLocale::system().language() == QLocale::German || setup_.decimalSeparator == ',';
  const std::string csv = SpreadsheetCsv(document_.simulation(), german ? kGermanCsv : kEnglishCsv);
  run([&] {
    try {
      WriteFileAtomically(path.toStdString(),
                          std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()));
    } catch (const KometError& e) {
      throw KometError(
          e.kind(), "Die Datei \"" + path.toStdString() + "\" konnte nicht geschrieben werden: " + e.what());
    }
  });
}

void TMain::DiagrammspeichernClick() {
  if (NoFlight(this, document_.simulation())) return;
  QString filter;
  QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("Diagramm speichern"), suggestedPath(".png"),
                                   QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg)"), &filter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty())
    path += filter.contains(QLatin1String("svg")) ? QStringLiteral(".svg") : QStringLiteral(".png");
  PlotState state;
  const PlotInputs in{MakeFlightView(document_.simulation()), switches_, MainMotorDelays(document_.rocket()),
                      setup_.decimalSeparator};
  const bool svg = QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0;
  const QByteArray bytes =
      svg ? RenderPlotSvg(in, state, PaintBox1->size()) : RenderPlotPng(in, state, PaintBox1->size());
  QString reason;
  try {
    if (bytes.isEmpty()) throw KometError(KometError::Kind::Io, "das Bild ließ sich nicht erzeugen");
    WriteFileAtomically(path.toStdString(), bytes);
  } catch (const KometError& e) {
    reason = QString::fromUtf8(e.what());
  }
  if (!reason.isEmpty())
    QMessageBox::warning(
        this, QStringLiteral("Komet"),
        QStringLiteral("Das Diagramm konnte nicht in \"%1\" gespeichert werden: %2").arg(path, reason));
}

}  // namespace komet
