// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/flight_safety.h"

#include <array>
#include <cmath>

#include "common/format.h"
#include "common/numbers.h"
#include "sim/atmosphere.h"

namespace komet {
namespace {

using enum SafetyRuleId;
constexpr SafetyLevel kRed = SafetyLevel::Red;
constexpr SafetyLevel kAmber = SafetyLevel::Amber;

constexpr std::array kRules = {
    SafetyRule{NoFlight, "noFlight", kRed, 0.0, "kein Flug berechnet"},
    SafetyRule{NoRailExit, "noRailExit", kRed, 0.0, "verlässt die Startvorrichtung nicht"},
    SafetyRule{RailExitSpeed, "railExitSpeed", kRed, kMinRailExitSpeed,
               "zu langsam am Ende der Startvorrichtung"},
    SafetyRule{NearSpeedOfSound, "nearSpeedOfSound", kRed, kMaxModelSpeed,
               "Modell ungültig nahe Schallgeschwindigkeit"},
    SafetyRule{ApogeeNotReached, "apogeeNotReached", kRed, 0.0, "Gipfel nicht erreicht: Rechenzeit zu kurz"},
    SafetyRule{NoFittingDelay, "noFittingDelay", kRed, 0.0, "keine Verzögerung passt zur empfohlenen"},
    SafetyRule{PluggedTopStage, "pluggedTopStage", kRed, 0.0, "Motor ohne Ausstoßladung in der Hauptstufe"},
    SafetyRule{EjectionTooFast, "ejectionTooFast", kRed, kMaxEjectionSpeed, "Ausstoß zu schnell"},
    SafetyRule{NoBoosterBelow, "noBoosterBelow", kRed, 0.0, "Unterstufe ohne Startstufenmotor (-0)"},
    SafetyRule{IgnitionAfterApogee, "ignitionAfterApogee", kAmber, 0.0, "Stufe zündet nach dem Gipfel"},
    SafetyRule{SeparationNotInFlight, "separationNotInFlight", kAmber, 0.0,
               "Stufe wird im berechneten Flug nicht abgetrennt"},
    SafetyRule{ThrustToWeight, "thrustToWeight", kAmber, kMinThrustToWeight, "Schub/Gewicht zu gering"},
    SafetyRule{Acceleration, "acceleration", kAmber, kMaxAcceleration, "Beschleunigung zu hoch"},
    SafetyRule{HeavyMotor, "heavyMotor", kAmber, kMaxMotorMassShare, "Motoren zu schwer"},
    SafetyRule{HeightLimit, "heightLimit", kRed, 0.0, "Gipfel über der Höhengrenze des Feldes"},
    SafetyRule{DoubtfulData, "doubtfulData", kAmber, 0.0, "Daten fraglich"},
    SafetyRule{NotDeployed, "notDeployed", kRed, 0.0, "Bergung öffnet nicht vor der Landung"},
    SafetyRule{DeploymentBeforeBurnout, "deploymentBeforeBurnout", kRed, 0.0,
               "Bergung öffnet vor Brennschluss"},
    SafetyRule{DeploymentTooFast, "deploymentTooFast", kRed, kMaxEjectionSpeed, "Bergung öffnet zu schnell"},
    SafetyRule{DescentTooFast, "descentTooFast", kRed, kMaxDescentRateRed,
               "Sinkgeschwindigkeit viel zu hoch"},
    SafetyRule{DescentFast, "descentFast", kAmber, kMaxDescentRateAmber, "Sinkgeschwindigkeit hoch"},
    SafetyRule{DescentSlow, "descentSlow", kAmber, kMinDescentRate,
               "Sinkgeschwindigkeit gering: weite Abdrift"},
    SafetyRule{LandingNotReached, "landingNotReached", kAmber, 0.0, "Landung nicht berechnet"},
    SafetyRule{LandsOffField, "landsOffField", kAmber, 0.0, "landet außerhalb des Feldes"},
    SafetyRule{Unstable, "unstable", kRed, kMinStableMargin, "instabil"},
    SafetyRule{MarginallyStable, "marginallyStable", kAmber, kComfortableMargin, "knapp stabil"},
    SafetyRule{OverStable, "overStable", kAmber, kMaxStableMargin, "überstabil: dreht in den Wind"},
};

constexpr bool InIdOrder() {
  for (std::size_t i = 0; i < kRules.size(); ++i)
    if (static_cast<std::size_t>(kRules[i].id) != i) return false;
  return true;
}
static_assert(InIdOrder(), "RuleOf indexes the table by id");

double Threshold(SafetyRuleId id) {
  return RuleOf(id).threshold;
}

using Findings = std::vector<FlightWarning>;

void JudgeRail(const FlightFigures& f, char sep, Findings& out) {
  if (!f.railExitVelocity) {
    out.push_back({NoRailExit, 0, 0.0,
                   "Startgeschwindigkeit zu gering: die Rakete verlässt die Startvorrichtung nicht"});
  } else if (*f.railExitVelocity < Threshold(RailExitSpeed)) {
    out.push_back({RailExitSpeed, 0, *f.railExitVelocity,
                   Format(sep,
                          "Startgeschwindigkeit zu gering: %.1f m/s am Ende der Startvorrichtung "
                          "(empfohlen mindestens %.0f m/s)",
                          *f.railExitVelocity, Threshold(RailExitSpeed))});
  }
}

void JudgeModel(const FlightFigures& f, char sep, Findings& out) {
  // The table's threshold is for 15 °C; the ground's temperature moves it.
  const double machLimit = MachLimit(f.speedOfSound);
  if (f.maxVelocity >= machLimit)
    out.push_back({NearSpeedOfSound, 0, f.maxVelocity,
                   Format(sep,
                          "Modell ungültig nahe Schallgeschwindigkeit: %.1f m/s sind Mach %.2f "
                          "(höchstens Mach %.1f, %.0f m/s)",
                          f.maxVelocity, f.maxVelocity / f.speedOfSound, kMaxMachFraction, machLimit)});
  // Still climbing at the last computed step: the apogee lies beyond it.
  if (f.endVelocity > 0.0)
    out.push_back({ApogeeNotReached, 0, f.flightEndTime,
                   Format(sep,
                          "Gipfel nicht erreicht: Rechenzeit zu kurz (nach %.2f s steigt die Rakete "
                          "noch mit %.1f m/s)",
                          f.flightEndTime, f.endVelocity)});
}

void JudgeRecovery(const FlightFigures& f, const SafetyInputs& in, char sep, Findings& out) {
  const FlightFigures::Delay* best = f.bestDelay ? &*f.bestDelay : nullptr;
  if (!in.otherDeployment && f.ejectionCharge) {
    if (best == nullptr)
      out.push_back({NoFittingDelay, 0, 0.0,
                     "Keine passende Verzögerung: der Motor der Hauptstufe hat keine Ausstoßverzögerung"});
    else if (std::fabs(best->difference) > best->tolerance)
      out.push_back({NoFittingDelay, 0, best->difference,
                     Format(sep,
                            "Keine passende Verzögerung: %d s weicht %+.1f s von den empfohlenen %.1f s ab "
                            "(Toleranz ± %.1f s)",
                            best->delay, best->difference, f.recommendedDelay, best->tolerance)});
  }
  if (!in.otherDeployment && !f.ejectionCharge)
    out.push_back(
        {PluggedTopStage, 1, 0.0,
         "Motor ohne Ausstoßladung in der Hauptstufe: keine Ausstoßladung öffnet den Bergungsteil"});
  // With recovery set, its own deployment is judged instead.
  if (!f.recovery && best != nullptr && f.ejectionCharge && TooFastAtEjection(best->ejectionVelocity))
    out.push_back({EjectionTooFast, 0, best->ejectionVelocity,
                   Format(sep, "Ausstoß zu schnell: %.1f m/s bei %d s Verzögerung (mehr als %.0f m/s)",
                          std::fabs(best->ejectionVelocity), best->delay, Threshold(EjectionTooFast))});
}

void JudgeDescentRate(const RecoveryFigures& r, char sep, Findings& out) {
  if (r.descentRate > Threshold(DescentTooFast))
    out.push_back({DescentTooFast, 1, r.descentRate,
                   Format(sep, "Sinkgeschwindigkeit %.1f m/s: mehr als %.0f m/s, die Rakete nimmt Schaden",
                          r.descentRate, Threshold(DescentTooFast))});
  else if (r.descentRate > Threshold(DescentFast))
    out.push_back({DescentFast, 1, r.descentRate,
                   Format(sep, "Sinkgeschwindigkeit %.1f m/s: mehr als %.0f m/s, größerer Schirm empfohlen",
                          r.descentRate, Threshold(DescentFast))});
  else if (r.descentRate < Threshold(DescentSlow))
    out.push_back(
        {DescentSlow, 1, r.descentRate,
         Format(sep, "Sinkgeschwindigkeit %.1f m/s: weniger als %.0f m/s, die Rakete treibt %.0f m ab",
                r.descentRate, Threshold(DescentSlow), r.drift)});
}

void JudgeDescent(const FlightFigures& f, const SafetyInputs& in, char sep, Findings& out) {
  if (!f.recovery) return;
  const RecoveryFigures& r = *f.recovery;
  if (!r.deployed) {
    out.push_back(
        {NotDeployed, 1, r.flightTime,
         Format(sep, "Bergung öffnet nicht: die Rakete landet nach %.2f s, vor dem Öffnen", r.flightTime)});
    return;
  }
  if (r.deploymentTime < r.poweredEnd)
    out.push_back({DeploymentBeforeBurnout, 1, r.deploymentTime,
                   Format(sep, "Bergung öffnet vor Brennschluss: bei %.2f s, Brennschluss bei %.2f s",
                          r.deploymentTime, r.poweredEnd)});
  if (r.deploymentSpeed > Threshold(DeploymentTooFast))
    out.push_back({DeploymentTooFast, 1, r.deploymentSpeed,
                   Format(sep, "Bergung öffnet zu schnell: %.1f m/s (mehr als %.0f m/s)", r.deploymentSpeed,
                          Threshold(DeploymentTooFast))});
  if (r.landed)
    JudgeDescentRate(r, sep, out);
  else
    out.push_back({LandingNotReached, 1, r.flightTime,
                   Format(sep,
                          "Landung nicht berechnet: nach %.2f s, dem längsten berechenbaren Flug, ist die "
                          "Rakete noch in der Luft",
                          r.flightTime)});
  // The drift only grows until touch-down: one already beyond the field
  // when the computed flight ends lands beyond it too.
  if (!LandsOnField(r, in.fieldRadius))
    out.push_back({LandsOffField, 1, r.drift,
                   Format(sep, "landet außerhalb des Feldes: %.0f m Abdrift bei %.1f m/s Wind (Feld %.0f m)",
                          r.drift, r.wind, in.fieldRadius)});
}

void JudgeStability(const FlightFigures& f, char sep, Findings& out) {
  if (!f.stability) return;
  const FlightFigures::Stability& s = *f.stability;
  if (s.minMargin < Threshold(Unstable))
    out.push_back({Unstable, 0, s.minMargin,
                   Format(sep, "instabil: %.2f Kaliber bei %.2f s (mindestens %.1f nötig)", s.minMargin,
                          s.minMarginTime, Threshold(Unstable))});
  else if (s.minMargin < Threshold(MarginallyStable))
    out.push_back({MarginallyStable, 0, s.minMargin,
                   Format(sep, "knapp stabil: %.2f Kaliber bei %.2f s (unter %.1f)", s.minMargin,
                          s.minMarginTime, Threshold(MarginallyStable))});
  if (s.margin > Threshold(OverStable))
    out.push_back({OverStable, 0, s.margin,
                   Format(sep, "überstabil: %.2f Kaliber beim Start (über %.1f), dreht in den Wind", s.margin,
                          Threshold(OverStable))});
}

void JudgeStages(const FlightFigures& f, char sep, Findings& out) {
  for (const auto& [stage, motor] : f.nonBoosters)
    out.push_back(
        {NoBoosterBelow, stage, 0.0,
         Format(sep,
                "Stufe %d: %s gibt es nicht als Startstufenmotor (-0): seine Ausstoßladung muss die Stufe "
                "darüber zünden",
                stage, motor)});
  for (const FlightFigures::StageTime& s : f.upperIgnitions)
    if (f.maxHeight > 0.0 && s.time > f.maxHeightTime)
      out.push_back({IgnitionAfterApogee, s.stage, s.time,
                     Format(sep, "Stufe %d zündet nach dem Gipfelpunkt: bei %.2f s, Gipfel bei %.2f s",
                            s.stage, s.time, f.maxHeightTime)});
  // Compared on the millisecond, as the run drops a stage.
  for (const FlightFigures::StageTime& s : f.lowerSeparations)
    if (!(RoundHalfEven(s.time * 1000.0) < RoundHalfEven(f.flightEndTime * 1000.0)))
      out.push_back({SeparationNotInFlight, s.stage, s.time,
                     Format(sep,
                            "Stufe %d wird im berechneten Flug nicht abgetrennt: Trennung bei %.2f s, "
                            "Flugende bei %.2f s",
                            s.stage, s.time, f.flightEndTime)});
}

void JudgeLoads(const FlightFigures& f, const SafetyInputs& in, char sep, Findings& out) {
  if (f.liftOffWeight > 0.0 && f.peakThrust < Threshold(ThrustToWeight) * f.liftOffWeight)
    out.push_back({ThrustToWeight, 0, f.peakThrust,
                   Format(sep,
                          "Schub zu gering: Spitzenschub %.1f N ist weniger als das %.0f-Fache des "
                          "Startgewichts (%.2f N)",
                          f.peakThrust, Threshold(ThrustToWeight), f.liftOffWeight)});
  if (f.maxAccel > Threshold(Acceleration))
    out.push_back({Acceleration, 0, f.maxAccel,
                   Format(sep, "Beschleunigung %.0f g: mehr als %.0f g hält ein Modell selten aus",
                          f.maxAccel / kStandardGravity, Threshold(Acceleration) / kStandardGravity)});
  if (f.liftOffMass > 0.0 && f.motorMass > Threshold(HeavyMotor) * f.liftOffMass)
    out.push_back({HeavyMotor, 0, f.motorMass,
                   Format(sep, "Motoren schwer: %.0f g von %.0f g Startmasse (mehr als %.0f %%)",
                          f.motorMass * 1000.0, f.liftOffMass * 1000.0, Threshold(HeavyMotor) * 100.0)});
  if (in.heightLimit && f.maxHeight > *in.heightLimit)
    out.push_back({HeightLimit, 0, f.maxHeight,
                   Format(sep, "Gipfel %.0f m über der Höhengrenze des Feldes (%.0f m)", f.maxHeight,
                          *in.heightLimit)});
  for (const std::string& motor : f.doubtful)
    out.push_back({DoubtfulData, 0, 0.0, "Daten fraglich: " + motor});
}

}  // namespace

std::span<const SafetyRule> SafetyRules() {
  return kRules;
}

const SafetyRule& RuleOf(SafetyRuleId id) {
  return kRules[static_cast<std::size_t>(id)];
}

double SiteSpeedOfSound(const LaunchSite& site) {
  return site.standardAtmosphere ? SpeedOfSound(site.temperature) : kSpeedOfSound;
}

double MachLimit(double speedOfSound) {
  return kMaxMachFraction * speedOfSound;
}

bool TooFastAtEjection(double velocity) {
  return std::fabs(velocity) > Threshold(EjectionTooFast);
}

SafetyInputs FieldInputs(const LaunchField& field) {
  SafetyInputs in;
  if (field.ceiling > 0.0) in.heightLimit = field.ceiling;
  in.fieldRadius = field.radius;
  return in;
}

bool LandsOnField(const RecoveryFigures& recovery, double fieldRadius) {
  return recovery.drift <= fieldRadius;
}

std::string RuleLabel(SafetyRuleId id, char sep, double speedOfSound) {
  const SafetyRule& rule = RuleOf(id);
  const std::string title(rule.title);
  const double x = rule.threshold;
  switch (id) {
    case RailExitSpeed:
    case DescentSlow:
      return title + Format(sep, " (unter %.0f m/s)", x);
    case NearSpeedOfSound:
      return title + Format(sep, " (ab Mach %.1f, %.0f m/s)", kMaxMachFraction, MachLimit(speedOfSound));
    case EjectionTooFast:
    case DeploymentTooFast:
    case DescentTooFast:
    case DescentFast:
      return title + Format(sep, " (über %.0f m/s)", x);
    case ThrustToWeight:
      return title + Format(sep, " (unter %.0f)", x);
    case Acceleration:
      return title + Format(sep, " (über %.0f g)", x / kStandardGravity);
    case HeavyMotor:
      return title + Format(sep, " (über %.0f %% der Startmasse)", x * 100.0);
    case Unstable:
    case MarginallyStable:
      return title + Format(sep, " (unter %.1f Kaliber)", x);
    case OverStable:
      return title + Format(sep, " (über %.1f Kaliber)", x);
    default:
      return title;
  }
}

std::optional<SafetyLevel> WorstLevel(std::span<const FlightWarning> findings) {
  std::optional<SafetyLevel> worst;
  for (const FlightWarning& w : findings)
    if (!worst || w.level() == SafetyLevel::Red) worst = w.level();
  return worst;
}

std::vector<FlightWarning> JudgeFlight(const FlightFigures& f, const SafetyInputs& in, char sep) {
  Findings out;
  JudgeRail(f, sep, out);
  JudgeModel(f, sep, out);
  JudgeRecovery(f, in, sep, out);
  JudgeStages(f, sep, out);
  JudgeLoads(f, in, sep, out);
  JudgeDescent(f, in, sep, out);
  JudgeStability(f, sep, out);
  return out;
}

}  // namespace komet
