// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/rocket_record.h"
#include "model/rocket_shape.h"
#include "sim/shape_drag.h"
#include "sim/stability.h"

namespace komet {

// The shape dialog's state as plain data: per stage the texts of its
// fields in mm as the rocketeer measures them (UTF-8), and its choices.
struct ShapeStageForm {
  int noseShape = 1;  // NoseShape's order: Kegel, Ogive, Parabel
  std::string noseLength;
  std::string bodyLength;
  bool hasFins = true;
  int finCountIndex = 0;  // kFinCounts
  std::string rootChord, tipChord, span, sweep, thickness, fromAft;
  bool hasTransition = false;
  std::string transitionLength, aftDiameter;
  std::string mountDiameter, mountLength, overhang;
  bool estimateCg = true;
  std::string emptyCg;
  int finish = 1;  // SurfaceFinish's order
};

struct ShapeForm {
  int stageCount = 1;
  std::array<double, 3> diameters{};  // m, from the rocket; not editable here
  std::array<ShapeStageForm, 3> stages;
};

inline constexpr std::array<int, 3> kFinCounts{3, 4, 6};

// The fields for the rocket's shape; without one (or for stages it lacks)
// the starting values of a typical model of the stage's diameter, with the
// mount sized for the motor the stage carries.
ShapeForm ShowShape(const std::optional<RocketShape>& shape, const RocketRecord& rocket,
                    char decimalSeparator);

// The form's shape, or the German refusal of the first field that is no
// number or does not fit, with the stage (0-based) it is on.
struct ShapeTake {
  std::optional<RocketShape> shape;
  std::string problem;
  int stage = 0;
};
ShapeTake TakeShape(const ShapeForm& form);

// What the dialog shows beside the shape: the balance with the stages'
// motors and the drag the shape implies.
struct ShapeContext {
  StabilityInput stability{};  // masses, motors and the last flight's times
  double referenceArea = 0.0;  // m², the area Komet's cw is used with
  double ascentSpeed = 0.0;    // m/s, the last flight's mean from lift-off to apogee
  double typedCw = 0.0;
};
// `apogee` (m) and `apogeeTime` (s) of the last flight; without one the
// drag is taken at 50 m/s.
ShapeContext MakeShapeContext(const RocketRecord& rocket, double apogee, double apogeeTime);

struct ShapeFigures {
  StabilityFigures stability;
  ShapeDrag drag;
};
ShapeFigures FiguresOf(const RocketShape& shape, const ShapeContext& context);

// The cw the shape gives for a rocket's last flight (see MakeShapeContext).
double ShapeCw(const RocketShape& shape, const RocketRecord& rocket, double apogee, double apogeeTime);

// Two lines in German: balance and margin, then the cw from the shape
// beside the typed one.
std::string ShapeFiguresText(const ShapeFigures& figures, const ShapeContext& context, char decimalSeparator);

}  // namespace komet
