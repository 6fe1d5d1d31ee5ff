#include "sim/flight_analysis.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/numbers.h"
#include "motors/motor_details.h"

namespace komet {
namespace {

// Stages that take part in a run: each below an absent stage is absent too.
int PresentStages(const RocketRecord& rocket) {
  int n = 0;
  while (n < static_cast<int>(kStageCount) && rocket.stages[n].counts[0] > 0) ++n;
  return n;
}

std::vector<DelayCheck> CheckDelays(const Simulation& sim, const RocketRecord& rocket) {
  const FlightResults& r = sim.results();
  std::vector<DelayCheck> rows;
  // Every delay the motor is sold with, also those beyond the record's four
  // places: the uncut factory delay is often the longest.
  for (const int d : PublishedDelays(rocket.stages[0].motors[0])) {
    DelayCheck c;
    c.delay = d;
    c.ejection = PointAt(sim, r.burnoutTime + d);
    c.fromApogee = c.ejection.time - r.maxHeightTime;
    c.tolerance = DelayTolerance(d);
    c.early = PointAt(sim, c.ejection.time - c.tolerance);
    c.late = PointAt(sim, c.ejection.time + c.tolerance);
    c.tooFast = std::fabs(c.ejection.velocity) > kMaxEjectionSpeed;
    rows.push_back(c);
  }
  std::sort(rows.begin(), rows.end(),
            [](const DelayCheck& a, const DelayCheck& b) { return a.delay < b.delay; });
  auto gap = [&](const DelayCheck& c) { return std::fabs(c.delay - r.recommendedDelay()); };
  auto best = std::min_element(rows.begin(), rows.end(),
                               [&](const DelayCheck& a, const DelayCheck& b) { return gap(a) < gap(b); });
  if (best != rows.end()) best->best = true;
  return rows;
}

void WarnRailExit(const Simulation& sim, std::vector<FlightWarning>& out, char sep) {
  const std::optional<double> v = RailExitSpeed(sim);
  if (v && *v >= kMinRailExitSpeed) return;
  out.push_back({FlightWarning::Kind::RailExitSpeed, 0, v.value_or(0.0),
                 v ? Format(sep,
                            "Startgeschwindigkeit zu gering: %.1f m/s am Ende der Startvorrichtung "
                            "(empfohlen mindestens %.0f m/s)",
                            *v, kMinRailExitSpeed)
                   : "Startgeschwindigkeit zu gering: die Rakete verlässt die Startvorrichtung nicht"});
}

void WarnThrust(const Simulation& sim, const RocketRecord& rocket, std::vector<FlightWarning>& out,
                char sep) {
  const double weight = LiftOffMass(rocket) * sim.constants().gravity;
  const double peak = sim.results().peakThrust;
  if (weight <= 0.0 || peak >= kMinThrustToWeight * weight) return;
  out.push_back({FlightWarning::Kind::ThrustToWeight, 0, peak,
                 Format(sep,
                        "Schub zu gering: Spitzenschub %.1f N ist weniger als das Fünffache des "
                        "Startgewichts (%.2f N)",
                        peak, weight)});
}

void WarnStages(const Simulation& sim, const RocketRecord& rocket, std::vector<FlightWarning>& out,
                char sep) {
  const FlightResults& r = sim.results();
  const int present = PresentStages(rocket);
  // Stage 1 is an upper stage whenever a booster sits below it.
  for (int s = 0; s + 1 < present; ++s) {
    const double ignition = rocket.stages[s].runIgnitionTime;
    if (r.maxHeight > 0.0 && ignition > r.maxHeightTime)
      out.push_back({FlightWarning::Kind::IgnitionAfterApogee, s + 1, ignition,
                     Format(sep, "Stufe %d zündet nach dem Gipfelpunkt: bei %.2f s, Gipfel bei %.2f s", s + 1,
                            ignition, r.maxHeightTime)});
  }
  for (int s = 1; s < present; ++s) {
    const double separation = rocket.stages[s].runSeparationTime;
    if (!(RoundHalfEven(separation * 1000.0) < RoundHalfEven(r.flightEndTime * 1000.0)))
      out.push_back({FlightWarning::Kind::SeparationNotInFlight, s + 1, separation,
                     Format(sep,
                            "Stufe %d wird im berechneten Flug nicht abgetrennt: Trennung bei %.2f s, "
                            "Flugende bei %.2f s",
                            s + 1, separation, r.flightEndTime)});
  }
}

}  // namespace

std::optional<double> RailExitSpeed(const Simulation& sim) {
  const auto samples = sim.samples();
  const double rail = sim.constants().railLength;
  for (std::size_t n = 1; n <= sim.lastSample(); ++n)
    if (samples[n].height > rail) return samples[n].velocity;
  return std::nullopt;
}

double DelayTolerance(int delay) {
  return std::min(3.0, std::max(0.2 * delay, 1.5));
}

FlightPoint PointAt(const Simulation& sim, double t) {
  FlightPoint p;
  p.time = t;
  const std::size_t last = sim.lastSample();
  if (last == 0) return {t, 0.0, 0.0, false};
  const std::int64_t n = std::isfinite(t) ? SampleAt(t) : 0;
  p.inFlight = n >= 1 && static_cast<std::size_t>(n) <= last;
  const std::size_t index = std::clamp<std::int64_t>(n, 1, static_cast<std::int64_t>(last));
  p.height = sim.samples()[index].height;
  p.velocity = sim.samples()[index].velocity;
  return p;
}

double LiftOffMass(const RocketRecord& rocket) {
  double m = 0.0;
  for (int s = 0; s < PresentStages(rocket); ++s) {
    const StageRecord& st = rocket.stages[s];
    m += st.mass;
    for (std::size_t j = 0; j < kSlotCount; ++j)
      if (st.counts[j] > 0) m += st.counts[j] * st.motors[j].totalMass;
  }
  return m;
}

FlightAnalysis AnalyseFlight(const Simulation& sim, const RocketRecord& rocket, char sep) {
  FlightAnalysis a;
  if (!sim.results().resultsValid || sim.results().noFlight) return a;
  a.delays = CheckDelays(sim, rocket);
  WarnRailExit(sim, a.warnings, sep);
  WarnThrust(sim, rocket, a.warnings, sep);
  WarnStages(sim, rocket, a.warnings, sep);
  return a;
}

}  // namespace komet
