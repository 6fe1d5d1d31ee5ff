#include "app/qt/cli_exporter.h"

#include <system_error>

#include "common/komet_error.h"
#include "plot/flight_view.h"
#include "plot/qt/plot_export.h"
#include "print/qt/print_commands.h"
#include "print/qt/report_export.h"

namespace komet {
namespace {

// A picture is drawn into a hidden file beside the target and renamed over
// it only when complete, so a failure never leaves half a file. The name
// keeps the extension, which tells Qt the format.
std::filesystem::path PartialPath(const std::filesystem::path& target) {
  return target.parent_path() / ("." + target.stem().string() + ".partial" + target.extension().string());
}

}  // namespace

void QtCliExporter::Export(const ExportRequest& request, Simulation& simulation, const RocketRecord& rocket,
                           const PlotSwitches& switches) {
  const std::filesystem::path partial = PartialPath(request.path);
  const QString file = QString::fromStdString(partial.string());
  FlightView flight = MakeFlightView(simulation);
  bool ok = false;
  if (request.kind == ExportRequest::Kind::Pdf) {
    // The footer's time as the desktop program prints it.
    const std::string when = (PrintDateText() + QStringLiteral(", ") + PrintTimeText()).toStdString();
    ok = RenderReportPdf(file, flight, rocket, switches, when, request.decimalSeparator);
  } else {
    PlotState state;
    const PlotInputs in{flight, switches, MainMotorDelays(rocket), request.decimalSeparator};
    const QSize size(request.width, request.height);
    ok = request.kind == ExportRequest::Kind::Png ? RenderPlotPng(file, in, state, size)
                                                  : RenderPlotSvg(file, in, state, size);
  }
  std::error_code ec;
  if (!ok) {
    std::filesystem::remove(partial, ec);
    throw KometError(KometError::Kind::Io,
                     request.kind == ExportRequest::Kind::Pdf && !simulation.results().resultsValid
                         ? "kein berechneter Flug"
                         : "konnte nicht geschrieben werden");
  }
  std::filesystem::rename(partial, request.path, ec);
  if (ec) {
    std::filesystem::remove(partial, ec);
    throw KometError::FromErrno(ec.value());
  }
}

}  // namespace komet
