// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

#include "common/physics.h"
#include "sim/sim_constants.h"

namespace komet {

// The International Standard Atmosphere (ISO 2533:1975, the same as the
// U.S. Standard Atmosphere 1976 below 32 km): its sea-level values and the
// troposphere's lapse rate up to the tropopause, where the air stops cooling.
inline constexpr double kIsaSeaLevelPressure = 101325.0;   // Pa
inline constexpr double kIsaSeaLevelTemperature = 288.15;  // K (15 °C)
inline constexpr double kIsaLapseRate = 0.0065;            // K per m of height
inline constexpr double kIsaTropopause = 11000.0;          // m above sea level
inline constexpr double kAirGasConstant = 287.053;         // J/(kg·K), dry air
inline constexpr double kAirHeatCapacityRatio = 1.4;       // dry air
inline constexpr double kZeroCelsius = 273.15;             // K

// Air density in kg/m³ at a height above the launch site: the site's
// pressure is the standard's at its altitude, its temperature the one given,
// and the air cools by the lapse rate up to the tropopause; above it the
// standard's isothermal layer (to 20 km; higher flights keep it, which
// errs by under a third in density at 50 km, where little drag is left).
double SiteDensity(const LaunchSite& site, double height);

// Speed of sound in dry air at a temperature in °C, m/s.
double SpeedOfSound(double temperatureCelsius);

// SiteDensity by table: every 10 m up to 100 km above the site, linear in
// between (off by less than 1e-6 of the value), constant above. Allocated
// once; built again only when the site changes, so a run allocates nothing
// and costs one lookup per step.
class DensityTable {
 public:
  DensityTable();
  void Build(const LaunchSite& site);
  double At(double height) const {
    const double x = height * kPerMetre;
    if (!(x > 0.0)) return rho_[0];
    if (x >= kLast) return rho_[kEntries - 1];
    const auto i = static_cast<std::size_t>(x);
    const double f = x - static_cast<double>(i);
    return rho_[i] + f * (rho_[i + 1] - rho_[i]);
  }

 private:
  static constexpr double kSpacing = 10.0;  // m
  static constexpr double kPerMetre = 1.0 / kSpacing;
  static constexpr std::size_t kEntries = 10001;
  static constexpr double kLast = static_cast<double>(kEntries - 1);

  std::vector<double> rho_;
  LaunchSite builtFor_;
  bool built_ = false;
};

}  // namespace komet
