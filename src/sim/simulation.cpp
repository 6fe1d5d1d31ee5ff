// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/simulation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/numbers.h"
#include "sim/atmosphere.h"
#include "sim/descent.h"
#include "sim/forces.h"
#include "sim/thrust_schedule.h"
#include "sim/time_grid.h"

namespace komet {
namespace {

// The drag factor K = ρ × cw × A / 2 (kg/m) while stage k (0 = stage 1) is
// the lowest one attached: the widest cross-section of the stack plus the
// other areas of the attached stages.
double DragFactor(double otherArea, const RunConstants& c, std::size_t k, double airDensity) {
  const double radius = c.stackDiameter[k] / 2.0;
  const double area = radius * radius * kPi + otherArea;
  return airDensity * c.cwValue * area / 2.0;
}

// The stages along the flight: what the plan says of them and what they
// come to, which the results keep.
struct Stack {
  const std::array<StagePlan, kStageCount>& plan;
  std::array<StageRun, kStageCount>& runs;
};

// The local state of the flight pass, SI units, grouped by what it serves.
// The rocket's mass is kept here while the pass runs rather than in the
// results, where every sample written would force it back to memory; the
// pass writes it back.
struct FlightState {
  // The clock.
  double t = 0.0;        // s
  std::int64_t tMs = 0;  // t on the millisecond grid
  std::size_t n = 1;     // sample index of the step
  // The motion.
  double height = 0.0;    // m, at the end of the previous step
  double velocity = 0.0;  // m/s
  double mass = 0.0;      // kg
  // Pad and rail.
  double railFriction = 0.0;  // N; acts until a step ends above the rail
  bool grounded = true;       // not yet lifted off
  bool onRail = true;         // grounded, or no step has yet ended above the rail
  bool rising = true;         // no step has yet ended lower than it began
  // The stack.
  std::size_t k = 0;       // lowest attached stage, 0 = stage 1
  double otherArea = 0.0;  // m², of the attached stages
  std::array<std::int64_t, kStageCount> separationMs{};
  std::int64_t nextSeparationMs = 0;  // when stage k drops; never for stage 1
  // The drag. Recovery and the standard atmosphere change it from step to
  // step; without either the flight leaves that out.
  double dragFactor = 0.0;      // kg/m
  double dragPerDensity = 0.0;  // m², the rocket's cw × A / 2 (K per kg/m³ of air)
  bool varyingDrag = false;
  const DensityTable* air = nullptr;  // the standard atmosphere; none: constant density
  double airHeight = 0.0;             // m, the height whose air the next step flies in
  DeviceState device;
  // The end of the pass.
  Simulation::FlightEnd end = Simulation::FlightEnd::Full;
  std::int64_t ascentEndMs = 0;  // FlightEnd::Ascent flies on past this time
  bool landed = false;
  bool steady = false;  // the pass ended in a steady descent
};

// The maxima while the pass runs, apart from the results so that they can
// stay in registers; the pass stores them at its end. The steps that set
// them are kept rather than their times, which their samples hold.
struct FlightMaxima {
  double accel = 0.0;
  double velocity = 0.0;
  std::size_t velocityStep = 0;  // 0: never exceeded
  double height = 0.0;
  std::size_t heightStep = 0;
  double force = 0.0;
};

// What one step computes besides the state it advances.
struct StepOutcome {
  double force = 0.0;   // N
  double accel = 0.0;   // m/s²
  double height = 0.0;  // m, at the end of the step
};

// When the lowest attached stage drops: stage 1 never does.
std::int64_t NextSeparationMs(const FlightState& s) {
  return s.k == 0 ? std::numeric_limits<std::int64_t>::max() : s.separationMs[s.k];
}

void SetStackDrag(FlightState& s, const RunConstants& c) {
  s.dragFactor = DragFactor(s.otherArea, c, s.k, c.airDensity);
  s.dragPerDensity = DragFactor(s.otherArea, c, s.k, 1.0);
}

// The lowest stage drops, taking its unburnt propellant and its areas.
// (Out of line: it happens twice a flight at most, and the step's check
// stays small.)
[[gnu::noinline]] void DropStage(FlightState& s, Stack stack, const RunConstants& c) {
  StageRun& run = stack.runs[s.k];
  run.absent = true;
  // Unburnt propellant leaves with the stage.
  s.mass -= stack.plan[s.k].mass + run.propellantMass + run.casingMass;
  s.otherArea -= stack.plan[s.k].otherArea;
  --s.k;
  SetStackDrag(s, c);
  s.nextSeparationMs = NextSeparationMs(s);
}

// Separation: the lowest stage drops at the first step at or after its
// separation time, one stage per step; stage 1 never drops.
inline void Separate(FlightState& s, Stack stack, const RunConstants& c) {
  if (s.nextSeparationMs <= s.tMs) DropStage(s, stack, c);
}

// The drag factor of the step for the air at the rocket's height and the
// opened device. Until the device opens in constant air it stays as the
// flight without recovery has it. The air is that of the height one step
// earlier: in 5 ms the density changes by less than 1e-4, and the lookup
// stays out of the chain from one step's velocity to the next, which sets
// the pace of the flight. (Inline for the same reason as Integrate.)
inline void UpdateDrag(FlightState& s, const RunConstants& c) {
  DeviceState& d = s.device;
  if (d.fitted && !d.deployed && Deploys(d, s.tMs, s.grounded, s.velocity)) {
    d.deployed = true;
    d.deployMs = s.tMs;
    d.deployStep = s.n;
  }
  if (s.air == nullptr && !d.deployed) return;
  double rho = c.airDensity;
  if (s.air != nullptr) {
    rho = s.air->At(s.airHeight);
    s.airHeight = s.height;
  }
  s.dragFactor =
      rho * (d.deployed ? s.dragPerDensity + OpenShare(d, s.tMs) * d.perDensity : s.dragPerDensity);
}

// Whether a pass that flies only as far as asked ends before this step.
template <bool kPowered>
bool EndsEarly(FlightState& s, const RunConstants& c) {
  using End = Simulation::FlightEnd;
  // Without thrust a falling rocket never climbs again: its apogee is behind it.
  if (s.end == End::Ascent) return !kPowered && !s.grounded && s.velocity <= 0.0 && s.tMs > s.ascentEndMs;
  if (s.end == End::SteadyDescent && !kPowered &&
      SinksSteadily(s.device, s.tMs, s.velocity, s.mass, c.gravity, s.dragFactor)) {
    s.steady = true;
    return true;
  }
  return false;
}

// Propellant and mass while the schedule supplies thrust: burns the step's
// scheduled propellant from the lowest attached stage and returns the
// step's thrust as it is stored.
double BurnPropellant(FlightState& s, Stack stack, FlightSample& sample) {
  StageRun& run = stack.runs[s.k];
  // A stage cannot burn more than it still carries, and what burns leaves
  // the rocket.
  const double burnt = std::min(sample.propellantUsed, run.propellantMass);
  run.propellantMass -= burnt;
  s.mass -= burnt;
  // The motors keep their direction in the rocket: once it falls, they
  // push it downwards.
  if (!s.rising) sample.thrust = -sample.thrust;
  return sample.thrust;
}

// Past the schedule nothing burns and nothing pushes.
double Coast(FlightSample& sample) {
  sample.propellantUsed = 0.0;
  return sample.thrust = 0.0;
}

// Forces and integration for the step's thrust; advances the velocity.
// (Inline: each of the four step loops wants it inlined, which GCC does not
// do on its own for that many callers.)
inline StepOutcome Integrate(FlightState& s, double thrust, const RunConstants& c) {
  StepOutcome out;
  // Drag from the velocity before the step, weight from the mass after
  // this step's propellant, friction as the previous step left it.
  const double drag = Drag(s.dragFactor, s.velocity);
  out.force = Finite(NetForce(thrust, drag, Weight(s.mass, c.gravity), s.railFriction));
  out.accel = Finite(Acceleration(out.force, s.mass));
  // Semi-implicit Euler: the new velocity moves the height.
  s.velocity = Finite(NextVelocity(s.velocity, out.accel, c.timeStep));
  out.height = Finite(NextHeight(s.height, s.velocity, c.timeStep));
  return out;
}

// On the pad the rocket neither sinks nor falls back until it has lifted
// off, and the rail's friction acts until a step ends above the rail. Once
// both are over these tests change nothing, and the flight leaves them out.
void HoldOnPadAndRail(FlightState& s, StepOutcome& out, const RunConstants& c) {
  if (s.grounded) {
    if (out.height < 0.0) out.height = 0.0;
    if (s.velocity < 0.0) s.velocity = 0.0;
    if (out.accel < 0.0) out.accel = 0.0;
    if (out.height > 0.0) s.grounded = false;
  }
  // (A landing step, which comes later, ends the flight whatever this does.)
  const bool aboveRail = out.height > c.railLength;
  if (aboveRail) s.railFriction = 0.0;
  s.onRail = s.grounded || !aboveRail;
}

// Returns false for the landing step, which is not recorded; otherwise
// moves the rocket to the step's height. Only thrust reads `rising`.
template <bool kPowered>
bool MoveTo(FlightState& s, const StepOutcome& out) {
  if (out.height < 0.0) {
    s.landed = true;
    return false;
  }
  if (kPowered && out.height < s.height) s.rising = false;
  s.height = out.height;
  return true;
}

// Maxima: replaced only when strictly exceeded, so the first step to reach
// a value keeps its time, and values that never become positive stay 0.
void UpdateMaxima(FlightMaxima& m, const FlightState& s, const StepOutcome& out) {
  if (out.accel > m.accel) m.accel = out.accel;
  if (s.velocity > m.velocity) {
    m.velocity = s.velocity;
    m.velocityStep = s.n;
  }
  if (s.height > m.height) {
    m.height = s.height;
    m.heightStep = s.n;
  }
  if (out.force > m.force) m.force = out.force;
}

void StoreMaxima(FlightResults& r, const FlightMaxima& m, std::span<const FlightSample> samples) {
  const auto timeOf = [samples](std::size_t step) { return step == 0 ? 0.0 : samples[step].time; };
  r.maxAccel = m.accel;
  r.maxVelocity = m.velocity;
  r.maxVelocityTime = timeOf(m.velocityStep);
  r.maxHeight = m.height;
  r.maxHeightTime = timeOf(m.heightStep);
  r.maxForce = m.force;
}

// Record: the flight's values join the schedule's in the step's sample.
void Record(FlightSample& sample, const FlightState& s, const StepOutcome& out) {
  sample.time = s.t;
  sample.force = out.force;
  sample.accel = out.accel;
  sample.velocity = s.velocity;
  sample.height = s.height;
}

// One step of the flight: powered (thrust and propellant from the
// schedule) or coasting, on the pad or rail or free; false when it is the
// landing step.
template <bool kPowered, bool kOnRail>
bool FlightStep(FlightState& s, Stack stack, const RunConstants& c, FlightSample& sample,
                FlightMaxima& maxima) {
  Separate(s, stack, c);
  if (s.varyingDrag) {
    UpdateDrag(s, c);
    if (EndsEarly<kPowered>(s, c)) return false;
  }
  const double thrust = kPowered ? BurnPropellant(s, stack, sample) : Coast(sample);
  StepOutcome out = Integrate(s, thrust, c);
  if (kOnRail) HoldOnPadAndRail(s, out, c);
  if (!MoveTo<kPowered>(s, out)) return false;
  UpdateMaxima(maxima, s, out);
  Record(sample, s, out);
  return true;
}

// Flies the steps from s.n up to, not including, step `until`, and with
// kOnRail only while the rocket is on the pad or the rail. False once the
// flight has ended: the landing step, or the calculation period passed
// (with recovery, once it has passed and the rocket is on the ground).
template <bool kPowered, bool kOnRail>
bool FlyWhile(FlightState& s, Stack stack, const RunConstants& c, FlightSample* samples, FlightMaxima& maxima,
              std::size_t until) {
  while (s.n < until && (!kOnRail || s.onRail)) {
    if (!FlightStep<kPowered, kOnRail>(s, stack, c, samples[s.n], maxima)) return false;
    Advance(s.t, s.tMs);
    ++s.n;
    if (!(s.t <= c.calcPeriod) && !(s.device.fitted && !s.grounded)) return false;
  }
  return true;
}

// The steps before `until`: those on the pad and rail, then the free ones.
template <bool kPowered>
bool FlySteps(FlightState& s, Stack stack, const RunConstants& c, FlightSample* samples, FlightMaxima& maxima,
              std::size_t until) {
  return FlyWhile<kPowered, true>(s, stack, c, samples, maxima, until) &&
         FlyWhile<kPowered, false>(s, stack, c, samples, maxima, until);
}

// The lowest present stage (0 = stage 1), kStageCount when there is none.
std::size_t LowestPresentStage(const FlightResults& r) {
  for (std::size_t k = kStageCount; k-- > 0;)
    if (!r.stages[k].absent) return k;
  return kStageCount;
}

// The state at lift-off of the stack the prepared results describe.
FlightState LiftOffState(const FlightResults& r, const RunConstants& c, std::size_t k) {
  FlightState s;
  s.k = k;
  s.mass = r.endMass;
  s.otherArea = r.endArea;
  SetStackDrag(s, c);
  s.railFriction = c.railFriction;
  s.separationMs = SeparationsMs(r);
  s.nextSeparationMs = NextSeparationMs(s);
  s.device = SetUpDevice(c.recovery, r.burnoutTime);
  return s;
}

// What the pass leaves besides maxima and samples.
void StoreEnd(FlightResults& r, const FlightState& s, const RunConstants& c) {
  r.endMass = s.mass;
  r.endArea = s.otherArea;
  r.flightEndTime = s.t;
  r.deployed = s.device.deployed;
  if (s.device.deployed) {
    r.deploymentStep = s.device.deployStep;
    r.deploymentTime = static_cast<double>(s.device.deployMs) / kMsPerSecond;
  }
  r.landed = s.landed;
  if (s.landed) r.landingVelocity = s.velocity;
  if (s.steady) {
    const SteadyLanding landing =
        LandSteadily(s.device, s.dragPerDensity, s.height, s.mass, c.gravity, s.air, c.airDensity);
    r.steadyFrom = s.t;
    r.flightEndTime = s.t + landing.rest;
    r.landed = true;
    r.landingVelocity = landing.landingVelocity;
  }
}

}  // namespace

Simulation::Simulation() : samples_(kSampleTableSize) {}

void Simulation::Run(const FlightPlan& plan) {
  plan_ = plan;
  results_.noFlight = false;
  Prepare();
  BuildThrustSchedule();
  if (!results_.noFlight) {
    IntegrateFlight();
    // Also when the flight pass found no stage: its one zero sample is shown.
    results_.resultsValid = true;
  }
  FindLastSample();
}

void Simulation::Prepare() {
  results_.resultsValid = false;
  constants_.timeStep = kTimeStep;
  constants_.cwValue = plan_.cw;
  // The table is not cleared: the schedule writes every field of its
  // samples, the flight pass every field of the steps after the schedule,
  // and nothing beyond the end marker is read.
  constants_.calcPeriod = plan_.constants.calcPeriod;
  constants_.gravity = plan_.constants.gravity;
  constants_.airDensity = plan_.constants.airDensity;
  constants_.railLength = plan_.constants.railLength;
  constants_.railFriction = plan_.constants.railFriction;
  constants_.site = plan_.site;
  constants_.recovery = plan_.recovery;
  if (constants_.site.standardAtmosphere) density_.Build(constants_.site);
  FlightResults& r = results_;
  r.peakThrust = r.maxAccel = r.maxVelocity = r.maxHeight = r.maxForce = 0.0;
  r.maxVelocityTime = r.maxHeightTime = 0.0;
  r.deployed = r.landed = false;
  r.deploymentStep = 0;
  r.deploymentTime = r.landingVelocity = r.steadyFrom = 0.0;
}

void Simulation::BuildThrustSchedule() {
  PrepareStages(plan_, results_, constants_.stackDiameter);
  const ThrustSchedule schedule = WriteThrustSchedule(plan_, results_, constants_.timeStep, samples_);
  if (schedule.gap) results_.noFlight = true;
  results_.peakThrust = schedule.peakThrust;
  MarkEnd(schedule.end);
}

void Simulation::IntegrateFlight() {
  const std::size_t lowest = LowestPresentStage(results_);
  if (lowest == kStageCount) {
    results_.noFlight = true;
    return;
  }
  // A copy the sample stores cannot touch, so it stays in registers.
  const RunConstants c = constants_;
  FlightState s = LiftOffState(results_, c, lowest);
  if (c.site.standardAtmosphere) s.air = &density_;
  s.end = flightEnd_;
  // One step more than asked: a time read takes the sample of its grid
  // time, which may lie up to half a step later.
  s.ascentEndMs =
      std::min(Ms(results_.burnoutTime + ascentSpan_), std::numeric_limits<std::int64_t>::max() - kStepMs) +
      kStepMs;
  s.varyingDrag = s.air != nullptr || s.device.fitted || s.end == FlightEnd::Ascent;
  const Stack stack{plan_.stages, results_.stages};
  FlightMaxima maxima;
  // The schedule supplies thrust up to its end marker, the one written
  // last, and a pass makes at most kMaxSteps steps.
  const std::size_t stepEnd = static_cast<std::size_t>(kMaxSteps) + 1;
  const std::size_t scheduleEnd = std::min(seriesEnd_, stepEnd);
  if (FlySteps<true>(s, stack, c, samples_.data(), maxima, scheduleEnd))
    FlySteps<false>(s, stack, c, samples_.data(), maxima, stepEnd);
  StoreMaxima(results_, maxima, samples_);
  StoreEnd(results_, s, c);
  MarkEnd(s.n);
}

void Simulation::MarkEnd(std::size_t index) {
  samples_[index].time = kEndMarkerTime;
  seriesEnd_ = index;
}

void Simulation::FindLastSample() {
  // Every time a pass writes lies below kSeriesEndTime (the step bound ends
  // a pass by 350 s), so the series ends at the marker written last.
  lastSample_ = seriesEnd_ - 1;
}

std::optional<std::size_t> Simulation::SampleIndexAt(double t) const {
  if (!std::isfinite(t)) return std::nullopt;
  const std::int64_t index = SampleBefore(t);
  if (index < 0 || static_cast<std::size_t>(index) > lastSample_) return std::nullopt;
  return static_cast<std::size_t>(index);
}

}  // namespace komet
