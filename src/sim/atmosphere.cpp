// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/atmosphere.h"

#include <algorithm>
#include <cmath>

namespace komet {
namespace {

// The exponent of the troposphere's pressure law, g / (R × L).
constexpr double kPressureExponent = kStandardGravity / (kAirGasConstant * kIsaLapseRate);

constexpr double kEarthRadius = 6356766.0;  // m, the standard's

// Standard pressure at a geopotential altitude within the troposphere, Pa.
double IsaPressure(double altitude) {
  return kIsaSeaLevelPressure *
         std::pow(1.0 - kIsaLapseRate * altitude / kIsaSeaLevelTemperature, kPressureExponent);
}

// The standard's layers are in geopotential height, in which gravity is
// constant; the rocket's height is geometric.
double Geopotential(double geometric) {
  return kEarthRadius * geometric / (kEarthRadius + geometric);
}

}  // namespace

double SiteDensity(const LaunchSite& site, double height) {
  const double siteH = Geopotential(std::clamp(site.altitude, kSiteAltitude.min, kIsaTropopause));
  const double groundT = site.temperature + kZeroCelsius;
  const double groundP = IsaPressure(siteH);
  const double h = Geopotential(site.altitude + std::max(height, 0.0)) - siteH;
  const double tropo = std::max(0.0, kIsaTropopause - siteH);  // above the site
  const double t = groundT - kIsaLapseRate * std::min(h, tropo);
  double p = groundP * std::pow(t / groundT, kPressureExponent);
  if (h > tropo) p *= std::exp(-kStandardGravity * (h - tropo) / (kAirGasConstant * t));
  return p / (kAirGasConstant * t);
}

double SpeedOfSound(double temperatureCelsius) {
  return std::sqrt(kAirHeatCapacityRatio * kAirGasConstant * (temperatureCelsius + kZeroCelsius));
}

DensityTable::DensityTable() : rho_(kEntries) {}

void DensityTable::Build(const LaunchSite& site) {
  if (built_ && site.altitude == builtFor_.altitude && site.temperature == builtFor_.temperature) return;
  for (std::size_t i = 0; i < kEntries; ++i) rho_[i] = SiteDensity(site, static_cast<double>(i) * kSpacing);
  builtFor_ = site;
  built_ = true;
}

}  // namespace komet
