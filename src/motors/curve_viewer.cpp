// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/curve_viewer.h"

#include <cmath>

#include "common/format.h"
#include "common/win1252.h"
#include "motors/eng_import.h"
#include "motors/motor_details.h"
#include "motors/motor_facts.h"

namespace komet {
namespace {

constexpr int kMargin = 20;
constexpr Color kCurveRed{255, 0, 0};

// origin + round(v / scale), halves to even.
int Scaled(int origin, double v, double scale) {
  return CanvasCoordinate(origin + std::nearbyint(v / scale));
}

void DrawCurve(Canvas& c, const MotorRecord& m, int y0, double xScale, double yScale) {
  c.SetPen({kCurveRed, 1, PenStyle::Solid});
  c.MoveTo(kMargin, y0);
  for (std::size_t k = 0;; ++k) {
    c.LineTo(Scaled(kMargin, m.curveTime[k], xScale), Scaled(y0, -m.curveThrust[k], yScale));
    const std::size_t next = k + 1;
    if (next >= MotorRecord::kCurvePoints || (m.curveTime[next] == 0.0 && m.curveThrust[next] == 0.0)) break;
  }
  c.LineTo(Scaled(kMargin, m.burnTime, xScale), y0);
}

}  // namespace

std::string PaintMotorCurve(Canvas& c, int width, int height, const MotorRecord& m, int recordNo, char sep) {
  std::string caption = Cp1252ToUtf8(m.name.view());
  if (recordNo == -1) return caption;
  const long long rangeX = static_cast<long long>(width) - 50;  // W - round(2.5 m)
  const long long rangeY = static_cast<long long>(height) - 2 * kMargin;
  if (rangeX == 0 || rangeY == 0) return caption;
  const double xScale = m.burnTime / static_cast<double>(rangeX);   // s per px
  const double yScale = m.maxThrust / static_cast<double>(rangeY);  // N per px
  if (xScale == 0.0 || yScale == 0.0) return caption;
  const int y0 = CanvasCoordinate(static_cast<double>(height) - kMargin);

  c.SetPen({kBlack, 1, PenStyle::Solid});
  c.MoveTo(kMargin, 0);
  c.LineTo(kMargin, height);
  c.MoveTo(0, y0);
  c.LineTo(width, y0);
  DrawCurve(c, m, y0, xScale, yScale);

  c.SetFont(Font{"Arial", 7.0, 0, kBlack, false});
  c.TextOut(kMargin + 5, Scaled(y0, -m.maxThrust, yScale) - 12, Format(sep, "%.1f [N]", m.maxThrust));
  c.TextOut(Scaled(0, m.burnTime, xScale), y0 + 5, Format(sep, "%.1f [sec]", m.burnTime));
  return caption;
}

std::vector<std::string> MotorDetailLines(const MotorRecord& m, char sep) {
  const MotorFacts f = MakeMotorFacts(m);
  if (!f.hasDetails) return {};
  std::string first = f.makerFull + " " + f.designation;
  first += Format(sep, ", Klasse %s, %.1f Ns", f.impulseClass, f.totalImpulse);
  if (f.publishedImpulse) first += Format(sep, " (veröffentlicht %.1f Ns)", *f.publishedImpulse);
  first += Format(sep, ", %.1f N mittlerer Schub", f.averageThrust);
  std::string second = Format(sep, "%.0f x %.0f mm", f.diameterMm, f.lengthMm);
  const std::string delays = JoinNumbers(f.delays, ", ");
  if (f.booster) second += ", als Booster (-0)";
  if (!delays.empty()) second += ", Verzögerungen " + delays + " s";
  if (f.plugged)
    second += delays.empty() && !f.booster ? ", ohne Ausstoßladung" : ", auch ohne Ausstoßladung";
  std::vector<std::string> lines{first, second};
  if (f.doubtful()) lines.push_back("Daten fraglich: " + f.dataCheck);
  return lines;
}

int MotorDetailBand(const MotorRecord& m) {
  const std::size_t lines = MotorDetailLines(m, '.').size();
  return lines > 0 ? static_cast<int>(lines) * kDetailLineHeight + 4 : 0;
}

void PaintMotorDetails(Canvas& c, int top, const MotorRecord& m, char sep) {
  c.SetFont(Font{"Arial", 7.0, 0, kBlack, false});
  int y = top + 2;
  for (const std::string& line : MotorDetailLines(m, sep)) {
    c.TextOut(4, y, line);
    y += kDetailLineHeight;
  }
}

}  // namespace komet
