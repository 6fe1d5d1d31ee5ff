// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/remedies.h"

#include <cmath>

#include "common/format.h"
#include "sim/flight_analysis.h"

namespace komet {

std::optional<RailRemedy> LongerRail(const Simulation& sim) {
  const auto s = sim.samples();
  const std::size_t last = sim.lastSample();
  const RunConstants& c = sim.constants();
  const double dt = c.timeStep;
  std::size_t k = 1;
  while (k <= last && !(s[k].height > c.railLength)) ++k;
  if (k > last) return std::nullopt;
  // Rails in whole tenths; the first is longer than the run's (1.2 × 10
  // lies just below 12).
  int tenths = static_cast<int>(std::floor(c.railLength * 10.0 + 1e-9)) + 1;
  const int maxTenths = static_cast<int>(std::lround(kMaxRemedyRail * 10.0));
  // The step that left the old rail, as flown: its friction acts on any
  // longer rail too.
  double from = k > 1 ? s[k - 1].height : 0.0;
  double height = s[k].height, velocity = s[k].velocity, accel = s[k].accel;
  double mass = accel != 0.0 ? s[k].force / accel : LiftOffMass(sim.plan());
  for (;;) {
    for (; tenths <= maxTenths && tenths / 10.0 < height; ++tenths) {
      const double speed = SpeedWithinStep(from, velocity, accel, dt, tenths / 10.0);
      if (!(speed < kMinRailExitSpeed)) return RailRemedy{tenths / 10.0, speed};
    }
    if (tenths > maxTenths || ++k > last) return std::nullopt;
    // The next step still on the rail: the flown step's thrust, weight and
    // mass (its force over its acceleration), its drag at the speed the
    // friction leaves, and the friction.
    const FlightSample& p = s[k];
    if (p.accel != 0.0) mass = p.force / p.accel;
    if (!(mass > 0.0) || !std::isfinite(mass)) return std::nullopt;
    const double drag = p.thrust - mass * c.gravity - p.force;  // the flown step was off the rail
    const double flown = s[k - 1].velocity * std::fabs(s[k - 1].velocity);
    const double slower = flown != 0.0 ? drag * (velocity * std::fabs(velocity)) / flown : drag;
    accel = (p.force + drag - slower - c.railFriction) / mass;
    from = height;
    velocity += accel * dt;
    height += velocity * dt;
    if (!(velocity > 0.0)) return std::nullopt;  // it stops on the rail: no rail helps
  }
}

std::optional<DelayCheck> FittingDelay(std::span<const DelayCheck> delays) {
  const DelayCheck* fit = nullptr;
  for (const DelayCheck& c : delays)
    if (c.ejection.inFlight && !c.tooFast && std::fabs(c.fromApogee) <= c.tolerance &&
        (fit == nullptr || std::fabs(c.fromApogee) < std::fabs(fit->fromApogee)))
      fit = &c;
  return fit != nullptr ? std::optional<DelayCheck>(*fit) : std::nullopt;
}

std::vector<Remedy> FindRemedies(const Simulation& sim, const FlightAnalysis& a, const SafetyInputs& in,
                                 char sep) {
  using enum SafetyRuleId;
  std::vector<Remedy> out;
  for (const FlightWarning& w : a.warnings) {
    if (RemedyFor(out, w.kind) != nullptr) continue;
    if (w.kind == RailExitSpeed) {
      if (const std::optional<RailRemedy> r = LongerRail(sim))
        out.push_back({w.kind, Format(sep, "mit %.1f m Schiene: %.1f m/s", r->length, r->speed), r->length});
    } else if (w.kind == NoFittingDelay || w.kind == EjectionTooFast) {
      if (const std::optional<DelayCheck> d = FittingDelay(a.delays))
        out.push_back({w.kind,
                       Format(sep, "%d s Verzögerung: Ausstoß %.1f s %s dem Gipfel bei %.1f m/s", d->delay,
                              std::fabs(d->fromApogee), d->fromApogee < 0.0 ? "vor" : "nach",
                              std::fabs(d->ejection.velocity)),
                       static_cast<double>(d->delay)});
    } else if (w.kind == HeightLimit && in.heightLimit) {
      const double over = a.figures.maxHeight - *in.heightLimit;
      out.push_back({w.kind, Format(sep, "%.0f m über der Höhengrenze", std::ceil(over)), over});
    }
  }
  return out;
}

const Remedy* RemedyFor(std::span<const Remedy> remedies, SafetyRuleId rule) {
  for (const Remedy& r : remedies)
    if (r.rule == rule) return &r;
  return nullptr;
}

}  // namespace komet
