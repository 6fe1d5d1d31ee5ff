// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/shape_drawing.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace komet {
namespace {

constexpr Color kOutline{40, 40, 40};
constexpr Color kCgColor{0, 90, 200};
constexpr Color kCpColor{200, 30, 30};
constexpr int kNoseSlices = 24;

// Maps the shape's metres onto the box.
struct SideView {
  double x0, axis, scale;
  int X(double x) const { return CanvasCoordinate(std::round(x0 + x * scale)); }
  int Y(double r) const { return CanvasCoordinate(std::round(axis - r * scale)); }
};

// One half of the outline (side = +1 above the axis, -1 below).
void Outline(Canvas& c, const SideView& v, const RocketShape& shape, double side) {
  double top = 0.0;
  bool first = true;
  auto to = [&](double x, double r) {
    if (first)
      c.MoveTo(v.X(x), v.Y(side * r));
    else
      c.LineTo(v.X(x), v.Y(side * r));
    first = false;
  };
  for (const StageShape& s : shape.stages) {
    const double r = s.diameter / 2.0;
    if (s.nose)
      for (int i = 0; i <= kNoseSlices; ++i) {
        const double x = s.nose->length * i / kNoseSlices;
        to(top + x, NoseRadiusAt(*s.nose, r, x));
      }
    to(top + (s.nose ? s.nose->length : 0.0), r);
    to(top + s.TubeEnd(), r);
    if (s.transition) to(top + s.Length(), s.transition->aftDiameter / 2.0);
    top += s.Length();
  }
  to(top, 0.0);
}

void Fins(Canvas& c, const SideView& v, const StageShape& s, double top) {
  const FinSet& f = *s.fins;
  const double r = s.diameter / 2.0;
  const double rootLead = top + s.TubeEnd() - f.fromAft - f.rootChord;
  for (const double side : {1.0, -1.0}) {
    c.MoveTo(v.X(rootLead), v.Y(side * r));
    c.LineTo(v.X(rootLead + f.sweep), v.Y(side * (r + f.span)));
    c.LineTo(v.X(rootLead + f.sweep + f.tipChord), v.Y(side * (r + f.span)));
    c.LineTo(v.X(rootLead + f.rootChord), v.Y(side * r));
  }
}

void Mark(Canvas& c, const SideView& v, double x, double radius, Color color, const char* label,
          int labelTop) {
  const int px = v.X(x), py = v.Y(0.0);
  const int size = 5;
  c.SetPen({color, 2, PenStyle::Solid});
  c.MoveTo(px - size, py);
  c.LineTo(px + size, py);
  c.MoveTo(px, py - size);
  c.LineTo(px, py + size);
  c.SetPen({color, 1, PenStyle::Dotted});
  c.MoveTo(px, v.Y(radius));
  c.LineTo(px, labelTop + c.Metrics().height);
  Font font = c.font();
  font.color = color;
  font.bold = true;
  c.SetFont(font);
  c.TextOut(px - c.TextWidth(label) / 2, labelTop, label);
}

}  // namespace

void DrawRocketSide(Canvas& c, const RocketShape& shape, int left, int top, int width, int height,
                    const ShapeMarks& marks) {
  if (shape.stages.empty()) return;
  double length = 0.0, reach = 0.0;
  for (const StageShape& s : shape.stages) {
    length += s.Length();
    reach = std::max({reach, s.diameter / 2.0 + (s.fins ? s.fins->span : 0.0), s.AftDiameter() / 2.0});
  }
  const int labelRow = c.Metrics().height + 4;  // the labels' band above the drawing
  const double usable = std::max(1, height - 2 * labelRow);
  if (!(length > 0.0) || !(reach > 0.0)) return;
  const double scale = std::min((width - 8) / length, usable / (2.0 * reach));
  const SideView v{left + (width - length * scale) / 2.0, top + height / 2.0, scale};

  c.SetPen({kOutline, 1, PenStyle::Solid});
  Outline(c, v, shape, 1.0);
  Outline(c, v, shape, -1.0);
  double stageTop = 0.0;
  for (const StageShape& s : shape.stages) {
    if (stageTop > 0.0) {  // the joint to the stage above
      c.MoveTo(v.X(stageTop), v.Y(s.diameter / 2.0));
      c.LineTo(v.X(stageTop), v.Y(-s.diameter / 2.0));
    }
    if (s.fins) Fins(c, v, s, stageTop);
    stageTop += s.Length();
  }
  const int labelTop = v.Y(reach) - labelRow;
  if (marks.cg) Mark(c, v, *marks.cg, reach, kCgColor, "SP", labelTop);
  if (marks.cp) Mark(c, v, *marks.cp, reach, kCpColor, "DP", labelTop);
}

}  // namespace komet
