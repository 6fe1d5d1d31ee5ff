// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/flight_json.h"

#include "app/json_text.h"
#include "sim/flight_analysis.h"
#include "sim/quantities.h"

namespace komet {
namespace {

std::string PointJson(const FlightPoint& p) {
  return "{\"time\": " + JsonNumber(p.time) + ", \"height\": " + JsonNumber(p.height) +
         ", \"velocity\": " + JsonNumber(p.velocity) + ", \"inFlight\": " + JsonBool(p.inFlight) + "}";
}

std::string DelayJson(const DelayCheck& c) {
  return "{\"delay\": " + std::to_string(c.delay) + ", \"ejection\": " + PointJson(c.ejection) +
         ", \"fromApogee\": " + JsonNumber(c.fromApogee) + ", \"tolerance\": " + JsonNumber(c.tolerance) +
         ", \"early\": " + PointJson(c.early) + ", \"late\": " + PointJson(c.late) +
         ", \"best\": " + JsonBool(c.best) + ", \"tooFast\": " + JsonBool(c.tooFast) + "}";
}

std::string WarningJson(const FlightWarning& w) {
  return "{\"kind\": " + JsonString(RuleOf(w.kind).key) + ", \"level\": \"" +
         (w.level() == SafetyLevel::Red ? "red" : "amber") + "\", \"stage\": " + std::to_string(w.stage) +
         ", \"figure\": " + JsonNumber(w.figure) + ", \"text\": " + JsonString(w.text) + "}";
}

// An array of objects, one a line, indented inside the results object.
template <class T>
std::string ArrayJson(const std::vector<T>& items, std::string (*item)(const T&)) {
  std::string json = "[";
  for (const T& i : items) json += (json.size() > 1 ? ",\n    " : "\n    ") + item(i);
  return json + (items.empty() ? "]" : "\n  ]");
}

}  // namespace

std::string ResultsJson(const Simulation& simulation, const RocketRecord& rocket) {
  const FlightResults& r = simulation.results();
  const FlightAnalysis analysis = AnalyseFlight(simulation, rocket, '.');
  std::string json = "{\n";
  json += std::string("  \"resultsValid\": ") + JsonBool(r.resultsValid) + ",\n";
  json += std::string("  \"noFlight\": ") + JsonBool(r.noFlight) + ",\n";
  for (const ResultQuantity& q : kResultQuantities)
    json += "  \"" + std::string(q.key) + "\": " + JsonNumber(r.*q.field) + ",\n";
  json += "  \"recommendedDelay\": " + JsonNumber(r.recommendedDelay()) + ",\n";
  json += "  \"sampleCount\": " + std::to_string(simulation.lastSample()) + ",\n";
  json += "  \"delays\": " + ArrayJson(analysis.delays, DelayJson) + ",\n";
  json += "  \"warnings\": " + ArrayJson(analysis.warnings, WarningJson) + "\n}\n";
  return json;
}

}  // namespace komet
