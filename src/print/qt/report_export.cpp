// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/qt/report_export.h"

#include <QPrinter>

#include "common/komet_error.h"
#include "print/qt/qprinter_device.h"

namespace komet {

bool RenderReportPdf(const QString& path, const FlightView& flight, const RocketRecord& rocket,
                     const PlotSwitches& switches, std::string_view dateTimeText, char decimalSeparator,
                     const std::optional<RecoveryFigures>& recovery,
                     std::span<const FlightWarning> warnings) {
  QPrinter printer(QPrinter::HighResolution);
  SetUpPdfPrinter(printer, path);
  QPrinterDevice device(printer);
  ReportLayout layout;
  try {
    return PrintFlightReport(device, layout,
                             {flight, rocket, switches, dateTimeText, decimalSeparator, recovery, warnings});
  } catch (const KometError&) {
    return false;
  }
}

}  // namespace komet
