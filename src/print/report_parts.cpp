// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_parts.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/format.h"
#include "common/numbers.h"
#include "common/win1252.h"
#include "print/recovery_text.h"
#include "print/stability_text.h"
#include "sim/atmosphere.h"

namespace komet {
namespace {

constexpr std::string_view kMaxVelocityLine = "Max v:  %4.1f [m/sec]   %5.1f [km/h]     bei %3.1f [sec]";
constexpr std::string_view kBurnoutLine =
    "Brennschluss bei:  %3.1f [sec]   in  %3.1f [m] Höhe,      bei %3.2f [m/sec],    %3.2f [km/h]";
constexpr std::string_view kDelayLine = "empfohlene Verzögerung:   %3.1f [sec]";
constexpr std::string_view kConstantsLine =
    "cw-Wert: %2.2f        Luftdichte: %2.2f        Erdbeschleunigung: %2.3f [m/sec²]        "
    "Startvorrichtung Länge: %2.1f [m]        Reibung: %2.1f [N]";
// With the standard atmosphere the one density of the settings was not flown.
constexpr std::string_view kStandardConstantsLine =
    "cw-Wert: %2.2f        Luftdichte: Normatmosphäre        Erdbeschleunigung: %2.3f [m/sec²]        "
    "Startvorrichtung Länge: %2.1f [m]        Reibung: %2.1f [N]";
constexpr std::string_view kConstantAirLine =
    "Luft: eine Dichte in jeder Höhe, %.2f kg/m³        Wind: %.1f m/s (für die Abdrift)";
constexpr std::string_view kStandardAirLine =
    "Luft: Normatmosphäre, Startplatz %.0f m über NN, %.1f °C am Boden (Dichte am Boden %.2f kg/m³)        "
    "Wind: %.1f m/s (für die Abdrift)";
constexpr Color kRedText{192, 0, 0};
constexpr Color kAmberText{160, 110, 0};
constexpr double kSmallestPoints = 3.0;

// Sets a size and takes its line step, as the report does before each block.
void TakeStep(PrinterDevice& printer, ReportLayout& l, double points) {
  SetReportFont(printer.canvas(), points);
  l.printTextStep = PrintTextStep(points, printer.DpiY());
}

void StageHeader(Canvas& c, std::size_t s, int ls, int vs, int y, char sep) {
  SetReportFont(c, 8.0);
  c.TextOut(ls, y, s == 0 ? std::string("Hauptstufe") : Format(sep, "Stufe   %d", static_cast<int>(s + 1)));
  c.TextOut(vs, y, "Anzahl");
  SetReportFont(c, 6.0);
}

void StageMotorRows(Canvas& c, const StageRecord& stage, int ls, int vs, int y, int stepY, char sep) {
  for (std::size_t j = 0; j < kSlotCount && stage.counts[j] != 0; ++j) {
    y += stepY;
    SetReportFont(c, 8.0);
    c.TextOut(vs, y, Format(sep, "%d", stage.counts[j]));
    c.TextOut(ls, y, Cp1252ToUtf8(stage.motors[j].name.view()));
    SetReportFont(c, 6.0);
  }
}

void StageData(Canvas& c, const StageRecord& stage, const ReportLayout& l, int ls, int vs, char sep) {
  int y = l.printTableTop + 4 * l.printStepY - l.printTextStep;
  c.TextOut(ls, y, "Masse [gr]");
  c.TextOut(vs, y, Format(sep, "%4.2f", stage.mass * 1000.0));
  y += l.printTextStep;
  c.TextOut(ls, y, "Durchmesser [mm]");
  c.TextOut(vs, y, Format(sep, "%3.1f", stage.diameter * 1000.0));
  y = l.printTableTop + 5 * l.printStepY - l.printTextStep;
  c.TextOut(ls, y, "Sonstige Flächen [mm²]");
  c.TextOut(vs, y, Format(sep, "%5.0f", stage.otherArea * 1000000.0));
  y += l.printTextStep;
  c.TextOut(ls, y, "Verzögerung [sec]");
  c.TextOut(vs, y, Format(sep, "%2.2f", stage.ignitionDelay));
}

void Rule(Canvas& c, int width, int x0, int y0, int x1, int y1) {
  c.SetPen({kBlack, width, PenStyle::Solid});
  DrawLine(c, x0, y0, x1, y1);
}

}  // namespace

void SetReportFont(Canvas& c, double points) {
  c.SetFont(Font{std::string(kReportFace), points, 0, kBlack, false});
}

// Beyond the computed flight the burnout sample is the flight's last one.
void PrintResultLines(PrinterDevice& printer, ReportLayout& l, const ReportInputs& in) {
  Canvas& c = printer.canvas();
  const FlightResults& r = in.flight.results;
  const char sep = in.decimalSeparator;
  c.SetPen({kBlack, 1, PenStyle::Solid});
  TakeStep(printer, l, 12.0);
  SetReportFont(c, 8.0);
  l.printTextY = l.printBottom + l.printStepY - TruncToInt(1.5 * l.printTextStep);
  c.TextOut(l.printLeft, l.printTextY,
            Format(sep, kMaxVelocityLine, r.maxVelocity, r.maxVelocity * kKmhPerMps, r.maxVelocityTime));
  l.printTextY += l.printTextStep;
  const FlightSample& b = ClampedSampleBefore(in.flight, r.burnoutTime);
  c.TextOut(l.printLeft, l.printTextY,
            Format(sep, kBurnoutLine, r.burnoutTime, b.height, b.velocity, b.velocity * kKmhPerMps));
  l.printTextY += l.printTextStep;
  c.TextOut(l.printLeft, l.printTextY,
            Format(sep, kDelayLine, in.recommendedDelay.value_or(r.maxHeightTime - r.burnoutTime)));
  if (!in.recovery) return;
  l.printTextY += l.printTextStep;
  c.TextOut(l.printLeft, l.printTextY, RecoveryReportLine(*in.recovery, sep));
}

void PrintStageTable(PrinterDevice& printer, ReportLayout& l, const ReportInputs& in) {
  Canvas& c = printer.canvas();
  const char sep = in.decimalSeparator;
  TakeStep(printer, l, 6.0);
  l.printTableTop = l.printBottom + 3 * l.printStepY - 2 * l.printTextStep;
  for (std::size_t s = 0; s < kStageCount; ++s) {
    const StageRecord& stage = in.rocket.stages[s];
    const int ls = l.printLeft + l.printTextStep + static_cast<int>(s) * 3 * l.printStepX;
    const int vs = ls + 2 * l.printStepX;
    StageHeader(c, s, ls, vs, l.printTableTop, sep);
    if (stage.counts[0] == 0) continue;
    StageMotorRows(c, stage, ls, vs, l.printTableTop, l.printStepY, sep);
    StageData(c, stage, l, ls, vs, sep);
  }
}

void PrintConditions(Canvas& c, ReportLayout& l, const ReportInputs& in) {
  const RunConstants& k = in.flight.constants;
  const char sep = in.decimalSeparator;
  std::vector<std::pair<std::string, Color>> lines;
  lines.emplace_back(k.site.standardAtmosphere
                         ? Format(sep, kStandardAirLine, k.site.altitude, k.site.temperature,
                                  SiteDensity(k.site, 0.0), k.site.wind)
                         : Format(sep, kConstantAirLine, k.airDensity, k.site.wind),
                     kBlack);
  if (in.stability) lines.emplace_back("Stabilität: " + StabilityLine(*in.stability, sep), kBlack);
  lines.emplace_back(
      in.warnings.empty() ? "Warnungen: keine" : "Warnungen (rot: so nicht fliegen, gelb: prüfen):", kBlack);
  for (const FlightWarning& w : in.warnings) {
    const bool red = w.level() == SafetyLevel::Red;
    lines.emplace_back((red ? "rot: " : "gelb: ") + w.text, red ? kRedText : kAmberText);
  }
  // Between the table's last rule and "Einstellungen:", half a line clear of each.
  const int step = l.printTextStep;
  const int top = l.printBottom + 8 * l.printStepY + step / 2;
  const int room = l.printBottom + 10 * l.printStepY - step - step / 2 - top;
  const int n = static_cast<int>(lines.size());
  double points = 6.0;
  int lineStep = step;
  if (n * step > room && room > 0) {
    lineStep = room / n;
    points = std::max(kSmallestPoints, 6.0 * lineStep / step);
  }
  const Font before = c.font();
  Font font = before;
  font.pointSize = points;
  for (int i = 0; i < n; ++i) {
    font.color = lines[static_cast<std::size_t>(i)].second;
    c.SetFont(font);
    c.TextOut(l.printLeft, top + i * lineStep, lines[static_cast<std::size_t>(i)].first);
  }
  c.SetFont(before);
}

void PrintConstantsAndFooter(Canvas& c, ReportLayout& l, const ReportInputs& in) {
  const RunConstants& k = in.flight.constants;
  l.printTextY = l.printBottom + 10 * l.printStepY - l.printTextStep;
  c.TextOut(l.printLeft, l.printTextY, "Einstellungen:");
  l.printTextY += l.printTextStep;
  c.TextOut(l.printLeft, l.printTextY,
            k.site.standardAtmosphere ? Format(in.decimalSeparator, kStandardConstantsLine, k.cwValue,
                                               k.gravity, k.railLength, k.railFriction)
                                      : Format(in.decimalSeparator, kConstantsLine, k.cwValue, k.airDensity,
                                               k.gravity, k.railLength, k.railFriction));
  l.printTextY += l.printStepY;
  c.TextOut(l.printLeft, l.printTextY,
            std::string(kProgramVersion) + ",  gedruckt am : " + std::string(in.dateTimeText));
}

void PrintTableGrid(Canvas& c, const ReportLayout& l) {
  const int right = l.printLeft + 9 * l.printStepX;
  int y = l.printBottom + l.printStepY;
  for (int r = 1; r <= 7; ++r) {
    y += l.printStepY;
    Rule(c, r == 1 || r == 7 ? 4 : 1, l.printLeft, y, right, y);
  }
  y = l.printBottom + 2 * l.printStepY;
  const int bottom = y + 6 * l.printStepY;
  Rule(c, 4, l.printLeft, y, l.printLeft, bottom);
  Rule(c, 4, right, y, right, bottom);
  for (int s = 1; s <= 3; ++s) {
    const int block = l.printLeft + (s - 1) * 3 * l.printStepX;
    Rule(c, 4, block, y, block, bottom);
    const int count = l.printLeft + s * 3 * l.printStepX - l.printStepX;
    Rule(c, 1, count, y, count, bottom);
  }
}

}  // namespace komet
