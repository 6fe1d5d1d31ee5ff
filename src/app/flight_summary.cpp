// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/flight_summary.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/win1252.h"
#include "print/recovery_text.h"
#include "print/stability_text.h"
#include "sim/flight_analysis.h"

namespace komet {
namespace {

constexpr std::size_t kLabelWidth = 25;  // characters, so that the figures line up

std::string Row(std::string_view label, const std::string& value) {
  std::string row(label);
  row.append(kLabelWidth - std::min(kLabelWidth - 1, Utf8Length(label)), ' ');
  return row + value + '\n';
}

std::string BestDelay(const FlightAnalysis& analysis, char sep) {
  const auto best = std::find_if(analysis.delays.begin(), analysis.delays.end(),
                                 [](const DelayCheck& c) { return c.best; });
  if (best == analysis.delays.end()) return "keine (der Motor hat keine Verzögerung)";
  const char* side = best->fromApogee < 0.0 ? "vor" : "nach";
  return Format(sep, "%d s: Ausstoß %.1f s %s dem Gipfel bei %.1f m/s%s", best->delay,
                std::fabs(best->fromApogee), side, best->ejection.velocity,
                best->tooFast ? ", zu schnell" : "");
}

std::string RailExit(const Simulation& simulation, char sep) {
  const std::optional<double> v = RailExitSpeed(simulation);
  if (!v) return "die Rakete verlässt die Startvorrichtung nicht";
  return Format(sep, "%.1f m/s am Ende der Startvorrichtung (%.2f m)", *v, simulation.constants().railLength);
}

}  // namespace

std::string FlightSummary(const Simulation& simulation, const RocketRecord& rocket, char sep,
                          const SafetyInputs& safety, const Simulation* freeAscent) {
  const FlightResults& r = simulation.results();
  std::string text = Row("Rakete:", Cp1252ToUtf8(rocket.name.view()));
  if (!r.resultsValid || r.noFlight) return text + "Kein Flug berechnet.\n";
  const FlightAnalysis analysis = AnalyseFlight(simulation, sep, safety, freeAscent);
  text += Row("Gipfelhöhe:", Format(sep, "%.1f m nach %.2f s", r.maxHeight, r.maxHeightTime));
  text += Row("Höchstgeschwindigkeit:", Format(sep, "%.1f m/s (%.1f km/h) nach %.2f s", r.maxVelocity,
                                               r.maxVelocity * 3.6, r.maxVelocityTime));
  text += Row("Brennschluss:", Format(sep, "nach %.2f s", r.burnoutTime));
  text += Row("Empfohlene Verzögerung:", Format(sep, "%.1f s", analysis.figures.recommendedDelay) +
                                             (simulation.plan().recovery ? " (Flug ohne Bergung)" : ""));
  text += Row("Beste Verzögerung:", BestDelay(analysis, sep));
  text += Row("Startgeschwindigkeit:", RailExit(simulation, sep));
  if (analysis.figures.stability) text += Row("Stabilität:", StabilityLine(*analysis.figures.stability, sep));
  if (analysis.figures.recovery)
    for (const RecoveryRow& row : RecoveryRows(*analysis.figures.recovery, sep))
      text += Row(row.label, row.value);
  if (analysis.warnings.empty()) return text + Row("Warnungen:", "keine");
  text += "Warnungen:\n";
  for (const FlightWarning& w : analysis.warnings) {
    text += "  " + w.text + '\n';
    if (const Remedy* remedy = RemedyFor(analysis.remedies, w.kind))
      text += "    Abhilfe: " + remedy->text + '\n';
  }
  return text;
}

}  // namespace komet
