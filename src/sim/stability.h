// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <span>

#include "model/rocket_shape.h"

namespace komet {

// Positions are in m from the nose tip, along the axis; the reference
// diameter of every coefficient is the nose's base diameter (the top
// stage's tube).

// A part's normal-force slope per radian (CNα) and where it acts.
struct LiftPart {
  double cnAlpha = 0.0;
  double x = 0.0;
};

// Where a stage's top lies.
double StageTop(const RocketShape& shape, int stage);

// Centre of pressure of the stack from the top stage down to `lowestStage`
// (0-based) by Barrowman's subsonic, small-angle method: nose, conical
// transitions (a step between stages counts as a transition of no length),
// fins with the body's interference; the tube itself carries no lift.
// cnAlpha is 0 when the shape has no stages.
LiftPart CentreOfPressure(const RocketShape& shape, int lowestStage);

// The parts' lift, one by one (for the drawing and the tests).
LiftPart NoseLift(const NoseCone& nose);
LiftPart TransitionLift(double foreDiameter, double aftDiameter, double length, double referenceDiameter);
LiftPart FinLift(const FinSet& fins, double bodyDiameter, double referenceDiameter);

// A mass and where its centre lies.
struct MassPoint {
  double mass = 0.0;  // kg
  double x = 0.0;
};
// The nose's surface (m², in `mass`) and that surface's centre from its tip.
MassPoint NoseShell(const NoseCone& nose, double diameter);
// The common centre of gravity; 0 for no mass.
double CentreOfGravity(std::span<const MassPoint> masses);

// The empty stage's balance point from its top: the measured one, else an
// estimate that spreads its mass over nose, tube, transition and fins in
// proportion to their surface (thin walls of one material).
double EmptyStageCg(const StageShape& stage);

// The middle of a motor of `motorLength` that sits in the stage's mount,
// standing out by the mount's overhang behind the stage's end.
double MotorCentre(const RocketShape& shape, int stage, double motorLength);

// Stability margin in calibers of the reference diameter: positive when the
// centre of gravity lies ahead of the centre of pressure.
double StabilityMargin(const RocketShape& shape, double cg, double cp);

// What the stability over the boost needs of a flight: per stage (top
// first) its empty mass and motors, and the times the flight set.
struct StabilityMotor {
  double count = 0.0;
  double totalMass = 0.0;       // kg, one motor
  double propellantMass = 0.0;  // kg, one motor; burns evenly over the burn time
  double burnTime = 0.0;        // s
  double length = 0.0;          // m; 0: unknown, taken as the mount's length
};
struct StabilityStage {
  bool present = false;
  double emptyMass = 0.0;  // kg
  std::array<StabilityMotor, 3> motors{};
  double ignitionTime = 0.0;    // s
  double separationTime = 0.0;  // s, lower stages: when they drop
};
using StabilityInput = std::array<StabilityStage, 3>;

struct StabilityFigures {
  double cg = 0.0;                        // m from the nose tip, at lift-off
  double cp = 0.0;                        // m from the nose tip, at lift-off
  double margin = 0.0;                    // calibers, at lift-off
  double minMargin = 0.0;                 // calibers, lowest while a motor burns
  double minMarginTime = 0.0;             // s
  std::array<double, 3> burnoutMargin{};  // calibers, at each stage's last burnout (0 for absent stages)
};

// The stack's balance over the boost: every empty stage at its balance
// point, every motor's mass at its middle, the propellant burning off as
// the flight burns it, the stack losing its lower stages as they drop.
// Between two events (an ignition, a burnout, a separation) every mass
// changes linearly, so the balance point moves one way only and the lowest
// margin lies at an event: only those are evaluated.
StabilityFigures StabilityOverBoost(const RocketShape& shape, const StabilityInput& flight);

}  // namespace komet
