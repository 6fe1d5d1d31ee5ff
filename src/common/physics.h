// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace komet {

// Standard gravity (m/s²): the unit of the g figures, the divisor of the
// specific impulse and the standard atmosphere's own constant. The flight's
// gravity is a setting of its own and may differ.
inline constexpr double kStandardGravity = 9.80665;

}  // namespace komet
