// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace komet {

// The physical constants of a run, SI units. The initial values are the
// program's defaults: a new options file starts with them.
struct ConstantValues {
  double calcPeriod = 50.0;   // s
  double gravity = 9.81;      // m/s²
  double airDensity = 1.17;   // kg/m³
  double railLength = 1.0;    // m
  double railFriction = 3.0;  // N
};

// The air and the wind at the launch site: program settings, not part of
// the options file, so a file from elsewhere reads as before.
struct LaunchSite {
  bool standardAtmosphere = false;  // off: one air density at every height
  double altitude = 0.0;            // m above sea level
  double temperature = 15.0;        // °C at the ground
  double wind = 5.0;                // m/s, for the drift estimate

  friend bool operator==(const LaunchSite&, const LaunchSite&) = default;
};

// What the settings and komet-sim accept for the launch site.
struct SiteRange {
  double min, max;
};
inline constexpr SiteRange kSiteAltitude{-500.0, 5000.0};  // m
inline constexpr SiteRange kSiteTemperature{-40.0, 50.0};  // °C
inline constexpr SiteRange kSiteWind{0.0, 30.0};           // m/s

// Where a run takes its constants from. They are read afresh at the start of
// every run: the settings dialog may change them between runs.
class SimConstants {
 public:
  virtual ~SimConstants() = default;
  virtual ConstantValues Values() const = 0;
  virtual LaunchSite Site() const { return {}; }

  double GetCalcPeriod() const { return Values().calcPeriod; }
  double GetGravity() const { return Values().gravity; }
  double GetAirDensity() const { return Values().airDensity; }
  double GetRailLength() const { return Values().railLength; }
  double GetRailFriction() const { return Values().railFriction; }
};

// Constants that stay as they were set: a copy for runs on other threads,
// komet-sim's with their overrides, a test's.
struct FixedConstants final : SimConstants, ConstantValues {
  FixedConstants() = default;
  explicit FixedConstants(const ConstantValues& values, const LaunchSite& site = {})
      : ConstantValues(values), site(site) {}
  ConstantValues Values() const override { return *this; }
  LaunchSite Site() const override { return site; }

  LaunchSite site;
};

}  // namespace komet
