// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <functional>
#include <optional>
#include <string_view>

#include "common/printer_device.h"
#include "print/report.h"

namespace komet {

// A PDF on Komet's A4 page, drawn by `draw` into memory, so that nothing
// reaches a file before the whole document is there. Empty when `draw`
// returns false.
QByteArray RenderPdf(const std::function<bool(PrinterDevice&)>& draw);

// The printed report as a one-page A4 PDF. Empty when there are no results
// to print.
QByteArray RenderReportPdf(const FlightView& flight, const RocketRecord& rocket, const PlotSwitches& switches,
                           std::string_view dateTimeText, char decimalSeparator = ',',
                           const std::optional<RecoveryFigures>& recovery = std::nullopt,
                           std::span<const FlightWarning> warnings = {},
                           std::optional<double> recommendedDelay = std::nullopt,
                           const std::optional<FlightFigures::Stability>& stability = std::nullopt);

}  // namespace komet
