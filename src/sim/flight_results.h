// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "common/numbers.h"
#include "model/recovery.h"
#include "sim/sim_constants.h"

namespace komet {

// One 5 ms step of the flight. SI units.
struct FlightSample {
  double time = 0.0;            // s; kEndMarkerTime marks the end of the series
  double thrust = 0.0;          // N; negative once the rocket descends, 0 after the schedule
  double height = 0.0;          // m, at the end of the step
  double force = 0.0;           // N: thrust - drag - weight - rail friction
  double accel = 0.0;           // m/s²
  double velocity = 0.0;        // m/s, at the end of the step
  double propellantUsed = 0.0;  // kg burnt in the step
};

inline constexpr double kTimeStep = 0.005;              // s
inline constexpr double kSamplesPerSecond = 200.0;      // 1 / kTimeStep
inline constexpr std::size_t kSampleTableSize = 70001;  // indices 0..70000
inline constexpr int kMaxSteps = 69999;                 // per pass
// Each pass ends the series with a sample whose time is this marker instead
// of writing a length: the flight pass reads the schedule up to the marker
// the schedule pass left, and the table is never cleared between runs, so
// the marker is what separates this run's samples from older ones.
inline constexpr double kEndMarkerTime = 100000.0;
// Readers stop at the first time at or above this. It lies between the
// longest flight a pass can make (kMaxSteps steps, 350 s) and the marker,
// so no real sample is taken for the end and the marker always is.
inline constexpr double kSeriesEndTime = 999.0;
inline constexpr double kPi = 3.14159;     // the program's value, not full precision
inline constexpr double kKmhPerMps = 3.6;  // 3600 s per hour over 1000 m per km

// Sample n holds the time (n - 1) x 5 ms, so SampleAt(t) is the sample that
// holds t. The plot, the read-out, the markers and the report read
// SampleBefore(t), one step earlier: the values the program has always shown
// and printed come from there, and they must stay comparable. Both round
// half to even on the 5 ms grid and clamp like RoundHalfEven.
inline std::int64_t SampleBefore(double t) {
  return RoundHalfEven(t * kSamplesPerSecond);
}
inline std::int64_t SampleAt(double t) {
  const std::int64_t n = SampleBefore(t);
  return n == std::numeric_limits<std::int64_t>::max() ? n : n + 1;
}

// What one stage came to in a run. The rocket file keeps these as its
// working values (Document::StoreWorkingValues).
struct StageRun {
  bool absent = true;           // did not fly, or was dropped by the end
  double propellantMass = 0.0;  // kg left at the end
  double casingMass = 0.0;      // kg of its motors without propellant
  double ignitionTime = 0.0;    // s
  double separationTime = 0.0;  // s; the stage drops at the first step from here
};

// Scalar results of a run; they stay until the next run.
struct FlightResults {
  bool resultsValid = false;     // a flight was computed and may be shown
  bool noFlight = false;         // the flight pass computed nothing
  double peakThrust = 0.0;       // N
  double maxAccel = 0.0;         // m/s²
  double maxVelocity = 0.0;      // m/s
  double maxVelocityTime = 0.0;  // s, first step that reached it
  double maxHeight = 0.0;        // m, apogee
  double maxHeightTime = 0.0;    // s
  double maxForce = 0.0;         // N
  double flightEndTime = 0.0;    // s; kept from the previous run when no flight was computed
  double burnoutTime = 0.0;      // s, "Brennschluss": stage 1's slot-1 motor

  // With recovery the flight goes on until landing; all zero without it.
  bool deployed = false;           // the device opened within the flight
  std::size_t deploymentStep = 0;  // index of the first sample with its drag
  double deploymentTime = 0.0;     // s
  bool landed = false;             // the flight ended on the ground, not at the last step
  double landingVelocity = 0.0;    // m/s at touch-down (negative)
  double steadyFrom = 0.0;         // s; > 0: the descent from here was computed, not flown

  // The rocket as the run left it.
  std::array<StageRun, kStageCount> stages{};  // stages[0] is stage 1
  double poweredEnd = 0.0;                     // s, when the last motor of the schedule is out
  double endMass = 0.0;                        // kg, at the end (the landing mass)
  double endArea = 0.0;                        // m², other areas of the stages still attached

  // "empfohlene Verzögerung": from burnout to apogee, s.
  double recommendedDelay() const { return maxHeightTime - burnoutTime; }
};

// The constants a run used, copied at its start.
struct RunConstants {
  double timeStep = kTimeStep;  // s
  double gravity = 0.0;         // m/s²
  double calcPeriod = 0.0;      // s
  double airDensity = 0.0;      // kg/m³
  double railLength = 0.0;      // m
  double railFriction = 0.0;    // N
  double cwValue = 0.0;
  std::array<double, 3> stackDiameter{};  // m, widest of stages 1..i
  LaunchSite site;                        // the air (when standard) and the wind
  std::optional<Recovery> recovery;       // as the rocket's block held it
};

}  // namespace komet
