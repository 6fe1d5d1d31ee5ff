// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/cli_exporter.h"

#include "common/komet_error.h"
#include "common/qt/atomic_file.h"
#include "common/qt/system_locale.h"
#include "plot/flight_view.h"
#include "plot/qt/plot_export.h"
#include "print/qt/report_export.h"
#include "sim/flight_analysis.h"

namespace komet {

void QtCliExporter::Export(const ExportRequest& request, const Simulation& simulation,
                           const RocketRecord& rocket, const PlotSwitches& switches) {
  const FlightView flight = MakeFlightView(simulation);
  QByteArray bytes;
  if (request.kind == ExportRequest::Kind::Pdf) {
    // The footer's time as the desktop program prints it.
    bytes = RenderReportPdf(flight, rocket, switches, PrintDateTime(), request.decimalSeparator,
                            MeasureRecovery(simulation),
                            AnalyseFlight(simulation, request.decimalSeparator, request.safety).warnings);
    if (bytes.isEmpty() && !simulation.results().resultsValid)
      throw KometError(KometError::Kind::Io, "kein berechneter Flug");
  } else {
    PlotState state;
    const PlotInputs in{flight, switches, MainMotorDelays(rocket), request.decimalSeparator};
    const QSize size(request.width, request.height);
    bytes = request.kind == ExportRequest::Kind::Png ? RenderPlotPng(in, state, size)
                                                     : RenderPlotSvg(in, state, size);
  }
  if (bytes.isEmpty()) throw KometError(KometError::Kind::Io, "konnte nicht erzeugt werden");
  WriteFileAtomically(request.path, bytes);
}

}  // namespace komet
