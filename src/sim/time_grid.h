// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "common/numbers.h"

namespace komet {

inline constexpr double kMsPerSecond = 1000.0;  // the time grid counts whole milliseconds

// An event time on the millisecond grid, so that a time computed as a sum
// (0.1 + 0.2) meets the grid time it stands for.
inline std::int64_t Ms(double seconds) {
  return RoundHalfEven(seconds * kMsPerSecond);
}

// One step on the time grid, t := Round((t + timeStep) × 1000) / 1000. A
// grid time is the double nearest a whole number of milliseconds, so within
// the step bound the sum rounds to exactly tMs + 5: counting milliseconds
// gives the same times without a rounding per step.
inline constexpr std::int64_t kStepMs = 5;

inline void Advance(double& t, std::int64_t& tMs) {
  tMs += kStepMs;
  t = static_cast<double>(tMs) / kMsPerSecond;
}

}  // namespace komet
