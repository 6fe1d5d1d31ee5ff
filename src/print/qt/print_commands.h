// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>
#include <functional>

#include "model/rocket_record.h"
#include "plot/plot_switches.h"
#include "sim/simulation.h"

class QPrinter;
class QWidget;

#include "sim/flight_safety.h"

namespace komet {

// Whether the system offers any printer.
bool PrinterAvailable();

// "Drucken": the report of the current flight on the given printer. Does
// nothing and returns false when no flight is computed. Throws KometError
// with the German text when the printer refuses.
// `safety`: the rocketeer's settings the warnings are judged with.
bool PrintFlightReport(QPrinter& printer, const Simulation& simulation, const RocketRecord& rocket,
                       const PlotSwitches& switches, const SafetyInputs& safety = {});

// "Bericht als PDF speichern...": the same report as an A4 PDF file. Throws
// KometError when the file cannot be written.
bool SaveReportPdf(const std::filesystem::path& pdf, const Simulation& simulation, const RocketRecord& rocket,
                   const PlotSwitches& switches, const SafetyInputs& safety = {});

// Writes a PDF file through `render`, which draws it into the path it is
// given; the file appears only when `render` returns true. Throws KometError
// with the file's name when it cannot be written.
void SavePdf(const std::filesystem::path& pdf, const std::function<bool(const QString&)>& render);

}  // namespace komet
