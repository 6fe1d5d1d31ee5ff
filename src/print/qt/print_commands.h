// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>
#include <functional>

#include "common/printer_device.h"
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
// `safety`: the rocketeer's settings the warnings are judged with;
// `freeAscent`: the flight without recovery the delay advice reads (none:
// the flight is its own).
bool PrintFlightReport(QPrinter& printer, const Simulation& simulation, const RocketRecord& rocket,
                       const PlotSwitches& switches, const SafetyInputs& safety = {},
                       const Simulation* freeAscent = nullptr);

// "Bericht als PDF speichern...": the same report as an A4 PDF file. Throws
// KometError when the file cannot be written.
bool SaveReportPdf(const std::filesystem::path& pdf, const Simulation& simulation, const RocketRecord& rocket,
                   const PlotSwitches& switches, const SafetyInputs& safety = {},
                   const Simulation* freeAscent = nullptr);

// Writes a PDF file drawn by `draw`; the file appears, or an older one is
// replaced, only when `draw` returns true and every byte was written. Throws
// KometError with the file's name and the reason otherwise; an older file
// keeps its bytes then.
void SavePdf(const std::filesystem::path& pdf, const std::function<bool(PrinterDevice&)>& draw);

}  // namespace komet
