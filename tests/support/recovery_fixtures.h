// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/recovery.h"

namespace komet::testing {

// A parachute of the default cw, opened by the charge `delay` s after
// burnout or at apogee.
inline Recovery Chute(double diameterMm, Recovery::Deployment how = Recovery::Deployment::Delay,
                      double delay = 5.0, double inflation = 0.0) {
  return {.kind = Recovery::Kind::Parachute,
          .diameterMm = diameterMm,
          .cw = kDefaultChuteCw,
          .deployment = how,
          .delay = delay,
          .inflationTime = inflation};
}

// A streamer of the program's cw rule, opened at apogee.
inline Recovery Streamer(double lengthMm, double widthMm) {
  return {.kind = Recovery::Kind::Streamer,
          .lengthMm = lengthMm,
          .widthMm = widthMm,
          .cw = StreamerCw(lengthMm),
          .deployment = Recovery::Deployment::Apogee};
}

}  // namespace komet::testing
