// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/stability.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace komet {
namespace {

// Barrowman's centre of a nose's lift, as a share of its length.
double NoseCentreShare(NoseShape shape) {
  switch (shape) {
    case NoseShape::Cone:
      return 2.0 / 3.0;
    case NoseShape::Ogive:
      return 0.466;
    case NoseShape::Parabola:
      return 0.5;
  }
  return 0.5;
}

// Six fins shade each other: their lift is less than 6/4 of four fins'
// (the fin-interference factor of the OpenRocket technical documentation).
double FinInterference(int count) {
  return count == 6 ? 0.913 : 1.0;
}

double Square(double v) {
  return v * v;
}

}  // namespace

MassPoint NoseShell(const NoseCone& nose, double diameter) {
  constexpr int kSlices = 200;
  const double r = diameter / 2.0;
  double area = 0.0, moment = 0.0;
  for (int i = 0; i < kSlices; ++i) {
    const double x0 = nose.length * i / kSlices, x1 = nose.length * (i + 1) / kSlices;
    const double r0 = NoseRadiusAt(nose, r, x0), r1 = NoseRadiusAt(nose, r, x1);
    const double a = std::numbers::pi * (r0 + r1) * std::hypot(x1 - x0, r1 - r0);
    area += a;
    moment += a * (x0 + x1) / 2.0;
  }
  return {area, area > 0.0 ? moment / area : 0.0};
}

double StageTop(const RocketShape& shape, int stage) {
  double x = 0.0;
  for (int i = 0; i < stage; ++i) x += shape.stages[static_cast<std::size_t>(i)].Length();
  return x;
}

LiftPart NoseLift(const NoseCone& nose) {
  return {2.0, NoseCentreShare(nose.shape) * nose.length};
}

LiftPart TransitionLift(double foreDiameter, double aftDiameter, double length, double referenceDiameter) {
  const double cn =
      2.0 * (Square(aftDiameter / referenceDiameter) - Square(foreDiameter / referenceDiameter));
  // Barrowman's (L/3)(1 + (1 - r)/(1 - r²)) with r = fore/aft, shortened by (1 - r).
  return {cn, length / 3.0 * (1.0 + 1.0 / (1.0 + foreDiameter / aftDiameter))};
}

LiftPart FinLift(const FinSet& f, double bodyDiameter, double referenceDiameter) {
  const double r = bodyDiameter / 2.0;
  const double chords = f.rootChord + f.tipChord;
  const double midChordLine = std::hypot(f.span, f.sweep + f.tipChord / 2.0 - f.rootChord / 2.0);
  const double interference = 1.0 + r / (f.span + r);
  const double cn = interference * 4.0 * f.count * Square(f.span / referenceDiameter) /
                    (1.0 + std::sqrt(1.0 + Square(2.0 * midChordLine / chords))) * FinInterference(f.count);
  // from the root's leading edge
  const double x = f.sweep * (f.rootChord + 2.0 * f.tipChord) / (3.0 * chords) +
                   (chords - f.rootChord * f.tipChord / chords) / 6.0;
  return {cn, x};
}

LiftPart CentreOfPressure(const RocketShape& shape, int lowestStage) {
  if (shape.stages.empty()) return {};
  const double dRef = shape.stages.front().diameter;
  double sum = 0.0, moment = 0.0;
  auto add = [&](LiftPart part, double offset) {
    sum += part.cnAlpha;
    moment += part.cnAlpha * (part.x + offset);
  };
  const int last = std::min(lowestStage, static_cast<int>(shape.stages.size()) - 1);
  double top = 0.0, aboveDiameter = dRef;
  for (int i = 0; i <= last; ++i) {
    const StageShape& s = shape.stages[static_cast<std::size_t>(i)];
    if (s.nose) add(NoseLift(*s.nose), top);
    if (s.diameter != aboveDiameter) add(TransitionLift(aboveDiameter, s.diameter, 0.0, dRef), top);
    if (s.fins)
      add(FinLift(*s.fins, s.diameter, dRef), top + s.TubeEnd() - s.fins->fromAft - s.fins->rootChord);
    if (s.transition)
      add(TransitionLift(s.diameter, s.transition->aftDiameter, s.transition->length, dRef),
          top + s.TubeEnd());
    aboveDiameter = s.AftDiameter();
    top += s.Length();
  }
  return {sum, sum != 0.0 ? moment / sum : 0.0};
}

double CentreOfGravity(std::span<const MassPoint> masses) {
  double m = 0.0, moment = 0.0;
  for (const MassPoint& p : masses) {
    m += p.mass;
    moment += p.mass * p.x;
  }
  return m > 0.0 ? moment / m : 0.0;
}

double EmptyStageCg(const StageShape& s) {
  if (s.emptyCg) return *s.emptyCg;
  std::vector<MassPoint> parts;
  const double noseLength = s.nose ? s.nose->length : 0.0;
  if (s.nose) parts.push_back(NoseShell(*s.nose, s.diameter));
  parts.push_back({std::numbers::pi * s.diameter * s.bodyLength, noseLength + s.bodyLength / 2.0});
  if (const auto& t = s.transition) {
    const double r0 = s.diameter / 2.0, r1 = t->aftDiameter / 2.0;
    // a frustum's surface has its centre nearer the wider end
    const double centre = t->length * (r0 + 2.0 * r1) / (3.0 * (r0 + r1));
    parts.push_back({std::numbers::pi * (r0 + r1) * std::hypot(t->length, r1 - r0), s.TubeEnd() + centre});
  }
  if (const auto& f = s.fins) {
    const double chords = f->rootChord + f->tipChord;
    const double area = 2.0 * f->count * f->span * chords / 2.0;  // both faces
    const double centre =
        (f->sweep * (f->rootChord + 2.0 * f->tipChord) +
         (f->rootChord * f->rootChord + f->rootChord * f->tipChord + f->tipChord * f->tipChord)) /
        (3.0 * chords);
    parts.push_back({area, s.TubeEnd() - f->fromAft - f->rootChord + centre});
  }
  return CentreOfGravity(parts);
}

double MotorCentre(const RocketShape& shape, int stage, double motorLength) {
  const StageShape& s = shape.stages[static_cast<std::size_t>(stage)];
  return StageTop(shape, stage) + s.Length() + s.mount.overhang - motorLength / 2.0;
}

double StabilityMargin(const RocketShape& shape, double cg, double cp) {
  return shape.stages.empty() ? 0.0 : (cp - cg) / shape.stages.front().diameter;
}

}  // namespace komet

namespace komet {
namespace {

// The lowest stage still on the stack at time t (drops happen at the separation time).
int LowestAttached(const StabilityInput& f, double t) {
  int lowest = 0;
  for (int i = 1; i < 3; ++i) {
    const StabilityStage& s = f[static_cast<std::size_t>(i)];
    if (!s.present) break;
    if (t < s.separationTime) lowest = i;
  }
  return lowest;
}

double MotorMassAt(const StabilityMotor& m, double ignition, double t) {
  const double burnt = m.burnTime > 0.0 ? std::clamp((t - ignition) / m.burnTime, 0.0, 1.0) : 1.0;
  return m.count * (m.totalMass - m.propellantMass * burnt);
}

// Centre of gravity of the stages 0..lowest at time t.
double StackCg(const RocketShape& shape, const StabilityInput& f, int lowest, double t) {
  std::array<MassPoint, 12> masses{};
  std::size_t n = 0;
  for (int i = 0; i <= lowest; ++i) {
    const StabilityStage& s = f[static_cast<std::size_t>(i)];
    const StageShape& g = shape.stages[static_cast<std::size_t>(i)];
    masses[n++] = {s.emptyMass, StageTop(shape, i) + EmptyStageCg(g)};
    for (const StabilityMotor& m : s.motors) {
      if (m.count <= 0.0) continue;
      masses[n++] = {MotorMassAt(m, s.ignitionTime, t),
                     MotorCentre(shape, i, m.length > 0 ? m.length : g.mount.length)};
    }
  }
  return CentreOfGravity(std::span<const MassPoint>(masses.data(), n));
}

bool AnyBurning(const StabilityInput& f, int lowest, double a, double b) {
  for (int i = 0; i <= lowest; ++i)
    for (const StabilityMotor& m : f[static_cast<std::size_t>(i)].motors)
      if (m.count > 0.0 && f[static_cast<std::size_t>(i)].ignitionTime < b &&
          f[static_cast<std::size_t>(i)].ignitionTime + m.burnTime > a)
        return true;
  return false;
}

}  // namespace

StabilityFigures StabilityOverBoost(const RocketShape& shape, const StabilityInput& f) {
  StabilityFigures out;
  int stages = 0;
  while (stages < 3 && f[static_cast<std::size_t>(stages)].present) ++stages;
  if (stages == 0 || static_cast<int>(shape.stages.size()) < stages) return out;

  std::array<LiftPart, 3> cp{};
  for (int i = 0; i < stages; ++i) cp[static_cast<std::size_t>(i)] = CentreOfPressure(shape, i);
  auto margin = [&](int lowest, double t) {
    return StabilityMargin(shape, StackCg(shape, f, lowest, t), cp[static_cast<std::size_t>(lowest)].x);
  };

  std::array<double, 20> events{};
  std::size_t n = 0;
  events[n++] = 0.0;
  for (int i = 0; i < stages; ++i) {
    const StabilityStage& s = f[static_cast<std::size_t>(i)];
    events[n++] = s.ignitionTime;
    if (i > 0) events[n++] = s.separationTime;
    for (const StabilityMotor& m : s.motors)
      if (m.count > 0.0) events[n++] = s.ignitionTime + m.burnTime;
  }
  std::sort(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(n));

  const int all = stages - 1;
  out.cg = StackCg(shape, f, all, 0.0);
  out.cp = cp[static_cast<std::size_t>(all)].x;
  out.margin = StabilityMargin(shape, out.cg, out.cp);
  out.minMargin = out.margin;
  for (std::size_t k = 0; k + 1 < n; ++k) {
    const double a = events[k], b = events[k + 1];
    if (!(b > a)) continue;
    const int lowest = LowestAttached(f, (a + b) / 2.0);
    if (!AnyBurning(f, lowest, a, b)) continue;
    for (const double t : {a, b}) {
      const double m = margin(lowest, t);
      if (m < out.minMargin) {
        out.minMargin = m;
        out.minMarginTime = t;
      }
    }
  }
  for (int i = 0; i < stages; ++i) {
    const StabilityStage& s = f[static_cast<std::size_t>(i)];
    double burnout = s.ignitionTime;
    for (const StabilityMotor& m : s.motors)
      if (m.count > 0.0) burnout = std::max(burnout, s.ignitionTime + m.burnTime);
    out.burnoutMargin[static_cast<std::size_t>(i)] =
        margin(std::min(LowestAttached(f, burnout), all), burnout);
  }
  return out;
}

}  // namespace komet
