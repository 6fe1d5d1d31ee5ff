// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/simulation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/numbers.h"
#include "sim/atmosphere.h"
#include "sim/forces.h"
#include "sim/motor_thrust.h"

namespace komet {
namespace {

constexpr double kMsPerSecond = 1000.0;  // the time grid counts whole milliseconds

// An event time on the millisecond grid, so that a time computed as a sum
// (0.1 + 0.2) meets the grid time it stands for.
std::int64_t Ms(double seconds) {
  return RoundHalfEven(seconds * kMsPerSecond);
}

// One step on the time grid, t := Round((t + timeStep) × 1000) / 1000. A
// grid time is the double nearest a whole number of milliseconds, so within
// the step bound the sum rounds to exactly tMs + 5: counting milliseconds
// gives the same times without a rounding per step.
constexpr std::int64_t kStepMs = 5;

void Advance(double& t, std::int64_t& tMs) {
  tMs += kStepMs;
  t = static_cast<double>(tMs) / kMsPerSecond;
}

// The drag factor K = ρ × cw × A / 2 (kg/m) while stage k (0 = stage 1) is
// the lowest one attached: the widest cross-section of the stack plus the
// other areas of the attached stages.
double DragFactor(const RocketRecord& rocket, const RunConstants& c, std::size_t k, double airDensity) {
  const double radius = c.stackDiameter[k] / 2.0;
  const double area = radius * radius * kPi + rocket.runArea;
  return airDensity * c.cwValue * area / 2.0;
}

double DragFactor(const RocketRecord& rocket, const RunConstants& c, std::size_t k) {
  return DragFactor(rocket, c, k, c.airDensity);
}

// Adds the motors of the used slots to the stage's casing and propellant mass.
void AddMotorMasses(StageRecord& stage) {
  for (std::size_t j = 0; j < kSlotCount; ++j) {
    if (stage.counts[j] == 0) continue;
    const MotorRecord& motor = stage.motors[j];
    const double count = stage.counts[j];
    stage.runCasingMass += (motor.totalMass - motor.propellantMass) * count;
    stage.runPropellantMass += count * motor.propellantMass;
  }
}

// The main stage flies until its longest-burning used motor is out.
double LongestBurn(const StageRecord& stage) {
  double burn = stage.motors[0].burnTime;
  for (std::size_t j = 0; j < kSlotCount; ++j)
    if (stage.counts[j] > 0 && stage.motors[j].burnTime > burn) burn = stage.motors[j].burnTime;
  return burn;
}

// When each stage fires, on the millisecond grid; absent stages hold 0 to 0.
struct FiringWindows {
  std::array<std::int64_t, kStageCount> ignitionMs{};
  std::array<std::int64_t, kStageCount> separationMs{};
};

FiringWindows FiringWindowsOf(const RocketRecord& rocket) {
  FiringWindows w;
  for (std::size_t i = 0; i < kStageCount; ++i) {
    w.ignitionMs[i] = Ms(rocket.stages[i].runIgnitionTime);
    w.separationMs[i] = Ms(rocket.stages[i].runSeparationTime);
  }
  return w;
}

// The firing stage at a grid time: the first whose window holds it, so at a
// hand-over the upper stage wins. Returns kStageCount when there is none.
std::size_t FiringStage(const FiringWindows& w, std::int64_t tMs) {
  for (std::size_t k = 0; k < kStageCount; ++k)
    if (w.ignitionMs[k] <= tMs && tMs <= w.separationMs[k]) return k;
  return kStageCount;
}

// The last grid time up to which stage k, firing at tMs, stays the firing
// stage: until its window closes or the window of an upper stage opens (an
// upper window that opened before tMs has closed again, or k would not be
// firing).
std::int64_t FiringUntil(const FiringWindows& w, std::size_t k, std::int64_t tMs) {
  std::int64_t last = w.separationMs[k];
  for (std::size_t j = 0; j < k; ++j)
    if (w.ignitionMs[j] > tMs) last = std::min(last, w.ignitionMs[j] - 1);
  return last;
}

// The used slots of one stage along the schedule pass, in slot order.
struct StageTrack {
  std::array<SlotTrack, kSlotCount> slots;
  std::size_t used = 0;
};

StageTrack TrackOf(const StageRecord& stage, double timeStep) {
  StageTrack track;
  for (std::size_t j = 0; j < kSlotCount; ++j)
    if (stage.counts[j] != 0) track.slots[track.used++] = SlotTrack(stage, j, timeStep);
  return track;
}

// Writes the schedule's entry for a grid time: thrust and propellant use of
// the firing stage's used slots; the flight pass fills the rest. Returns
// the thrust.
double WriteScheduleSample(FlightSample& sample, StageTrack& track, double t) {
  double thrust = 0.0;
  double propellant = 0.0;
  for (std::size_t j = 0; j < track.used; ++j) {
    thrust += track.slots[j].Thrust(t);
    propellant += track.slots[j].PropellantUse(t);
  }
  sample = FlightSample{};
  sample.time = t;
  sample.thrust = Finite(thrust);
  sample.propellantUsed = Finite(propellant);
  return sample.thrust;
}

// The local state of the flight pass, SI units. The rocket's mass is kept
// here while the pass runs rather than in the rocket record, where every
// sample written would force it back to memory; the pass writes it back.
struct FlightState {
  double t = 0.0;             // s
  std::int64_t tMs = 0;       // t on the millisecond grid
  std::size_t n = 1;          // sample index of the step
  std::size_t k = 0;          // lowest attached stage, 0 = stage 1
  double height = 0.0;        // m, at the end of the previous step
  double velocity = 0.0;      // m/s
  double mass = 0.0;          // kg, the rocket's runMass
  double dragFactor = 0.0;    // kg/m
  double railFriction = 0.0;  // N; acts until a step ends above the rail
  bool grounded = true;       // not yet lifted off
  bool onRail = true;         // grounded, or no step has yet ended above the rail
  bool rising = true;         // no step has yet ended lower than it began
  std::array<std::int64_t, kStageCount> separationMs{};
  std::int64_t nextSeparationMs = 0;  // when stage k drops; never for stage 1

  // Recovery and the standard atmosphere change the drag from step to
  // step; without either the flight leaves that out.
  bool varyingDrag = false;
  const DensityTable* air = nullptr;  // the standard atmosphere; none: constant density
  double airHeight = 0.0;             // m, the height whose air the next step flies in
  bool hasRecovery = false;           // the flight goes on past the calculation period to landing
  bool deployAtApogee = false;
  bool deployed = false;
  std::int64_t deployMs = std::numeric_limits<std::int64_t>::max();  // by delay; once open: when it opened
  std::size_t deployStep = 0;
  double dragPerDensity = 0.0;      // m², the rocket's cw × A / 2 (K per kg/m³ of air)
  double recoveryPerDensity = 0.0;  // m², the opened device's cw × A / 2
  double inflationMs = 0.0;         // ms from opening to full drag
  bool landed = false;
  Simulation::FlightEnd end = Simulation::FlightEnd::Full;
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

// Separation: the lowest stage drops at the first step at or after its
// separation time, one stage per step; stage 1 never drops.
void Separate(FlightState& s, RocketRecord& rocket, const RunConstants& c) {
  if (s.nextSeparationMs > s.tMs) return;
  StageRecord& stage = rocket.stages[s.k];
  stage.absent = 1;
  // Unburnt propellant leaves with the stage.
  s.mass -= stage.mass + stage.runPropellantMass + stage.runCasingMass;
  rocket.runArea -= stage.otherArea;
  --s.k;
  s.dragFactor = DragFactor(rocket, c, s.k);
  s.dragPerDensity = DragFactor(rocket, c, s.k, 1.0);
  s.nextSeparationMs = NextSeparationMs(s);
}

// The recovery opens at the first step at or after its time, or, at
// apogee, at the first step after the rocket stopped rising.
bool Deploys(const FlightState& s) {
  if (s.deployAtApogee) return !s.grounded && s.velocity <= 0.0;
  return s.tMs >= s.deployMs;
}

// The share of the device's drag while it inflates, 1 once open.
double OpenShare(const FlightState& s) {
  if (!(s.inflationMs > 0.0)) return 1.0;
  return std::min(1.0, static_cast<double>(s.tMs - s.deployMs + kStepMs) / s.inflationMs);
}

// The drag factor of the step for the air at the rocket's height and the
// opened device. Until the device opens in constant air it stays as the
// flight without recovery has it. The air is that of the height one step
// earlier: in 5 ms the density changes by less than 1e-4, and the lookup
// stays out of the chain from one step's velocity to the next, which sets
// the pace of the flight. (Inline for the same reason as Integrate.)
inline void UpdateDrag(FlightState& s, const RunConstants& c) {
  if (s.hasRecovery && !s.deployed && Deploys(s)) {
    s.deployed = true;
    s.deployMs = s.tMs;
    s.deployStep = s.n;
  }
  if (s.air == nullptr && !s.deployed) return;
  double rho = c.airDensity;
  if (s.air != nullptr) {
    rho = s.air->At(s.airHeight);
    s.airHeight = s.height;
  }
  s.dragFactor =
      rho * (s.deployed ? s.dragPerDensity + OpenShare(s) * s.recoveryPerDensity : s.dragPerDensity);
}

// Sinking at the terminal speed of the drag factor, within 1 %, with the
// device fully open: from here the descent is known without flying it.
// (What is left of the difference dies away within a second or two and
// moves the landing by hundredths of a second.)
bool SinksSteadily(const FlightState& s, const RunConstants& c) {
  if (!s.deployed || !(s.velocity < 0.0) || OpenShare(s) < 1.0 || !(s.dragFactor > 0.0)) return false;
  const double terminal = std::sqrt(s.mass * c.gravity / s.dragFactor);
  return std::fabs(-s.velocity - terminal) <= 0.01 * terminal;
}

// Whether a pass that flies only as far as asked ends before this step.
template <bool kPowered>
bool EndsEarly(FlightState& s, const RunConstants& c) {
  using End = Simulation::FlightEnd;
  if (s.end == End::Apogee) return !s.grounded && s.velocity <= 0.0;
  if (s.end == End::SteadyDescent && !kPowered && SinksSteadily(s, c)) {
    s.steady = true;
    return true;
  }
  return false;
}

// Propellant and mass while the schedule supplies thrust: burns the step's
// scheduled propellant from the lowest attached stage and returns the
// step's thrust as it is stored.
double BurnPropellant(FlightState& s, RocketRecord& rocket, FlightSample& sample) {
  StageRecord& stage = rocket.stages[s.k];
  // A stage cannot burn more than it still carries, and what burns leaves
  // the rocket.
  const double burnt = std::min(sample.propellantUsed, stage.runPropellantMass);
  stage.runPropellantMass -= burnt;
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
bool FlightStep(FlightState& s, RocketRecord& rocket, const RunConstants& c, FlightSample& sample,
                FlightMaxima& maxima) {
  Separate(s, rocket, c);
  if (s.varyingDrag) {
    UpdateDrag(s, c);
    if (EndsEarly<kPowered>(s, c)) return false;
  }
  const double thrust = kPowered ? BurnPropellant(s, rocket, sample) : Coast(sample);
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
bool FlyWhile(FlightState& s, RocketRecord& rocket, const RunConstants& c, FlightSample* samples,
              FlightMaxima& maxima, std::size_t until) {
  while (s.n < until && (!kOnRail || s.onRail)) {
    if (!FlightStep<kPowered, kOnRail>(s, rocket, c, samples[s.n], maxima)) return false;
    Advance(s.t, s.tMs);
    ++s.n;
    if (!(s.t <= c.calcPeriod) && !(s.hasRecovery && !s.grounded)) return false;
  }
  return true;
}

// The steps before `until`: those on the pad and rail, then the free ones.
template <bool kPowered>
bool FlySteps(FlightState& s, RocketRecord& rocket, const RunConstants& c, FlightSample* samples,
              FlightMaxima& maxima, std::size_t until) {
  return FlyWhile<kPowered, true>(s, rocket, c, samples, maxima, until) &&
         FlyWhile<kPowered, false>(s, rocket, c, samples, maxima, until);
}

// The rest of a steady descent: its time and the speed at touch-down.
struct SteadyLanding {
  double rest = 0.0;             // s
  double landingVelocity = 0.0;  // m/s, negative
};

SteadyLanding LandSteadily(const FlightState& s, const RunConstants& c) {
  // Steady means fully open: the drag factor per density stays.
  const double perDensity = s.dragPerDensity + s.recoveryPerDensity;
  auto terminal = [&](double h) {
    const double rho = s.air != nullptr ? s.air->At(h) : c.airDensity;
    return std::sqrt(s.mass * c.gravity / (rho * perDensity));
  };
  double rest = 0.0;
  if (s.air == nullptr) {
    rest = s.height / terminal(0.0);
  } else {
    // The time through each 10 m of air at its own terminal speed.
    constexpr double kSlice = 10.0;
    for (double top = s.height; top > 0.0; top -= kSlice) {
      const double bottom = std::max(0.0, top - kSlice);
      rest += (top - bottom) / terminal((top + bottom) / 2.0);
    }
  }
  return {rest, -terminal(0.0)};
}

// The lowest present stage (0 = stage 1), kStageCount when there is none.
std::size_t LowestPresentStage(const RocketRecord& rocket) {
  for (std::size_t k = kStageCount; k-- > 0;)
    if (!rocket.stages[k].absent) return k;
  return kStageCount;
}

}  // namespace

Simulation::Simulation() : samples_(kSampleTableSize) {}

void Simulation::RunSimulation(RocketRecord& rocket, const SimConstants& constants) {
  results_.noFlight = false;
  RaketeVorbereiten(rocket, constants);
  BuildThrustSchedule(rocket);
  if (!results_.noFlight) {
    IntegrateFlight(rocket);
    // Also when the flight pass found no stage: its one zero sample is shown.
    results_.resultsValid = true;
  }
  FindLastSample();
}

void Simulation::RaketeVorbereiten(RocketRecord& rocket, const SimConstants& constants) {
  results_.resultsValid = false;
  constants_.timeStep = kTimeStep;
  constants_.cwValue = rocket.cw;
  const ConstantValues values = constants.Values();
  constants_.calcPeriod = values.calcPeriod;
  // The table is not cleared: the schedule writes every field of its
  // samples, the flight pass every field of the steps after the schedule,
  // and nothing beyond the end marker is read.
  constants_.gravity = values.gravity;
  constants_.airDensity = values.airDensity;
  constants_.railLength = values.railLength;
  constants_.railFriction = values.railFriction;
  constants_.site = constants.Site();
  constants_.recovery = ReadRecovery(rocket);
  if (constants_.site.standardAtmosphere) density_.Build(constants_.site);
  for (StageRecord& stage : rocket.stages) {
    stage.absent = stage.counts[0] == 0 ? 1 : 0;
    stage.reserved8 = 0.0;
    stage.runPropellantMass = 0.0;
    stage.runCasingMass = 0.0;
    stage.runIgnitionTime = 0.0;
    stage.runSeparationTime = 0.0;
  }
  rocket.runMass = 0.0;
  rocket.runArea = 0.0;
  FlightResults& r = results_;
  r.peakThrust = r.maxAccel = r.maxVelocity = r.maxHeight = r.maxForce = 0.0;
  r.maxVelocityTime = r.maxHeightTime = 0.0;
  r.deployed = r.landed = false;
  r.deploymentStep = 0;
  r.deploymentTime = r.landingVelocity = r.steadyFrom = 0.0;
}

void Simulation::PrepareStages(RocketRecord& rocket) {
  results_.burnoutTime = 0.0;
  // Stack pass, top down: the widest diameter of the stack that remains
  // while stage i is the lowest one attached.
  for (std::size_t i = 0; i < kStageCount; ++i) {
    constants_.stackDiameter[i] = 0.0;
    const StageRecord& stage = rocket.stages[i];
    if (stage.absent) break;
    constants_.stackDiameter[i] = stage.diameter;
    rocket.runArea += stage.otherArea;
    if (i > 0 && constants_.stackDiameter[i] < constants_.stackDiameter[i - 1])
      constants_.stackDiameter[i] = constants_.stackDiameter[i - 1];
  }
  // Timing and mass pass, bottom up. A lower stage's timing follows its
  // slot-1 motor alone; the main stage burns until its longest motor is out.
  double time = 0.0;
  for (std::size_t i = kStageCount; i-- > 0;) {
    if (i + 1 < kStageCount && !rocket.stages[i + 1].absent) time += rocket.stages[i + 1].ignitionDelay;
    StageRecord& stage = rocket.stages[i];
    if (stage.absent) continue;
    AddMotorMasses(stage);
    rocket.runMass += stage.mass + stage.runCasingMass + stage.runPropellantMass;
    stage.runIgnitionTime = time;
    double burn = stage.motors[0].burnTime;
    if (i == 0) {
      // Shown and printed as a number: a NaN or infinite burn or delay from a file must not reach it.
      results_.burnoutTime = Finite(time + burn);
      burn = LongestBurn(stage);
    }
    time += burn;
    stage.runSeparationTime = time + stage.ignitionDelay;
  }
  rocket.runPoweredEnd = time;
}

void Simulation::BuildThrustSchedule(RocketRecord& rocket) {
  PrepareStages(rocket);
  const FiringWindows windows = FiringWindowsOf(rocket);
  std::array<StageTrack, kStageCount> tracks;
  for (std::size_t k = 0; k < kStageCount; ++k) tracks[k] = TrackOf(rocket.stages[k], constants_.timeStep);
  // Locals: the sample stores cannot touch them.
  const double poweredEnd = rocket.runPoweredEnd;
  double peakThrust = 0.0;
  double t = 0.0;
  std::int64_t tMs = 0;
  std::size_t n = 1;
  bool more = true;
  while (more) {
    const std::size_t k = FiringStage(windows, tMs);
    if (k == kStageCount) {
      // A gap between the stages' windows (negative delays): no flight.
      results_.noFlight = true;
      break;
    }
    // The steps while stage k fires, without looking for the stage again.
    const std::int64_t lastMs = FiringUntil(windows, k, tMs);
    do {
      const double thrust = WriteScheduleSample(samples_[n], tracks[k], t);
      if (peakThrust < thrust) peakThrust = thrust;
      Advance(t, tMs);
      ++n;
      more = t <= poweredEnd && n <= static_cast<std::size_t>(kMaxSteps);
    } while (more && tMs <= lastMs);
  }
  results_.peakThrust = peakThrust;
  MarkEnd(n);
}

void Simulation::IntegrateFlight(RocketRecord& rocket) {
  FlightState s;
  s.k = LowestPresentStage(rocket);
  if (s.k == kStageCount) {
    results_.noFlight = true;
    return;
  }
  // A copy the sample stores cannot touch, so it stays in registers.
  const RunConstants c = constants_;
  s.mass = rocket.runMass;
  s.dragFactor = DragFactor(rocket, c, s.k);
  s.dragPerDensity = DragFactor(rocket, c, s.k, 1.0);
  s.railFriction = c.railFriction;
  s.separationMs = FiringWindowsOf(rocket).separationMs;
  s.nextSeparationMs = NextSeparationMs(s);
  if (c.site.standardAtmosphere) s.air = &density_;
  if (c.recovery) {
    const Recovery& r = *c.recovery;
    s.hasRecovery = true;
    s.deployAtApogee = r.deployment == Recovery::Deployment::Apogee;
    if (!s.deployAtApogee) s.deployMs = Ms(results_.burnoutTime + r.delay);
    s.recoveryPerDensity = r.DragArea() / 2.0;
    s.inflationMs = r.inflationTime * kMsPerSecond;
  }
  s.end = flightEnd_;
  s.varyingDrag = s.air != nullptr || s.hasRecovery || s.end == FlightEnd::Apogee;
  FlightMaxima maxima;
  // The schedule supplies thrust up to its end marker, the one written
  // last, and a pass makes at most kMaxSteps steps.
  const std::size_t stepEnd = static_cast<std::size_t>(kMaxSteps) + 1;
  const std::size_t scheduleEnd = std::min(seriesEnd_, stepEnd);
  if (FlySteps<true>(s, rocket, c, samples_.data(), maxima, scheduleEnd))
    FlySteps<false>(s, rocket, c, samples_.data(), maxima, stepEnd);
  rocket.runMass = s.mass;
  StoreMaxima(results_, maxima, samples_);
  results_.flightEndTime = s.t;
  results_.deployed = s.deployed;
  if (s.deployed) {
    results_.deploymentStep = s.deployStep;
    results_.deploymentTime = static_cast<double>(s.deployMs) / kMsPerSecond;
  }
  results_.landed = s.landed;
  if (s.landed) results_.landingVelocity = s.velocity;
  if (s.steady) {
    const SteadyLanding landing = LandSteadily(s, c);
    results_.steadyFrom = s.t;
    results_.flightEndTime = s.t + landing.rest;
    results_.landed = true;
    results_.landingVelocity = landing.landingVelocity;
  }
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
