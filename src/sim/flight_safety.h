// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/physics.h"
#include "model/rocket_shape.h"
#include "sim/recovery_figures.h"
#include "sim/sim_constants.h"

namespace komet {

// How bad a rule's finding is: amber asks the rocketeer to check, red says
// "do not fly this".
enum class SafetyLevel { Amber, Red };

// Every rule that the evaluation, the motor guide and komet-sim judge a
// flight by, in the order their findings are listed.
enum class SafetyRuleId {
  NoFlight,
  NoRailExit,
  RailExitSpeed,
  NearSpeedOfSound,
  ApogeeNotReached,
  NoFittingDelay,
  PluggedTopStage,
  EjectionTooFast,
  NoBoosterBelow,
  IgnitionAfterApogee,
  SeparationNotInFlight,
  ThrustToWeight,
  Acceleration,
  HeavyMotor,
  HeightLimit,
  DoubtfulData,
  NotDeployed,
  DeploymentBeforeBurnout,
  DeploymentTooFast,
  DescentTooFast,
  DescentFast,
  DescentSlow,
  LandingNotReached,
  LandsOffField,
  Unstable,
  MarginallyStable,
  OverStable,
};

struct SafetyRule {
  SafetyRuleId id;
  std::string_view key;  // the rule's name in JSON ("railExitSpeed")
  SafetyLevel level;
  double threshold;        // SI units (a share for HeavyMotor); 0 where the rule has none
  std::string_view title;  // German, UTF-8: what the rule guards, without its figure (RuleLabel)
};

// Below 15 m/s at the end of the rail the fins do not yet steer: the figure
// model-rocket kit makers print and OpenRocket's launch-rod warning uses.
inline constexpr double kMinRailExitSpeed = 15.0;  // m/s
// At the program's constant air density (sea level, 15 °C).
inline constexpr double kSpeedOfSound = 340.0;  // m/s
// From about 0.8 Mach on, drag rises steeply towards the sound barrier: a
// constant cw no longer describes the flight.
inline constexpr double kMaxMachFraction = 0.8;
inline constexpr double kMaxModelSpeed = kMaxMachFraction * kSpeedOfSound;  // m/s
// Faster than 20 m/s at ejection, shock cords and parachutes tear: the
// deployment-speed limit that hobby recovery gear is sold for.
inline constexpr double kMaxEjectionSpeed = 20.0;  // m/s
// Peak thrust at least five times the lift-off weight: the motor makers'
// rule for a straight climb off the rail.
inline constexpr double kMinThrustToWeight = 5.0;
// 100 g: about what glued balsa fins and a cardboard motor mount bear.
inline constexpr double kMaxAccelerationG = 100.0;
inline constexpr double kMaxAcceleration = kMaxAccelerationG * kStandardGravity;  // m/s²
// Motors heavier than the rest of the model move its centre of gravity aft
// and may leave it unstable.
inline constexpr double kMaxMotorMassShare = 0.5;

// Stability margins in calibers of the body: below one the rocket tumbles
// or corkscrews, up to one and a half a gust may still turn it; above four
// it turns into the wind (weathercocks) off the rail. The margins rocketry
// handbooks and OpenRocket's stability display use.
inline constexpr double kMinStableMargin = 1.0;
inline constexpr double kComfortableMargin = 1.5;
inline constexpr double kMaxStableMargin = 4.0;

// A club field: the rocket may land within this radius of the pad. The
// size of the meadow, with the wind, decides how large a motor the safety
// officer allows.
inline constexpr double kDefaultFieldRadius = 150.0;      // m
inline constexpr SiteRange kFieldRadius{10.0, 10000.0};   // m
inline constexpr SiteRange kFieldCeiling{0.0, 100000.0};  // m; 0: none

// The field the rocket flies over: settings of the rocketeer beside the
// launch site's air and wind. The flight never reads them, only the rules.
struct LaunchField {
  double radius = kDefaultFieldRadius;  // m
  double ceiling = 0.0;                 // m, the highest apogee allowed; 0: none
  bool operator==(const LaunchField&) const = default;
};

// The rules in listing order.
std::span<const SafetyRule> SafetyRules();
// The rule of an id.
const SafetyRule& RuleOf(SafetyRuleId id);

// The speed of sound the rules take for a launch site, m/s: at the ground's
// temperature under the standard atmosphere, else kSpeedOfSound.
double SiteSpeedOfSound(const LaunchSite& site);
// Where the model stops being valid at that speed of sound, m/s.
double MachLimit(double speedOfSound);
// The ejection rule: too fast for shock cord and parachute at this
// velocity (m/s, either direction).
bool TooFastAtEjection(double velocity);

// A rule's title with its figure filled in from the table, German, for
// legends and tooltips: "Schub/Gewicht zu gering (unter 5)". The Mach limit
// is that of the given speed of sound.
std::string RuleLabel(SafetyRuleId id, char decimalSeparator, double speedOfSound = kSpeedOfSound);

// What the rules need besides the flight: settings of the rocketeer.
struct SafetyInputs {
  std::optional<double> heightLimit;         // m, the field's ceiling; none: no limit
  double fieldRadius = kDefaultFieldRadius;  // m: a landing farther from the pad is off the field
  // Recovery that does not need the motor's ejection charge (electronics at
  // apogee): a plugged motor or an unfitting delay is then no longer red.
  // The evaluation and the guide set it from the rocket's recovery.
  bool otherDeployment = false;
  // The rocket's shape: with it the balance over the boost is judged.
  const RocketShape* shape = nullptr;
};

// The rules' inputs for a field: its radius and its ceiling, if any.
SafetyInputs FieldInputs(const LaunchField& field);

// Whether a descent ends within the field: its drift at most the radius.
bool LandsOnField(const RecoveryFigures& recovery, double fieldRadius);

// One rule that fired for a flight.
struct FlightWarning {
  using Kind = SafetyRuleId;
  Kind kind;
  int stage = 0;        // 1..3 where it concerns a stage, else 0
  double figure = 0.0;  // the number the finding is about, SI units
  std::string text;     // German, numbers with the given separator

  SafetyLevel level() const { return RuleOf(kind).level; }
};

// The worst level among the findings; none: no rule fired.
std::optional<SafetyLevel> WorstLevel(std::span<const FlightWarning> findings);

// The figures of one flight that the rules judge, taken from a run and the
// motors' facts.
struct FlightFigures {
  std::optional<double> railExitVelocity;  // m/s; none: never leaves the rail
  double maxVelocity = 0.0;                // m/s
  double maxAccel = 0.0;                   // m/s²
  double maxHeight = 0.0;                  // m
  double maxHeightTime = 0.0;              // s
  double flightEndTime = 0.0;              // s
  double endVelocity = 0.0;                // m/s at the last computed sample
  double peakThrust = 0.0;                 // N
  double liftOffWeight = 0.0;              // N
  double liftOffMass = 0.0;                // kg, motors included
  double motorMass = 0.0;                  // kg, every motor of the flying stages
  // The main motor's ejection: the published delay closest to the
  // recommended one.
  bool ejectionCharge = true;  // false: the main motor is only sold plugged
  struct Delay {
    int delay = 0;                  // s
    double difference = 0.0;        // s, delay minus the recommended one
    double tolerance = 0.0;         // s
    double ejectionVelocity = 0.0;  // m/s
  };
  std::optional<Delay> bestDelay;  // none: no delay is published
  double recommendedDelay = 0.0;   // s
  struct StageTime {
    int stage = 0;      // 1..3
    double time = 0.0;  // s
  };
  std::vector<StageTime> upperIgnitions;                 // each stage above a booster: when it ignites
  std::vector<StageTime> lowerSeparations;               // each stage below stage 1: when it is dropped
  std::vector<std::pair<int, std::string>> nonBoosters;  // lower stage, motor not sold with a 0 delay
  std::vector<std::string> doubtful;                     // "C6 [X]: why" for each motor with doubtful data
  double speedOfSound = kSpeedOfSound;                   // m/s, at the ground's temperature
  std::optional<RecoveryFigures> recovery;               // none: the rocket has no recovery set
  struct Stability {
    double cg = 0.0, cp = 0.0;   // m from the nose tip, at lift-off
    double margin = 0.0;         // calibers at lift-off
    double minMargin = 0.0;      // calibers, lowest while a motor burns
    double minMarginTime = 0.0;  // s
  };
  std::optional<Stability> stability;  // none: the rocket has no shape
};

// The findings of every rule for one flight, in the rules' order.
std::vector<FlightWarning> JudgeFlight(const FlightFigures& figures, const SafetyInputs& inputs, char sep);

}  // namespace komet
