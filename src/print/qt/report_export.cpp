// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/qt/report_export.h"

#include <QBuffer>
#include <QPdfWriter>

#include "common/komet_error.h"
#include "print/qt/qprinter_device.h"

namespace komet {

QByteArray RenderPdf(const std::function<bool(PrinterDevice&)>& draw) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(PdfPageLayout());
    QPrinterDevice device(writer);
    if (!draw(device)) return {};
  }  // the device ends the page and the writer the document
  return buffer.data();
}

QByteArray RenderReportPdf(const FlightView& flight, const RocketRecord& rocket, const PlotSwitches& switches,
                           std::string_view dateTimeText, char decimalSeparator,
                           const std::optional<RecoveryFigures>& recovery,
                           std::span<const FlightWarning> warnings, std::optional<double> recommendedDelay,
                           const std::optional<FlightFigures::Stability>& stability) {
  return RenderPdf([&](PrinterDevice& device) {
    ReportLayout layout;
    try {
      return PrintFlightReport(device, layout,
                               {flight, rocket, switches, dateTimeText, decimalSeparator, recovery, warnings,
                                recommendedDelay, stability});
    } catch (const KometError&) {
      return false;
    }
  });
}

}  // namespace komet
