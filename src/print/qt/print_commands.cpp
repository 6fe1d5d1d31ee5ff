// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/qt/print_commands.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <functional>

#include "common/komet_error.h"
#include "common/qt/atomic_file.h"
#include "common/qt/qt_text.h"
#include "common/qt/system_locale.h"
#include "print/qt/qprinter_device.h"
#include "print/qt/report_export.h"
#include "print/report.h"
#include "sim/flight_analysis.h"

namespace komet {
namespace {

KometError PdfError(const QString& path, const QString& reason, int code = 0) {
  return KometError(KometError::Kind::Io,
                    QStringLiteral("Die PDF-Datei %1 konnte nicht geschrieben werden: %2")
                        .arg(QDir::toNativeSeparators(path), reason)
                        .toStdString(),
                    code);
}

// An empty document is a drawing that failed.
void WritePdf(const std::filesystem::path& pdf, const QByteArray& bytes) {
  if (bytes.isEmpty())
    throw PdfError(ToQ(pdf.string()), QStringLiteral("der Inhalt ließ sich nicht ausgeben"));
  try {
    WriteFileAtomically(pdf, bytes);
  } catch (const KometError& e) {
    throw PdfError(ToQ(pdf.string()), QString::fromUtf8(e.what()), e.code());
  }
}

}  // namespace

bool PrinterAvailable() {
  return !QPrinterInfo::availablePrinters().isEmpty();
}

bool PrintFlightReport(QPrinter& printer, const Simulation& simulation, const RocketRecord& rocket,
                       const PlotSwitches& switches, const SafetyInputs& safety,
                       const Simulation* freeAscent) {
  if (!simulation.results().resultsValid) return false;
  QPrinterDevice device(printer);
  ReportLayout layout;
  const std::string dateTime = PrintDateTime();
  const char sep = LocaleDecimalSeparator();
  const FlightAnalysis a = AnalyseFlight(simulation, sep, safety, freeAscent);
  return PrintFlightReport(device, layout,
                           {MakeFlightView(simulation), rocket, switches, dateTime, sep, a.figures.recovery,
                            a.warnings, a.recommendedDelay, a.figures.stability});
}

void SavePdf(const std::filesystem::path& pdf, const std::function<bool(PrinterDevice&)>& draw) {
  WritePdf(pdf, RenderPdf(draw));
}

bool SaveReportPdf(const std::filesystem::path& pdf, const Simulation& simulation, const RocketRecord& rocket,
                   const PlotSwitches& switches, const SafetyInputs& safety, const Simulation* freeAscent) {
  if (!simulation.results().resultsValid) return false;
  const char sep = LocaleDecimalSeparator();
  const FlightAnalysis a = AnalyseFlight(simulation, sep, safety, freeAscent);
  WritePdf(pdf, RenderReportPdf(MakeFlightView(simulation), rocket, switches, PrintDateTime(), sep,
                                a.figures.recovery, a.warnings, a.recommendedDelay, a.figures.stability));
  return true;
}

}  // namespace komet
