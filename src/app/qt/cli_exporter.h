// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/sim_cli.h"

namespace komet {

// komet-sim's pictures: the screen plot as PNG or SVG, the report as PDF.
class QtCliExporter final : public CliExporter {
 public:
  void Export(const ExportRequest& request, const Simulation& simulation, const Simulation& freeAscent,
              const RocketRecord& rocket, const PlotSwitches& switches) override;
};

}  // namespace komet
