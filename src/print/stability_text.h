// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "sim/flight_safety.h"

namespace komet {

// The balance of a flight in one German line, for the evaluation, komet-sim's
// summary and the printed report: "SP 412 mm, DP 530 mm hinter der Spitze;
// 2,10 Kaliber beim Start, mindestens 1,85 bei 0,42 s".
std::string StabilityLine(const FlightFigures::Stability& stability, char decimalSeparator);

}  // namespace komet
