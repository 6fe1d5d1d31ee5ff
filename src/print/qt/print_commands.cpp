// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/qt/print_commands.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <functional>

#include "common/komet_error.h"
#include "common/qt/qt_text.h"
#include "common/qt/system_locale.h"
#include "common/qt/write_beside.h"
#include "print/qt/qprinter_device.h"
#include "print/qt/report_export.h"
#include "print/report.h"
#include "sim/flight_analysis.h"

namespace komet {
namespace {

KometError PdfError(const QString& path, const QString& reason) {
  return KometError(KometError::Kind::Io,
                    QStringLiteral("Die PDF-Datei %1 konnte nicht geschrieben werden: %2")
                        .arg(QDir::toNativeSeparators(path), reason)
                        .toStdString());
}

}  // namespace

bool PrinterAvailable() {
  return !QPrinterInfo::availablePrinters().isEmpty();
}

bool PrintFlightReport(QPrinter& printer, const Simulation& simulation, const RocketRecord& rocket,
                       const PlotSwitches& switches, const SafetyInputs& safety) {
  if (!simulation.results().resultsValid) return false;
  QPrinterDevice device(printer);
  ReportLayout layout;
  const std::string dateTime = PrintDateTime();
  const char sep = LocaleDecimalSeparator();
  const std::vector<FlightWarning> warnings = AnalyseFlight(simulation, rocket, sep, safety).warnings;
  return PrintFlightReport(device, layout,
                           {MakeFlightView(simulation), rocket, switches, dateTime, sep,
                            MeasureRecovery(simulation, rocket), warnings});
}

void SavePdf(const std::filesystem::path& pdf, const std::function<bool(const QString&)>& render) {
  WriteBeside(pdf, render, [&](const WriteFailure& f) {
    return PdfError(ToQ(pdf.string()), f.step == WriteFailure::Step::Render
                                           ? QStringLiteral("der Inhalt ließ sich nicht ausgeben")
                                           : f.reason);
  });
}

bool SaveReportPdf(const std::filesystem::path& pdf, const Simulation& simulation, const RocketRecord& rocket,
                   const PlotSwitches& switches, const SafetyInputs& safety) {
  if (!simulation.results().resultsValid) return false;
  const std::string dateTime = PrintDateTime();
  const char sep = LocaleDecimalSeparator();
  const std::vector<FlightWarning> warnings = AnalyseFlight(simulation, rocket, sep, safety).warnings;
  SavePdf(pdf, [&](const QString& file) {
    return RenderReportPdf(file, MakeFlightView(simulation), rocket, switches, dateTime, sep,
                           MeasureRecovery(simulation, rocket), warnings);
  });
  return true;
}

}  // namespace komet
