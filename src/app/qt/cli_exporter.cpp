#include "app/qt/cli_exporter.h"

#include <QDateTime>
#include <QLocale>
#include <system_error>

#include "common/komet_error.h"
#include "plot/flight_view.h"
#include "plot/qt/plot_export.h"
#include "print/qt/report_export.h"

namespace komet {
namespace {

// A picture is drawn into a hidden file beside the target and renamed over
// it only when complete, so a failure never leaves half a file. The name
// keeps the extension, which tells Qt the format.
std::filesystem::path PartialPath(const std::filesystem::path& target) {
  return target.parent_path() / ("." + target.stem().string() + ".partial" + target.extension().string());
}

char LocaleSeparator() {
  const QString point = QLocale::system().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 128 ? static_cast<char>(point[0].unicode()) : '.';
}

}  // namespace

void QtCliExporter::Export(const ExportRequest& request, Simulation& simulation, const RocketRecord& rocket,
                           const PlotSwitches& switches) {
  const std::filesystem::path partial = PartialPath(request.path);
  const QString file = QString::fromStdString(partial.string());
  FlightView flight = MakeFlightView(simulation);
  bool ok = false;
  if (request.kind == ExportRequest::Kind::Pdf) {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    const std::string when = (locale.toString(now.date(), QLocale::ShortFormat) + ", " +
                              locale.toString(now.time(), QLocale::LongFormat))
                                 .toStdString();
    ok = RenderReportPdf(file, flight, rocket, switches, when, LocaleSeparator());
  } else {
    PlotState state;
    const PlotInputs in{flight, switches, MainMotorDelays(rocket), '.'};
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
