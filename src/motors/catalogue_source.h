// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "motors/motor_record.h"

namespace komet {

// The bundled motor catalogue as text: names, makers, numbers and curve
// points, nothing else, so that the database can be rebuilt from it without
// the published files it was taken from. One block a motor:
//
//   motor = C6 [Estes]
//   maker = Estes
//   designation = C6
//   type = Einweg                  (Einweg, Wiederladbar, Hybrid or empty)
//   diameter_mm = 18
//   length_mm = 70
//   impulse_ns = 8.82
//   delays = 0-3-5-7               (every published delay; 0 booster, "P" plugged)
//   propellant_kg = 0.0108
//   total_kg = 0.0231
//   source = C6_5f42.eng
//   common = C6                    (optional: the name it is sold by)
//   also = O2645BL                 (optional: another designation of the very motor)
//   check = ...                    (optional: why its data are doubtful)
//   curve = 0 0; 0.031 0.946; ...  (time s, thrust N)
//
// Texts are UTF-8; numbers are written so that they read back exactly.
// "#" starts a comment line, a blank line ends a block.

// The text of the motors (each with its details block).
std::string WriteCatalogueSource(std::span<const MotorRecord> motors);

// The motors of the text, each record as WriteCatalogueSource had it: the
// four delay places keep the longest, burn time and peak come from the curve.
// Throws KometError "Zeile N: ..." on a line it cannot use.
std::vector<MotorRecord> ReadCatalogueSource(std::string_view text);

}  // namespace komet
