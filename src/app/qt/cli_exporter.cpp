// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/cli_exporter.h"

#include "common/komet_error.h"
#include "common/qt/system_locale.h"
#include "common/qt/write_beside.h"
#include "plot/flight_view.h"
#include "plot/qt/plot_export.h"
#include "print/qt/report_export.h"
#include "sim/flight_analysis.h"

namespace komet {

void QtCliExporter::Export(const ExportRequest& request, const Simulation& simulation,
                           const RocketRecord& rocket, const PlotSwitches& switches) {
  const bool pdf = request.kind == ExportRequest::Kind::Pdf;
  WriteBeside(
      request.path,
      [&](const QString& file) {
        FlightView flight = MakeFlightView(simulation);
        // The footer's time as the desktop program prints it.
        if (pdf)
          return RenderReportPdf(file, flight, rocket, switches, PrintDateTime(), request.decimalSeparator,
                                 MeasureRecovery(simulation, rocket),
                                 AnalyseFlight(simulation, rocket, request.decimalSeparator).warnings);
        PlotState state;
        const PlotInputs in{flight, switches, MainMotorDelays(rocket), request.decimalSeparator};
        const QSize size(request.width, request.height);
        return request.kind == ExportRequest::Kind::Png ? RenderPlotPng(file, in, state, size)
                                                        : RenderPlotSvg(file, in, state, size);
      },
      [&](const WriteFailure& f) {
        if (f.step == WriteFailure::Step::Rename) return KometError::FromErrno(f.err);
        return KometError(KometError::Kind::Io, pdf && !simulation.results().resultsValid
                                                    ? "kein berechneter Flug"
                                                    : "konnte nicht geschrieben werden");
      });
}

}  // namespace komet
