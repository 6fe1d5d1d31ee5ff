// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/thrust_schedule.h"

#include <algorithm>

#include "common/numbers.h"
#include "sim/forces.h"
#include "sim/motor_thrust.h"
#include "sim/time_grid.h"

namespace komet {
namespace {

// Adds the motors of the used slots to the stage's casing and propellant mass.
void AddMotorMasses(const StagePlan& stage, StageRun& run) {
  for (std::size_t j = 0; j < kSlotCount; ++j) {
    if (stage.counts[j] == 0) continue;
    const MotorRecord& motor = *stage.motors[j];
    const double count = stage.counts[j];
    run.casingMass += (motor.totalMass - motor.propellantMass) * count;
    run.propellantMass += count * motor.propellantMass;
  }
}

// The main stage flies until its longest-burning used motor is out.
double LongestBurn(const StagePlan& stage) {
  double burn = stage.motors[0]->burnTime;
  for (std::size_t j = 0; j < kSlotCount; ++j)
    if (stage.counts[j] > 0 && stage.motors[j]->burnTime > burn) burn = stage.motors[j]->burnTime;
  return burn;
}

// Stack pass, top down: the widest diameter of the stack that remains while
// stage i is the lowest one attached, and the other areas of the stack.
void PrepareStack(const FlightPlan& plan, FlightResults& r, std::array<double, kStageCount>& stackDiameter) {
  for (std::size_t i = 0; i < kStageCount; ++i) {
    stackDiameter[i] = 0.0;
    const StagePlan& stage = plan.stages[i];
    if (r.stages[i].absent) break;
    stackDiameter[i] = stage.diameter;
    r.endArea += stage.otherArea;
    if (i > 0 && stackDiameter[i] < stackDiameter[i - 1]) stackDiameter[i] = stackDiameter[i - 1];
  }
}

// When each stage fires, on the millisecond grid; absent stages hold 0 to 0.
struct FiringWindows {
  std::array<std::int64_t, kStageCount> ignitionMs{};
  std::array<std::int64_t, kStageCount> separationMs{};
};

FiringWindows FiringWindowsOf(const FlightResults& r) {
  FiringWindows w;
  for (std::size_t i = 0; i < kStageCount; ++i) {
    w.ignitionMs[i] = Ms(r.stages[i].ignitionTime);
    w.separationMs[i] = Ms(r.stages[i].separationTime);
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

StageTrack TrackOf(const StagePlan& stage, double ignitionTime, double timeStep) {
  StageTrack track;
  for (std::size_t j = 0; j < kSlotCount; ++j)
    if (stage.counts[j] != 0)
      track.slots[track.used++] = SlotTrack(*stage.motors[j], stage.counts[j], ignitionTime, timeStep);
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

}  // namespace

void PrepareStages(const FlightPlan& plan, FlightResults& r, std::array<double, kStageCount>& stackDiameter) {
  for (std::size_t i = 0; i < kStageCount; ++i) r.stages[i] = StageRun{plan.stages[i].counts[0] == 0};
  r.endMass = 0.0;
  r.endArea = 0.0;
  r.burnoutTime = 0.0;
  PrepareStack(plan, r, stackDiameter);
  // Timing and mass pass, bottom up. A lower stage's timing follows its
  // slot-1 motor alone; the main stage burns until its longest motor is out.
  double time = 0.0;
  for (std::size_t i = kStageCount; i-- > 0;) {
    if (i + 1 < kStageCount && !r.stages[i + 1].absent) time += plan.stages[i + 1].ignitionDelay;
    const StagePlan& stage = plan.stages[i];
    StageRun& run = r.stages[i];
    if (run.absent) continue;
    AddMotorMasses(stage, run);
    r.endMass += stage.mass + run.casingMass + run.propellantMass;
    run.ignitionTime = time;
    double burn = stage.motors[0]->burnTime;
    if (i == 0) {
      // Shown and printed as a number: a NaN or infinite burn or delay from a file must not reach it.
      r.burnoutTime = Finite(time + burn);
      burn = LongestBurn(stage);
    }
    time += burn;
    run.separationTime = time + stage.ignitionDelay;
  }
  r.poweredEnd = time;
}

std::array<std::int64_t, kStageCount> SeparationsMs(const FlightResults& r) {
  return FiringWindowsOf(r).separationMs;
}

ThrustSchedule WriteThrustSchedule(const FlightPlan& plan, const FlightResults& r, double timeStep,
                                   std::span<FlightSample> samples) {
  const FiringWindows windows = FiringWindowsOf(r);
  std::array<StageTrack, kStageCount> tracks;
  for (std::size_t k = 0; k < kStageCount; ++k)
    tracks[k] = TrackOf(plan.stages[k], r.stages[k].ignitionTime, timeStep);
  // Locals: the sample stores cannot touch them.
  const double poweredEnd = r.poweredEnd;
  ThrustSchedule out;
  double peakThrust = 0.0;
  double t = 0.0;
  std::int64_t tMs = 0;
  std::size_t n = 1;
  bool more = true;
  while (more) {
    const std::size_t k = FiringStage(windows, tMs);
    if (k == kStageCount) {
      // A gap between the stages' windows (negative delays): no flight.
      out.gap = true;
      break;
    }
    // The steps while stage k fires, without looking for the stage again.
    const std::int64_t lastMs = FiringUntil(windows, k, tMs);
    do {
      const double thrust = WriteScheduleSample(samples[n], tracks[k], t);
      if (peakThrust < thrust) peakThrust = thrust;
      Advance(t, tMs);
      ++n;
      more = t <= poweredEnd && n <= static_cast<std::size_t>(kMaxSteps);
    } while (more && tMs <= lastMs);
  }
  out.peakThrust = peakThrust;
  out.end = n;
  return out;
}

}  // namespace komet
