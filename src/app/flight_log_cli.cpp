// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/flight_log_cli.h"

#include <ostream>

#include "app/json_text.h"
#include "common/format.h"
#include "common/komet_error.h"

namespace komet {
namespace {

void ApplyUnits(FlightLogArgs& a, const std::string& v) {
  if (v != "m" && v != "ft") throw UsageError{"--units: \"" + v + "\" ist weder m noch ft"};
  a.units = v == "ft" ? HeightUnit::Foot : HeightUnit::Metre;
}

const std::vector<CliOption<FlightLogArgs>>& FlightLogOptions() {
  static const std::vector<CliOption<FlightLogArgs>> table = {
      {"--units", true, ApplyUnits},
      {"--json", true, [](FlightLogArgs& a, const std::string& v) { a.json = v; }},
      {"--flight", true, [](FlightLogArgs& a, const std::string& v) { a.log = v; }},
  };
  return table;
}

std::string UnitSource(const FlightLog& log) {
  std::string source = std::string(UnitText(log.unit));
  if (log.unitKnown()) return source + " (aus der Datei: " + log.unitReason + ")";
  if (log.unitHint && log.unit == *log.unitHint) return source + " (angenommen: " + log.unitReason + ")";
  return source + " (angenommen)";
}

// "; Höhenmesser meldet 2450 ft" where the header reports an apogee.
// ", 61 Zeilen mit wiederholter Zeit gemittelt".
std::string Merged(const FlightLog& log) {
  std::string text;
  if (log.mergedRows > 0)
    text = ", " + std::to_string(log.mergedRows) + " Zeilen mit wiederholter Zeit gemittelt";
  if (log.lastLineCut) text += ", die abgeschnittene letzte Zeile nicht";
  return text;
}

std::string Reported(const FlightLog& log, char sep) {
  if (!log.reportedApogee) return {};
  return Format(sep, "; Höhenmesser meldet %.0f %s", log.reportedValue, UnitText(log.reportedUnit));
}

}  // namespace

FlightLogArgs ParseFlightLogArgs(const std::vector<std::string>& args) {
  FlightLogArgs a;
  const bool fit = !args.empty() && args[0] == "fit";
  std::vector<std::string> rest;
  ParseCliOptions<FlightLogArgs>(std::span(args).subspan(1), FlightLogOptions(), a,
                                 [&rest](FlightLogArgs&, const std::string& arg) { rest.push_back(arg); });
  if (fit) {
    if (a.log.empty()) throw UsageError{"fit: --flight AUFZEICHNUNG fehlt"};
    a.sim = ParseSimArgs(rest);
  } else {
    if (rest.size() != 1 || (rest[0].starts_with("-") && rest[0] != "-"))
      throw UsageError{rest.empty() ? "flight: keine Aufzeichnung angegeben"
                                    : "flight: unbekannt: " + rest[rest.size() > 1 ? 1 : 0]};
    a.log = rest[0];
  }
  return a;
}

FlightLog ReadCliFlightLog(const FlightLogArgs& a, std::ostream& err) {
  FlightLog log;
  try {
    log = ReadFlightLogFile(a.log, a.units);
  } catch (const KometError& e) {
    throw UsageError{e.kind() == KometError::Kind::Format ? e.what() : a.log.string() + ": " + e.what()};
  }
  if (!log.unitKnown() && !a.units) {
    const bool feet = log.unit == HeightUnit::Foot;
    err << "komet-sim: Warnung: " << log.fileName
        << ": die Datei sagt nicht, ob die Höhen in m oder ft stehen"
        << (log.unitHint ? "; " + log.unitReason + " sprechen für ft" : std::string()) << "; gelesen in "
        << UnitText(log.unit) << " (sonst --units " << (feet ? "m" : "ft") << ")\n";
  }
  return log;
}

std::string FlightLogText(const FlightLog& log, char sep) {
  return Format(sep,
                "Aufzeichnung:  %s\n"
                "Form:          %s\n"
                "Spalten:       Zeit \"%s\", Höhe \"%s\"\n"
                "Höhe in:       %s\n"
                "Messpunkte:    %d (Zeilen %d bis %d%s)\n"
                "Startplatz:    %s\n"
                "Start:         bei %.3f s der Aufzeichnung (1 s lang mehr als 3 m über dem Startplatz, "
                "zurück zum Beginn des Anstiegs)\n"
                "Gipfel:        %.1f m nach %.2f s (Median aus je 3 Messpunkten%s)\n",
                log.fileName, ShapeText(log), log.timeColumn, log.heightColumn, UnitSource(log), log.size(),
                log.firstDataLine, log.lastDataLine, Merged(log), PadSourceText(log.padSource),
                log.launchTime, log.apogee, log.apogeeTime, Reported(log, sep));
}

std::string FlightLogJson(const FlightLog& log) {
  return "{\n  \"file\": " + JsonString(log.fileName) + ",\n  \"shape\": " + JsonString(ShapeText(log)) +
         ",\n  \"timeColumn\": " + JsonString(log.timeColumn) +
         ",\n  \"heightColumn\": " + JsonString(log.heightColumn) +
         ",\n  \"unit\": " + JsonString(UnitText(log.unit)) +
         ",\n  \"unitFromFile\": " + JsonBool(log.unitKnown()) +
         ",\n  \"samples\": " + std::to_string(log.size()) +
         ",\n  \"launchTime\": " + JsonNumber(log.launchTime) + ",\n  \"apogee\": " + JsonNumber(log.apogee) +
         ",\n  \"apogeeTime\": " + JsonNumber(log.apogeeTime) +
         ",\n  \"reportedApogee\": " + JsonNumber(log.reportedApogee) +
         ",\n  \"padHeight\": " + JsonNumber(log.padHeight) +
         ",\n  \"mergedRows\": " + std::to_string(log.mergedRows) + "\n}\n";
}

std::string CwFitText(const CwFit& f, char sep) {
  const FlightComparison& c = f.comparison;
  return Format(sep,
                "Gemessen:                  Gipfel %.1f m nach %.2f s\n"
                "Simulation mit cw %.3f:    Gipfel %.1f m nach %.2f s (%+.1f %%)\n"
                "cw für den Gipfel:         %.3f (Gipfel %.1f m, %+.1f m)\n"
                "cw für den Aufstieg:       %.3f (mittlere Abweichung %.2f m, Gipfel %.1f m)\n"
                "Ein anderer Motor als der geflogene oder ein Bergungssystem, das vor dem Gipfel "
                "auslöst, machen den Abgleich ungültig.\n",
                c.measuredApogee, c.measuredApogeeTime, f.rocketCw, c.predictedApogee, c.predictedApogeeTime,
                c.apogeeDifferencePercent(), f.cwApogee, f.apogeeAtCwApogee,
                f.apogeeAtCwApogee - c.measuredApogee, f.cwAscent, f.rmsAscent, f.apogeeAtCwAscent);
}

std::string CwFitJson(const CwFit& f) {
  const FlightComparison& c = f.comparison;
  return "{\n  \"measuredApogee\": " + JsonNumber(c.measuredApogee) +
         ",\n  \"measuredApogeeTime\": " + JsonNumber(c.measuredApogeeTime) +
         ",\n  \"predictedApogee\": " + JsonNumber(c.predictedApogee) +
         ",\n  \"predictedApogeeTime\": " + JsonNumber(c.predictedApogeeTime) +
         ",\n  \"rocketCw\": " + JsonNumber(f.rocketCw) + ",\n  \"cwApogee\": " + JsonNumber(f.cwApogee) +
         ",\n  \"cwAscent\": " + JsonNumber(f.cwAscent) + ",\n  \"rmsAscent\": " + JsonNumber(f.rmsAscent) +
         ",\n  \"runs\": " + std::to_string(f.runs) + "\n}\n";
}

}  // namespace komet
