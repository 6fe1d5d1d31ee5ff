// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/recovery.h"

namespace komet::testing {

// A parachute of the default cw, opened by the charge `delay` s after
// burnout or at apogee.
inline Recovery Chute(double diameterMm, Recovery::Deployment how = Recovery::Deployment::Delay,
                      double delay = 5.0, double inflation = 0.0) {
  Recovery r;
  r.kind = Recovery::Kind::Parachute;
  r.diameterMm = diameterMm;
  r.cw = kDefaultChuteCw;
  r.deployment = how;
  r.delay = delay;
  r.inflationTime = inflation;
  return r;
}

}  // namespace komet::testing
