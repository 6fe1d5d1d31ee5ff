// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/stability_text.h"

#include "common/format.h"

namespace komet {

std::string StabilityLine(const FlightFigures::Stability& s, char sep) {
  std::string line = Format(sep, "SP %.0f mm, DP %.0f mm hinter der Spitze; %.2f Kaliber beim Start",
                            s.cg * 1000.0, s.cp * 1000.0, s.margin);
  // A minimum at lift-off itself says nothing new.
  if (s.minMargin < s.margin)
    line += Format(sep, ", mindestens %.2f bei %.2f s", s.minMargin, s.minMarginTime);
  return line;
}

}  // namespace komet
