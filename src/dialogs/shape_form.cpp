// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/shape_form.h"

#include <algorithm>

#include "common/format.h"
#include "common/numbers.h"
#include "motors/motor_details.h"
#include "sim/flight_results.h"
#include "sim/rocket_stability.h"

namespace komet {
namespace {

std::string Mm(double metres, char dec) {
  return Format(dec, "%.1f", metres * 1000.0);
}

// A classic model's proportions for a tube of diameter d.
StageShape StartingStage(double d, bool top, const MotorRecord& motor) {
  StageShape s;
  if (top) s.nose = NoseCone{NoseShape::Ogive, 3.0 * d};
  s.bodyLength = 12.0 * d;
  s.diameter = d;
  s.fins = FinSet{3, 2.4 * d, 1.2 * d, 2.0 * d, 1.2 * d, 0.002, 0.0};
  const auto details = ReadMotorDetails(motor);
  const double motorDiameter = details && details->diameterMm > 0 ? details->diameterMm / 1000.0 : 0.018;
  const double motorLength = details && details->lengthMm > 0 ? details->lengthMm / 1000.0 : 0.070;
  s.mount = MotorMount{std::min(motorDiameter, d), motorLength, 0.005};
  return s;
}

ShapeStageForm Fields(const StageShape& s, char dec) {
  ShapeStageForm f;
  if (s.nose) {
    f.noseShape = static_cast<int>(s.nose->shape);
    f.noseLength = Mm(s.nose->length, dec);
  }
  f.bodyLength = Mm(s.bodyLength, dec);
  f.hasFins = s.fins.has_value();
  const FinSet fins = s.fins.value_or(FinSet{3, 0.05, 0.025, 0.04, 0.025, 0.002, 0.0});
  f.finCountIndex =
      static_cast<int>(std::find(kFinCounts.begin(), kFinCounts.end(), fins.count) - kFinCounts.begin());
  if (f.finCountIndex >= static_cast<int>(kFinCounts.size())) f.finCountIndex = 0;
  f.rootChord = Mm(fins.rootChord, dec);
  f.tipChord = Mm(fins.tipChord, dec);
  f.span = Mm(fins.span, dec);
  f.sweep = Mm(fins.sweep, dec);
  f.thickness = Mm(fins.thickness, dec);
  f.fromAft = Mm(fins.fromAft, dec);
  f.hasTransition = s.transition.has_value();
  const Transition t = s.transition.value_or(Transition{0.02, s.diameter});
  f.transitionLength = Mm(t.length, dec);
  f.aftDiameter = Mm(t.aftDiameter, dec);
  f.mountDiameter = Mm(s.mount.diameter, dec);
  f.mountLength = Mm(s.mount.length, dec);
  f.overhang = Mm(s.mount.overhang, dec);
  f.estimateCg = !s.emptyCg;
  f.emptyCg = s.emptyCg ? Mm(*s.emptyCg, dec) : std::string();
  f.finish = static_cast<int>(s.finish);
  return f;
}

// Reads the fields one by one; the first refusal sticks.
class FieldReader {
 public:
  double Mm(const std::string& text, const char* name, bool zeroAllowed = true) {
    if (!problem.empty()) return 0.0;
    const auto v = ParseStrictNumber(text);
    if (!v || *v < 0.0 || (!zeroAllowed && *v == 0.0) || *v > 10000.0)
      problem = std::string("„") + name + "“ braucht eine Zahl in mm " + (zeroAllowed ? "von 0" : "über 0") +
                " bis 10000.";
    return v.value_or(0.0) / 1000.0;
  }
  std::string problem;
};

StageShape Read(const ShapeStageForm& f, double diameter, bool top, FieldReader& r) {
  StageShape s;
  if (top) s.nose = NoseCone{static_cast<NoseShape>(f.noseShape), r.Mm(f.noseLength, "Spitze, Länge", false)};
  s.bodyLength = r.Mm(f.bodyLength, "Rohrlänge", false);
  s.diameter = diameter;
  if (f.hasFins)
    s.fins = FinSet{kFinCounts[static_cast<std::size_t>(std::clamp(f.finCountIndex, 0, 2))],
                    r.Mm(f.rootChord, "Flossen, Wurzeltiefe", false),
                    r.Mm(f.tipChord, "Flossen, Endtiefe"),
                    r.Mm(f.span, "Flossen, Spannweite", false),
                    r.Mm(f.sweep, "Flossen, Pfeilung"),
                    r.Mm(f.thickness, "Flossen, Dicke"),
                    r.Mm(f.fromAft, "Flossen, Abstand vom Rohrende")};
  if (f.hasTransition)
    s.transition = Transition{r.Mm(f.transitionLength, "Übergang, Länge", false),
                              r.Mm(f.aftDiameter, "Übergang, hinterer Durchmesser", false)};
  s.mount = MotorMount{r.Mm(f.mountDiameter, "Motorhalterung, Durchmesser", false),
                       r.Mm(f.mountLength, "Motorhalterung, Länge", false), r.Mm(f.overhang, "Überstand")};
  if (!f.estimateCg) s.emptyCg = r.Mm(f.emptyCg, "Schwerpunkt der leeren Stufe");
  s.finish = static_cast<SurfaceFinish>(std::clamp(f.finish, 0, 2));
  return s;
}

}  // namespace

ShapeForm ShowShape(const std::optional<RocketShape>& shape, const RocketRecord& rocket, char dec) {
  ShapeForm form;
  form.stageCount = 0;
  for (std::size_t i = 0; i < 3 && rocket.stages[i].counts[0] > 0; ++i) {
    const StageRecord& stage = rocket.stages[i];
    form.diameters[i] = stage.diameter;
    form.stageCount = static_cast<int>(i) + 1;
    const bool known = shape && i < shape->stages.size();
    form.stages[i] =
        Fields(known ? shape->stages[i] : StartingStage(stage.diameter, i == 0, stage.motors[0]), dec);
  }
  return form;
}

ShapeTake TakeShape(const ShapeForm& form) {
  ShapeTake take;
  RocketShape shape;
  FieldReader reader;
  for (int i = 0; i < form.stageCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    shape.stages.push_back(Read(form.stages[k], form.diameters[k], i == 0, reader));
    if (!reader.problem.empty()) {
      take.problem = "Stufe " + std::to_string(i + 1) + ": " + reader.problem;
      take.stage = i;
      return take;
    }
  }
  take.problem = ShapeProblem(shape, form.stageCount);
  if (take.problem.empty())
    take.shape = std::move(shape);
  else
    take.stage = take.problem.rfind("Stufe ", 0) == 0 ? take.problem[6] - '1' : 0;
  return take;
}

ShapeContext MakeShapeContext(const RocketRecord& rocket, double apogee, double apogeeTime) {
  ShapeContext c;
  c.stability = StabilityInputOf(rocket);
  double widest = 0.0, other = 0.0;
  for (const StageRecord& s : rocket.stages) {
    if (s.counts[0] <= 0) break;
    widest = std::max(widest, s.diameter);
    other += s.otherArea;
  }
  // the flight's own area: kPi, the program's value of pi
  c.referenceArea = widest * widest / 4.0 * kPi + other;
  c.ascentSpeed = apogeeTime > 0.0 && apogee > 0.0 ? apogee / apogeeTime : 50.0;
  c.typedCw = rocket.cw;
  return c;
}

ShapeFigures FiguresOf(const RocketShape& shape, const ShapeContext& context) {
  return {StabilityOverBoost(shape, context.stability),
          DragFromShape(shape, context.referenceArea, context.ascentSpeed)};
}

double ShapeCw(const RocketShape& shape, const RocketRecord& rocket, double apogee, double apogeeTime) {
  const ShapeContext c = MakeShapeContext(rocket, apogee, apogeeTime);
  return DragFromShape(shape, c.referenceArea, c.ascentSpeed).total();
}

std::string ShapeFiguresText(const ShapeFigures& f, const ShapeContext& c, char dec) {
  const StabilityFigures& s = f.stability;
  return Format(dec,
                "Schwerpunkt %.0f mm, Druckpunkt %.0f mm hinter der Spitze: %.2f Kaliber beim Start, "
                "%.2f im ungünstigsten Moment des Antriebs.\n",
                s.cg * 1000.0, s.cp * 1000.0, s.margin, s.minMargin) +
         Format(dec, "cw aus der Form (Schätzung bei %.0f m/s): %.2f; eingegeben: %.2f.", c.ascentSpeed,
                f.drag.total(), c.typedCw);
}

}  // namespace komet
