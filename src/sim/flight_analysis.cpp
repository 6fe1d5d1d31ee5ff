// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/flight_analysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "motors/motor_details.h"
#include "motors/motor_facts.h"
#include "sim/atmosphere.h"
#include "sim/rocket_stability.h"

namespace komet {
namespace {

// Stages that take part in a run: each below an absent stage is absent too.
int PresentStages(const FlightPlan& plan) {
  int n = 0;
  while (n < static_cast<int>(kStageCount) && plan.stages[n].counts[0] > 0) ++n;
  return n;
}

std::vector<DelayCheck> CheckDelays(const Simulation& sim, std::span<const int> published) {
  const FlightResults& r = sim.results();
  std::vector<DelayCheck> rows;
  for (const int d : published) {
    DelayCheck c;
    c.delay = d;
    c.ejection = PointAt(sim, r.burnoutTime + d);
    c.fromApogee = c.ejection.time - r.maxHeightTime;
    c.tolerance = DelayTolerance(d);
    c.early = PointAt(sim, c.ejection.time - c.tolerance);
    c.late = PointAt(sim, c.ejection.time + c.tolerance);
    c.tooFast = TooFastAtEjection(c.ejection.velocity);
    rows.push_back(c);
  }
  return rows;
}

// Every delay the motor is sold with, ascending, also those beyond the
// record's four places: the uncut factory delay is often the longest.
std::vector<int> SortedDelays(const MotorRecord* main) {
  if (main == nullptr) return {};  // nothing flown yet
  std::vector<int> delays = PublishedDelays(*main);
  std::sort(delays.begin(), delays.end());
  return delays;
}

// Every motor of the flying stages, each with its count.
template <class Each>
void ForEachMotor(const FlightPlan& plan, Each each) {
  for (int s = 0; s < PresentStages(plan); ++s)
    for (std::size_t j = 0; j < kSlotCount; ++j)
      if (plan.stages[s].counts[j] > 0) each(s, *plan.stages[s].motors[j], plan.stages[s].counts[j]);
}

void MeasureMotors(const FlightPlan& plan, FlightFigures& f) {
  ForEachMotor(plan, [&](int stage, const MotorRecord& motor, int count) {
    const MotorFacts facts = MakeMotorFacts(motor);
    // The main motor, whose charge ejects the recovery, comes first.
    if (&motor == plan.stages[0].motors[0]) f.ejectionCharge = !(facts.plugged && facts.delays.empty());
    f.motorMass += count * motor.totalMass;
    if (stage > 0 && !facts.booster) f.nonBoosters.emplace_back(stage + 1, facts.name);
    const std::string doubt = facts.name + ": " + facts.dataCheck;
    if (facts.doubtful() && std::find(f.doubtful.begin(), f.doubtful.end(), doubt) == f.doubtful.end())
      f.doubtful.push_back(doubt);
  });
}

void MeasureStages(const Simulation& sim, FlightFigures& f) {
  const int present = PresentStages(sim.plan());
  const auto& runs = sim.results().stages;
  // Stage 1 is an upper stage whenever a booster sits below it.
  for (int s = 0; s + 1 < present; ++s) f.upperIgnitions.push_back({s + 1, runs[s].ignitionTime});
  for (int s = 1; s < present; ++s) f.lowerSeparations.push_back({s + 1, runs[s].separationTime});
}

}  // namespace

double SpeedWithinStep(double from, double velocity, double accel, double timeStep, double height) {
  // The step's motion: constant acceleration, covering velocity × step as
  // the integrator moves the height, so its velocity is that of the step's
  // middle; v² grows by 2 a Δh from the speed where the step begins.
  const double start = velocity - 0.5 * accel * timeStep;
  const double rise = std::max(0.0, height - from);
  return std::sqrt(std::max(0.0, start * start + 2.0 * accel * rise));
}

std::optional<double> RailExitSpeed(const Simulation& sim) {
  const auto samples = sim.samples();
  const double rail = sim.constants().railLength;
  for (std::size_t n = 1; n <= sim.lastSample(); ++n)
    if (samples[n].height > rail) {
      const double from = n > 1 ? samples[n - 1].height : 0.0;
      return SpeedWithinStep(from, samples[n].velocity, samples[n].accel, sim.constants().timeStep, rail);
    }
  return std::nullopt;
}

std::optional<int> ClosestDelay(std::span<const int> published, double wanted) {
  // A tie is a tie within a tenth of a second, rounding aside.
  constexpr double kTie = 0.1 + 1e-9;
  std::optional<int> best;
  for (const int d : published) {
    const double gap = std::fabs(d - wanted);
    if (!best) {
      best = d;
      continue;
    }
    const double bestGap = std::fabs(*best - wanted);
    const bool tie = std::fabs(gap - bestGap) <= kTie;
    if (tie ? d < *best : gap < bestGap) best = d;
  }
  return best;
}

std::optional<double> RecommendedDelay(const Simulation& sim) {
  const FlightResults& r = sim.results();
  if (!r.resultsValid || r.noFlight) return std::nullopt;
  return r.recommendedDelay();
}

DelayAdvice AdviseDelays(const Simulation& sim) {
  DelayAdvice a;
  const std::optional<double> recommended = RecommendedDelay(sim);
  if (!recommended) return a;
  a.recommendedDelay = *recommended;
  const std::vector<int> published = SortedDelays(sim.plan().stages[0].motors[0]);
  a.delays = CheckDelays(sim, published);
  a.best = ClosestDelay(published, a.recommendedDelay);
  for (DelayCheck& c : a.delays) c.best = a.best && c.delay == *a.best;
  return a;
}

void FlyFreeAscent(const FlightPlan& plan, Simulation& into) {
  FlightPlan free = plan;
  free.recovery.reset();
  // The latest time a delay row reads: the end of the longest delay's band.
  double span = 0.0;
  for (const int d : SortedDelays(plan.stages[0].motors[0])) span = std::max(span, d + DelayTolerance(d));
  into.SetFlightEnd(Simulation::FlightEnd::Ascent, span);
  into.Run(free);
}

const Simulation& FreeAscentOf(const Simulation& flight, Simulation& spare) {
  if (!flight.plan().recovery) return flight;
  FlyFreeAscent(flight.plan(), spare);
  return spare;
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

double TopStageDragArea(const RocketRecord& rocket) {
  const StageRecord& top = rocket.stages[0];
  const double radius = top.diameter / 2.0;
  return rocket.cw * (radius * radius * kPi + top.otherArea);
}

double GroundDensity(const RunConstants& c) {
  return c.site.standardAtmosphere ? SiteDensity(c.site, 0.0) : c.airDensity;
}

double ChuteDiameterFor(double massKg, double descentRate, double rocketDragArea, double airDensity,
                        double chuteCw, double gravity) {
  if (!(descentRate > 0.0 && airDensity > 0.0 && chuteCw > 0.0)) return 0.0;
  const double needed = 2.0 * massKg * gravity / (airDensity * descentRate * descentRate);
  const double chuteArea = (needed - rocketDragArea) / chuteCw;
  if (!(chuteArea > 0.0)) return 0.0;
  return 2000.0 * std::sqrt(chuteArea / std::numbers::pi);
}

std::optional<RecoveryFigures> MeasureRecovery(const Simulation& sim) {
  const FlightResults& res = sim.results();
  const RunConstants& c = sim.constants();
  if (!c.recovery || !res.resultsValid || res.noFlight || sim.lastSample() == 0) return std::nullopt;
  const auto samples = sim.samples();
  const std::size_t last = sim.lastSample();
  RecoveryFigures f;
  f.recovery = *c.recovery;
  f.poweredEnd = res.poweredEnd;
  f.deployed = res.deployed;
  f.landed = res.landed;
  f.flightTime = res.flightEndTime;
  f.landingSpeed = std::fabs(res.landed ? res.landingVelocity : samples[last].velocity);
  f.landingMass = res.endMass;
  f.wind = c.site.wind;
  f.drift = f.wind * std::max(0.0, f.flightTime - res.maxHeightTime);
  if (f.deployed) {
    const std::size_t d = std::min(res.deploymentStep, last);
    f.deploymentTime = res.deploymentTime;
    // The state the device opened in: the end of the step before.
    f.deploymentHeight = samples[d > 1 ? d - 1 : d].height;
    f.deploymentSpeed = std::fabs(samples[d > 1 ? d - 1 : d].velocity);
    double shock = 0.0;
    for (std::size_t n = d; n <= last; ++n) {
      const double v = samples[n - 1].velocity;  // the motion the step's force acted on
      const double decel = v < 0.0 ? samples[n].accel : -samples[n].accel;
      shock = std::max(shock, decel);
    }
    f.openingShock = shock / kStandardGravity;
  }
  // The mean descent rate over the span before landing, from the height
  // lost; a shorter descent gives the mean of what there is.
  const double endTime = samples[last].time;
  const double from = std::max(samples[1].time, endTime - kDescentRateSpan);
  const std::size_t first = std::clamp<std::int64_t>(SampleAt(from), 1, static_cast<std::int64_t>(last));
  const double span = endTime - samples[first].time;
  if (span > 0.0) f.descentRate = std::max(0.0, (samples[first].height - samples[last].height) / span);
  // A descent computed rather than flown ends at the terminal speed.
  if (res.steadyFrom > 0.0) f.descentRate = f.landingSpeed;
  return f;
}

FlightFigures MeasureFlight(const Simulation& sim, const DelayAdvice& advice) {
  const FlightResults& r = sim.results();
  FlightFigures f;
  f.railExitVelocity = RailExitSpeed(sim);
  f.maxVelocity = r.maxVelocity;
  f.maxAccel = r.maxAccel;
  f.maxHeight = r.maxHeight;
  f.maxHeightTime = r.maxHeightTime;
  f.flightEndTime = r.flightEndTime;
  f.endVelocity = sim.lastSample() > 0 ? sim.samples()[sim.lastSample()].velocity : 0.0;
  f.peakThrust = r.peakThrust;
  f.liftOffMass = LiftOffMass(sim.plan());
  f.liftOffWeight = f.liftOffMass * sim.constants().gravity;
  f.recommendedDelay = advice.recommendedDelay;
  for (const DelayCheck& c : advice.delays)
    if (c.best)
      f.bestDelay =
          FlightFigures::Delay{c.delay, c.delay - advice.recommendedDelay, c.tolerance, c.ejection.velocity};
  MeasureMotors(sim.plan(), f);
  MeasureStages(sim, f);
  f.speedOfSound = SiteSpeedOfSound(sim.constants().site);
  f.recovery = MeasureRecovery(sim);
  return f;
}

FlightAnalysis AnalyseFlight(const Simulation& sim, char sep, const SafetyInputs& inputs,
                             const Simulation* freeAscent) {
  if (!sim.results().resultsValid || sim.results().noFlight) return {};
  return AnalyseFlight(sim, AdviseDelays(freeAscent ? *freeAscent : sim), sep, inputs);
}

FlightAnalysis AnalyseFlight(const Simulation& sim, DelayAdvice advice, char sep,
                             const SafetyInputs& inputs) {
  FlightAnalysis a;
  if (!sim.results().resultsValid || sim.results().noFlight) return a;
  a.figures = MeasureFlight(sim, advice);
  a.recommendedDelay = advice.recommendedDelay;
  a.delays = std::move(advice.delays);
  if (inputs.shape) {
    const StabilityFigures s = FlightStability(*inputs.shape, sim);
    a.figures.stability = FlightFigures::Stability{s.cg, s.cp, s.margin, s.minMargin, s.minMarginTime};
  }
  SafetyInputs in = inputs;
  in.otherDeployment = in.otherDeployment || OpensAtApogee(sim.constants().recovery);
  a.warnings = JudgeFlight(a.figures, in, sep);
  a.remedies = FindRemedies(sim, a, in, sep);
  return a;
}

}  // namespace komet
