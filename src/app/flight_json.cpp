// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/flight_json.h"

#include <optional>
#include <string_view>
#include <utility>

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

std::string RemedyJson(const Remedy& r) {
  return "{\"rule\": " + JsonString(RuleOf(r.rule).key) + ", \"text\": " + JsonString(r.text) +
         ", \"value\": " + JsonNumber(r.value) + "}";
}

std::string RecoveryJson(const Recovery& r) {
  const bool chute = r.kind == Recovery::Kind::Parachute;
  std::string json = std::string("{\"kind\": \"") + (chute ? "parachute" : "streamer") + "\", ";
  json += chute ? "\"diameter\": " + JsonNumber(r.diameterMm)
                : "\"length\": " + JsonNumber(r.lengthMm) + ", \"width\": " + JsonNumber(r.widthMm);
  json += ", \"cw\": " + JsonNumber(r.cw) + ", \"deployment\": \"" +
          (r.deployment == Recovery::Deployment::Apogee ? "apogee" : "delay") + "\"";
  return json + ", \"delay\": " + JsonNumber(r.delay) +
         ", \"inflationTime\": " + JsonNumber(r.inflationTime) + "}";
}

std::string DeploymentJson(const RecoveryFigures& f) {
  return "{\"time\": " + JsonNumber(f.deploymentTime) + ", \"height\": " + JsonNumber(f.deploymentHeight) +
         ", \"speed\": " + JsonNumber(f.deploymentSpeed) + "}";
}

// The recovery's figures by name, speeds as magnitudes. All null without
// recovery; the opening's without an opening, the descent's and landing's
// without a landing (flight time and drift then hold up to the last step).
std::string RecoveryFiguresJson(const std::optional<RecoveryFigures>& figures) {
  const RecoveryFigures none;
  const RecoveryFigures& f = figures ? *figures : none;
  const bool opened = figures && f.deployed, landed = figures && f.landed;
  const auto number = [](bool known, double v) { return known ? JsonNumber(v) : std::string("null"); };
  const std::pair<std::string_view, std::string> keys[] = {
      {"recovery", figures ? RecoveryJson(f.recovery) : "null"},
      {"deployment", opened ? DeploymentJson(f) : "null"},
      {"openingShock", number(opened, f.openingShock)},
      {"descentRate", number(landed, f.descentRate)},
      {"landed", figures ? JsonBool(f.landed) : "null"},
      {"landingVelocity", number(landed, f.landingSpeed)},
      {"flightTime", number(figures.has_value(), f.flightTime)},
      {"wind", number(figures.has_value(), f.wind)},
      {"drift", number(figures.has_value(), f.drift)},
  };
  std::string json;
  for (const auto& [key, value] : keys) json += "  \"" + std::string(key) + "\": " + value + ",\n";
  return json;
}

// An array of objects, one a line, indented inside the results object.
template <class T>
std::string ArrayJson(const std::vector<T>& items, std::string (*item)(const T&)) {
  std::string json = "[";
  for (const T& i : items) json += (json.size() > 1 ? ",\n    " : "\n    ") + item(i);
  return json + (items.empty() ? "]" : "\n  ]");
}

}  // namespace

std::string ResultsJson(const Simulation& simulation, const std::optional<StabilityFigures>& stability,
                        const SafetyInputs& safety, const Simulation* freeAscent) {
  const FlightResults& r = simulation.results();
  const FlightAnalysis analysis = AnalyseFlight(simulation, '.', safety, freeAscent);
  std::string json = "{\n";
  json += std::string("  \"resultsValid\": ") + JsonBool(r.resultsValid) + ",\n";
  json += std::string("  \"noFlight\": ") + JsonBool(r.noFlight) + ",\n";
  for (const ResultQuantity& q : kResultQuantities)
    json += "  \"" + std::string(q.key) + "\": " + JsonNumber(r.*q.field) + ",\n";
  json += "  \"recommendedDelay\": " + JsonNumber(analysis.recommendedDelay.value_or(r.recommendedDelay())) +
          ",\n";
  json += "  \"sampleCount\": " + std::to_string(simulation.lastSample()) + ",\n";
  json += RecoveryFiguresJson(analysis.figures.recovery);
  // m from the nose tip, calibers; null for a rocket without a shape
  json += "  \"stability\": " +
          (stability ? "{\"cg\": " + JsonNumber(stability->cg) + ", \"cp\": " + JsonNumber(stability->cp) +
                           ", \"margin\": " + JsonNumber(stability->margin) +
                           ", \"minMargin\": " + JsonNumber(stability->minMargin) + "}"
                     : std::string("null")) +
          ",\n";
  json += "  \"delays\": " + ArrayJson(analysis.delays, DelayJson) + ",\n";
  json += "  \"warnings\": " + ArrayJson(analysis.warnings, WarningJson) + ",\n";
  json += "  \"remedies\": " + ArrayJson(analysis.remedies, RemedyJson) + "\n}\n";
  return json;
}

std::string RemediesJson(std::span<const Remedy> remedies) {
  std::string json = "[";
  for (const Remedy& r : remedies) json += (json.size() > 1 ? ", " : "") + RemedyJson(r);
  return json + "]";
}

}  // namespace komet
