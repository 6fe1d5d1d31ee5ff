// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/shape_drag.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/stability.h"

namespace komet {
namespace {

double Circle(double diameter) {
  return std::numbers::pi / 4.0 * diameter * diameter;
}

double SkinFriction(double reynolds, double roughness, double length) {
  // Below this the flow stays mostly laminar; take the plate at that number.
  const double re = std::max(reynolds, 1e4);
  const double smooth = 1.0 / std::pow(1.50 * std::log(re) - 5.6, 2.0);
  return std::max(smooth, 0.032 * std::pow(roughness / length, 0.2));
}

// Surface of the body of revolution (nose, tubes, transitions).
double BodySurface(const RocketShape& shape) {
  double area = 0.0;
  for (const StageShape& s : shape.stages) {
    if (s.nose) area += NoseShell(*s.nose, s.diameter).mass;
    area += std::numbers::pi * s.diameter * s.bodyLength;
    if (const auto& t = s.transition)
      area += std::numbers::pi * (s.diameter + t->aftDiameter) / 2.0 *
              std::hypot(t->length, (s.diameter - t->aftDiameter) / 2.0);
  }
  return area;
}

}  // namespace

double FinishRoughness(SurfaceFinish finish) {
  switch (finish) {
    case SurfaceFinish::Smooth:
      return 20e-6;
    case SurfaceFinish::Painted:
      return 60e-6;
    case SurfaceFinish::Rough:
      return 150e-6;
  }
  return 60e-6;
}

ShapeDrag DragFromShape(const RocketShape& shape, double referenceArea, double speed,
                        double kinematicViscosity, double speedOfSound) {
  ShapeDrag d;
  if (shape.stages.empty() || !(referenceArea > 0.0)) return d;
  double length = 0.0, widest = 0.0, roughest = 0.0;
  for (const StageShape& s : shape.stages) {
    length += s.Length();
    widest = std::max(widest, s.diameter);
    roughest = std::max(roughest, FinishRoughness(s.finish));
  }
  const double mach = speed / speedOfSound;
  const double baseCd = 0.12 + 0.13 * mach * mach;
  const double bodyCf = SkinFriction(speed * length / kinematicViscosity, roughest, length);
  double wetted = (1.0 + 1.0 / (2.0 * length / widest)) * BodySurface(shape);
  for (const StageShape& s : shape.stages) {
    if (const auto& f = s.fins) {
      const double chord = (f->rootChord + f->tipChord) / 2.0;
      const double cf = SkinFriction(speed * chord / kinematicViscosity, FinishRoughness(s.finish), chord);
      wetted += cf / bodyCf * (1.0 + 2.0 * f->thickness / chord) * 2.0 * f->count * chord * f->span;
      d.finEdges += baseCd * f->count * f->thickness * f->span / referenceArea;
    }
    if (s.nose && s.nose->shape == NoseShape::Cone) {
      const double sine = std::sin(std::atan(s.diameter / 2.0 / s.nose->length));
      d.nose += 0.8 * sine * sine * Circle(s.diameter) / referenceArea;
    }
  }
  d.friction = bodyCf * wetted / referenceArea;
  d.base = baseCd * Circle(shape.stages.back().AftDiameter()) / referenceArea;
  return d;
}

}  // namespace komet
