// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/recovery_form.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/numbers.h"
#include "motors/motor_details.h"
#include "sim/flight_analysis.h"

namespace komet {
namespace {

// A starting streamer: a metre of 5 cm crêpe paper is what kits bring.
constexpr double kStartLengthMm = 1000.0;
constexpr double kStartWidthMm = 50.0;
// When no chute size can be worked out, a common 30 cm canopy.
constexpr double kStartDiameterMm = 300.0;

// Up to `decimals` places without trailing zeros: "0,8", "0,036", "5".
std::string Trimmed(double value, int decimals, char sep) {
  const std::string format = "%." + std::to_string(decimals) + "f";
  std::string s = Format(sep, format, value);
  if (s.find(sep) == std::string::npos) return s;
  while (s.back() == '0') s.pop_back();
  if (s.back() == sep) s.pop_back();
  return s;
}

double ValueOf(const std::string& text) {
  return ParseStrictNumber(text).value_or(std::nan(""));
}

bool InRange(double value, RecoveryLimits limits) {
  // The same hair's width of slack the stored block is read with.
  constexpr double kSlack = 1e-9;
  return std::isfinite(value) && value >= limits.min - kSlack && value <= limits.max + kSlack;
}

// The published delay nearest to the flight's apogee, else the first one,
// else the flight's own, else none at all.
double StartDelay(const RecoveryContext& c) {
  if (!c.delays.empty()) {
    if (!c.recommended) return c.delays.front();
    return *ClosestDelay(c.delays, *c.recommended);
  }
  if (c.recommended) return std::clamp(std::round(*c.recommended), kDeployDelay.min, kDeployDelay.max);
  return 0.0;
}

double CasedMass(const StageRecord& stage) {
  double mass = stage.mass;
  for (std::size_t j = 0; j < kSlotCount; ++j)
    if (stage.counts[j] > 0)
      mass += stage.counts[j] * (stage.motors[j].totalMass - stage.motors[j].propellantMass);
  return mass;
}

}  // namespace

RecoveryContext MakeRecoveryContext(const RocketRecord& rocket, const Simulation& sim,
                                    const SimConstants& constants, const Simulation* freeAscent) {
  RecoveryContext c;
  if (rocket.stages[0].counts[0] > 0) c.delays = PublishedDelays(rocket.stages[0].motors[0]);
  const bool flown = sim.results().resultsValid && !sim.results().noFlight;
  if (flown) c.recommended = AdviseDelays(freeAscent ? *freeAscent : sim).recommendedDelay;
  c.landingMass = flown ? sim.results().endMass : CasedMass(rocket.stages[0]);
  c.rocketDragArea = TopStageDragArea(rocket);
  RunConstants air;
  air.airDensity = constants.Values().airDensity;
  air.site = constants.Site();
  c.airDensity = GroundDensity(air);
  c.gravity = constants.Values().gravity;
  c.lastFlight = MeasureRecovery(sim);
  return c;
}

RecoveryForm ShowRecovery(const std::optional<Recovery>& recovery, const RecoveryContext& context, char sep) {
  RecoveryForm f;
  f.descentRate = Trimmed(kDefaultDescentRate, 1, sep);
  f.chuteCw = Trimmed(kDefaultChuteCw, 3, sep);
  f.diameter = Trimmed(kStartDiameterMm, 0, sep);
  f.length = Trimmed(kStartLengthMm, 0, sep);
  f.width = Trimmed(kStartWidthMm, 0, sep);
  f.streamerCw = StreamerCwText(f, sep);
  f.delay = Trimmed(StartDelay(context), 1, sep);
  f.inflationTime = "0";
  if (const ChuteSuggestion s = SuggestChute(f, context, sep); s.diameterMm)
    f.diameter = Trimmed(*s.diameterMm, 0, sep);
  if (!recovery) return f;

  const Recovery& r = *recovery;
  if (r.kind == Recovery::Kind::Parachute) {
    f.kind = RecoveryForm::Kind::Parachute;
    f.diameter = Trimmed(r.diameterMm, 0, sep);
    f.chuteCw = Trimmed(r.cw, 3, sep);
  } else {
    f.kind = RecoveryForm::Kind::Streamer;
    f.length = Trimmed(r.lengthMm, 0, sep);
    f.width = Trimmed(r.widthMm, 0, sep);
    f.streamerCw = Trimmed(r.cw, 3, sep);
  }
  f.atApogee = r.deployment == Recovery::Deployment::Apogee;
  f.delay = Trimmed(r.delay, 1, sep);
  f.inflationTime = Trimmed(r.inflationTime, 2, sep);
  return f;
}

RecoveryTake TakeRecovery(const RecoveryForm& f, char sep) {
  if (f.kind == RecoveryForm::Kind::None) return {};
  Recovery r;
  const bool chute = f.kind == RecoveryForm::Kind::Parachute;
  r.kind = chute ? Recovery::Kind::Parachute : Recovery::Kind::Streamer;
  r.deployment = f.atApogee ? Recovery::Deployment::Apogee : Recovery::Deployment::Delay;
  r.diameterMm = chute ? ValueOf(f.diameter) : 0.0;
  r.lengthMm = chute ? 0.0 : ValueOf(f.length);
  r.widthMm = chute ? 0.0 : ValueOf(f.width);
  r.cw = ValueOf(chute ? f.chuteCw : f.streamerCw);
  r.delay = ValueOf(f.delay);
  r.inflationTime = ValueOf(f.inflationTime);

  RecoveryTake take;
  take.problem = RecoveryProblem(r, sep);
  if (take.problem.empty()) {
    // Electronics need no delay; an unreadable one is not kept.
    if (!std::isfinite(r.delay)) r.delay = 0.0;
    take.recovery = r;
    return take;
  }
  // The fields in the order the message checks them: the first one out is it.
  struct Checked {
    RecoveryField field;
    double value;
    RecoveryLimits limits;
    bool used;
  };
  const Checked fields[] = {
      {RecoveryField::Diameter, r.diameterMm, kChuteDiameterMm, chute},
      {RecoveryField::ChuteCw, r.cw, kChuteCw, chute},
      {RecoveryField::Length, r.lengthMm, kStreamerLengthMm, !chute},
      {RecoveryField::Width, r.widthMm, kStreamerWidthMm, !chute},
      {RecoveryField::StreamerCw, r.cw, kStreamerCw, !chute},
      {RecoveryField::Delay, r.delay, kDeployDelay, !f.atApogee},
      {RecoveryField::InflationTime, r.inflationTime, kInflationTime, true},
  };
  for (const Checked& c : fields)
    if (c.used && !InRange(c.value, c.limits)) {
      take.field = c.field;
      break;
    }
  return take;
}

ChuteSuggestion SuggestChute(const RecoveryForm& f, const RecoveryContext& c, char sep) {
  const double rate = ValueOf(f.descentRate);
  const double cw = ValueOf(f.chuteCw);
  if (!(rate > 0.0)) return {std::nullopt, "Ziel-Sinkrate bitte als Zahl über 0 m/s angeben."};
  if (!InRange(cw, kChuteCw))
    return {std::nullopt, Format(sep, "Zuerst einen cw des Fallschirms von %.1f bis %.1f angeben.",
                                 kChuteCw.min, kChuteCw.max)};
  if (!(c.landingMass > 0.0) || !(c.airDensity > 0.0) || !(c.gravity > 0.0))
    return {std::nullopt, "Ohne Masse der Hauptstufe lässt sich kein Fallschirm berechnen."};
  const double exact = ChuteDiameterFor(c.landingMass, rate, c.rocketDragArea, c.airDensity, cw, c.gravity);
  const std::string basis =
      Format(sep, "Landemasse %.0f g, Luftdichte %.2f kg/m³", c.landingMass * 1000.0, c.airDensity);
  if (!(exact > 0.0))
    return {std::nullopt, Format(sep, "Die Hauptstufe sinkt schon ohne Fallschirm mit höchstens %s m/s (%s).",
                                 Trimmed(rate, 1, sep), basis)};
  // Up to the next whole mm: the descent is then no faster than asked.
  const double diameter = std::max(std::ceil(exact - 1e-9), kChuteDiameterMm.min);
  if (diameter > kChuteDiameterMm.max)
    return {std::nullopt, Format(sep, "Für %s m/s wären %.0f mm nötig, mehr als %.0f mm (%s).",
                                 Trimmed(rate, 1, sep), diameter, kChuteDiameterMm.max, basis)};
  return {diameter, Format(sep, "Für %s m/s: %.0f mm (%s)", Trimmed(rate, 1, sep), diameter, basis)};
}

std::string StreamerCwText(const RecoveryForm& f, char sep) {
  const double length = ValueOf(f.length);
  if (!InRange(length, kStreamerLengthMm)) return {};
  return Trimmed(std::clamp(StreamerCw(length), kStreamerCw.min, kStreamerCw.max), 3, sep);
}

std::string LastFlightText(const RecoveryFigures& r, char sep) {
  if (!r.deployed) return "Im letzten Flug öffnete die Bergung nicht vor dem Ende der Rechnung.";
  std::string text = Format(sep, "Letzter Flug: geöffnet nach %.1f s in %.0f m Höhe bei %.1f m/s, ",
                            r.deploymentTime, r.deploymentHeight, r.deploymentSpeed);
  if (!r.landed)
    return text + Format(sep, "am Ende der Rechnung nach %.1f s noch nicht gelandet.", r.flightTime);
  return text +
         Format(sep,
                "Sinkrate %.1f m/s, gelandet nach %.1f s mit %.1f m/s; Abdrift etwa %.0f m bei %s m/s Wind.",
                r.descentRate, r.flightTime, r.landingSpeed, r.drift, Trimmed(r.wind, 1, sep));
}

}  // namespace komet
