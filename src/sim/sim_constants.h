#pragma once

namespace komet {

// The physical constants a run takes from the settings, read afresh at the
// start of every run. SI units.
class SimConstants {
 public:
  virtual ~SimConstants() = default;
  virtual double GetCalcPeriod() const = 0;  // s
  virtual double GetGravity() const = 0;     // m/s²
  virtual double GetAirDensity() const = 0;  // kg/m³
  virtual double GetRailLength() const = 0;  // m
  virtual double GetRailFriction() const = 0;  // N
};

// Constants as plain values: the defaults of the settings, for tests and
// for komet-sim's overrides.
struct FixedConstants final : SimConstants {
  double calcPeriod = 50.0;
  double gravity = 9.81;
  double airDensity = 1.17;
  double railLength = 1.0;
  double railFriction = 3.0;

  double GetCalcPeriod() const override { return calcPeriod; }
  double GetGravity() const override { return gravity; }
  double GetAirDensity() const override { return airDensity; }
  double GetRailLength() const override { return railLength; }
  double GetRailFriction() const override { return railFriction; }
};

}  // namespace komet
