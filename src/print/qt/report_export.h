// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <string_view>

#include "print/report.h"

namespace komet {

// The printed report as a one-page A4 PDF file. False when there are no
// results to print or the file cannot be written.
bool RenderReportPdf(const QString& path, const FlightView& flight, const RocketRecord& rocket,
                     const PlotSwitches& switches, std::string_view dateTimeText, char decimalSeparator = ',',
                     const std::optional<RecoveryFigures>& recovery = std::nullopt,
                     std::span<const FlightWarning> warnings = {});

}  // namespace komet
