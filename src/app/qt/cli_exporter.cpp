#include "app/qt/cli_exporter.h"

#include "common/komet_error.h"

namespace komet {

void QtCliExporter::Export(const ExportRequest&, Simulation&, const RocketRecord&, const PlotSwitches&) {
  throw KometError(KometError::Kind::Io, "Bilder und Berichte sind noch nicht verfügbar");
}

}  // namespace komet
