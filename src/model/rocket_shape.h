// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace komet {

// The outer shape of a rocket as far as its stability and drag need it.
// Lengths in m; positions along the axis count from a stage's top. The
// rocket file cannot hold it, so it lives in a text file beside the rocket
// (`ShapeFileFor`).
enum class NoseShape { Cone, Ogive, Parabola };
enum class SurfaceFinish { Smooth, Painted, Rough };

struct NoseCone {
  NoseShape shape = NoseShape::Ogive;
  double length = 0.0;
  friend bool operator==(const NoseCone&, const NoseCone&) = default;
};
// The outline's radius at `x` from the tip, for a nose of base `radius`: a
// cone, a tangent ogive (an arc meeting the tube without a kink) or the
// parabola r = R sqrt(x / L).
double NoseRadiusAt(const NoseCone& nose, double radius, double x);

// Trapezoidal fins, all alike, evenly around the tube.
struct FinSet {
  int count = 3;           // 3, 4 or 6
  double rootChord = 0.0;  // along the tube
  double tipChord = 0.0;   // parallel to the root
  double span = 0.0;       // from the tube's surface to the tip
  double sweep = 0.0;      // tip's leading edge behind the root's
  double thickness = 0.0;
  double fromAft = 0.0;  // root's trailing edge ahead of the tube's aft end
  friend bool operator==(const FinSet&, const FinSet&) = default;
};

// A conical shoulder or boat tail after the tube; the stage ends where it ends.
struct Transition {
  double length = 0.0;
  double aftDiameter = 0.0;
  friend bool operator==(const Transition&, const Transition&) = default;
};

struct MotorMount {
  double diameter = 0.0;  // inner
  double length = 0.0;
  double overhang = 0.0;  // how far the motor may stand out behind the stage's end
  friend bool operator==(const MotorMount&, const MotorMount&) = default;
};

struct StageShape {
  std::optional<NoseCone> nose;  // the top stage's only
  double bodyLength = 0.0;
  // The tube's outer diameter. The rocket record's stage diameter is the
  // truth; this copy is what the shape was drawn with.
  double diameter = 0.0;
  std::optional<FinSet> fins;
  std::optional<Transition> transition;
  MotorMount mount;
  // Balance point of the stage without motors, from its top, as measured;
  // none: estimated from the parts.
  std::optional<double> emptyCg;
  SurfaceFinish finish = SurfaceFinish::Painted;

  // Nose, tube and transition end to end.
  double Length() const;
  // Where the tube ends, from the stage's top (the fins' reference).
  double TubeEnd() const { return (nose ? nose->length : 0.0) + bodyLength; }
  // The diameter at the stage's aft end.
  double AftDiameter() const { return transition ? transition->aftDiameter : diameter; }
  friend bool operator==(const StageShape&, const StageShape&) = default;
};

// Stages top first, as the rocket record numbers them.
struct RocketShape {
  std::vector<StageShape> stages;
  friend bool operator==(const RocketShape&, const RocketShape&) = default;
};

// What is wrong with a shape, in German, naming the stage and the field;
// empty when it can be flown. `stageCount` is the rocket's present stages.
std::string ShapeProblem(const RocketShape& shape, int stageCount);

// A shape file is a few hundred bytes; anything this large is no shape.
inline constexpr std::size_t kMaxShapeFileBytes = 64 * 1024;

// The companion file of a rocket file: same name, extension ".kmf".
std::string ShapeFileFor(std::string_view rocketPath);

// The companion file's text: a first line "komet-form 1", then per stage a
// line "stage N" followed by "key value..." lines with the keys of
// `komet-sim shape --json` (lengths in m). Lines starting with '#' and blank
// lines are ignored.
std::string ShapeText(const RocketShape& shape);
// Reads that text; throws KometError naming the line on anything else.
RocketShape ParseShapeText(std::string_view text);

const char* NoseShapeKey(NoseShape shape);     // "cone", "ogive", "parabola"
const char* FinishKey(SurfaceFinish finish);   // "smooth", "painted", "rough"
const char* FinishName(SurfaceFinish finish);  // "glatt", "lackiert", "rau"
std::optional<NoseShape> NoseShapeFromKey(std::string_view key);
std::optional<SurfaceFinish> FinishFromKey(std::string_view key);

}  // namespace komet
