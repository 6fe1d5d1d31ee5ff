// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <limits>

namespace komet {

// The forces and the integration of one flight step as pure functions of
// doubles, SI units. Kept apart from the loop so each rule can be checked
// on its own.

// Air drag in N for the drag factor K = ρ × cw × A / 2 (kg/m): K × v²,
// against the motion, so negative while the rocket falls.
inline double Drag(double dragFactor, double velocity) {
  const double drag = dragFactor * (velocity * velocity);
  return velocity < 0.0 ? -drag : drag;
}

// Weight in N of a mass in kg.
inline double Weight(double massKg, double gravity) {
  return massKg * gravity;
}

// Net force in N: thrust minus drag, weight and rail friction; the friction
// is subtracted whatever the direction of motion.
inline double NetForce(double thrust, double drag, double weight, double railFriction) {
  return thrust - drag - weight - railFriction;
}

// Acceleration in m/s²; a rocket without mass does not accelerate.
inline double Acceleration(double force, double massKg) {
  return massKg == 0.0 ? 0.0 : force / massKg;
}

// Velocity after a step of dt seconds.
inline double NextVelocity(double velocity, double accel, double dt) {
  return velocity + accel * dt;
}

// Height after a step; called with the step's new velocity (semi-implicit Euler).
inline double NextHeight(double height, double velocity, double dt) {
  return height + velocity * dt;
}

// The value itself when finite; an overflow saturates at the largest double
// of its sign and NaN becomes 0, so absurd rocket data still give a series
// every reader can scale and draw.
inline double Finite(double x) {
  if (std::isfinite(x)) return x;
  if (std::isnan(x)) return 0.0;
  return x > 0.0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
}

}  // namespace komet
