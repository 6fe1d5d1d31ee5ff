// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/recovery_text.h"

#include "common/format.h"

namespace komet {
namespace {

std::string Deployment(const Recovery& r, char sep) {
  std::string text = r.deployment == Recovery::Deployment::Apogee
                         ? std::string("öffnet im Gipfel (Elektronik)")
                         : Format(sep, "öffnet %.1f s nach Brennschluss", r.delay);
  if (r.inflationTime > 0.0) text += Format(sep, ", entfaltet sich in %.2f s", r.inflationTime);
  return text;
}

std::string Opening(const RecoveryFigures& f, char sep) {
  if (!f.deployed) return f.landed ? "keine: die Rakete landet vorher" : "keine";
  return Format(sep, "nach %.2f s in %.1f m Höhe bei %.1f m/s", f.deploymentTime, f.deploymentHeight,
                f.deploymentSpeed);
}

std::string Drift(const RecoveryFigures& f, char sep) {
  return Format(sep, "%s%.0f m bei %.1f m/s Wind (Schätzung: Wind × Zeit vom Gipfel bis zur Landung)",
                f.landed ? "~" : "mehr als ", f.drift, f.wind);
}

}  // namespace

std::string RecoveryDevice(const Recovery& r, char sep) {
  if (r.kind == Recovery::Kind::Parachute) return Format(sep, "Fallschirm %.0f mm", r.diameterMm);
  return Format(sep, "Band %.0f × %.0f mm", r.lengthMm, r.widthMm);
}

std::vector<RecoveryRow> RecoveryRows(const RecoveryFigures& f, char sep) {
  const Recovery& r = f.recovery;
  const char* cw = r.kind == Recovery::Kind::Parachute ? "%s, cw %.2f; %s" : "%s, cw %.3f; %s";
  const std::string none = "–";
  return {
      {"Bergung:", Format(sep, cw, RecoveryDevice(r, sep), r.cw, Deployment(r, sep))},
      {"Öffnung:", Opening(f, sep)},
      {"Öffnungsstoß:", f.deployed ? Format(sep, "%.1f g", f.openingShock) : none},
      {"Sinkgeschwindigkeit:",
       f.landed ? Format(sep, "%.1f m/s (Mittel der letzten %.0f s)", f.descentRate, kDescentRateSpan)
                : none},
      {"Landegeschwindigkeit:", f.landed ? Format(sep, "%.1f m/s", f.landingSpeed) : none},
      {"Flugzeit:", f.landed ? Format(sep, "%.2f s bis zur Landung", f.flightTime)
                             : Format(sep, "mehr als %.2f s (Landung nicht berechnet)", f.flightTime)},
      {"Abdrift:", Drift(f, sep)},
  };
}

std::string RecoveryReportLine(const RecoveryFigures& f, char sep) {
  std::string line = "Bergung: " + RecoveryDevice(f.recovery, sep);
  if (!f.deployed && !f.landed) return line + Format(sep, ", öffnet nicht bis %.2f s", f.flightTime);
  if (!f.deployed)
    return line +
           Format(sep, ", öffnet nicht: Landung bei %.2f s mit %.1f m/s", f.flightTime, f.landingSpeed);
  line += Format(sep, ", Öffnung %.2f s bei %.1f m/s", f.deploymentTime, f.deploymentSpeed);
  if (!f.landed) return line + Format(sep, ", nach %.2f s noch in der Luft", f.flightTime);
  return line + Format(sep, ", Sinken %.1f m/s, Landung %.2f s mit %.1f m/s, Abdrift ~%.0f m bei %.1f m/s",
                       f.descentRate, f.flightTime, f.landingSpeed, f.drift, f.wind);
}

}  // namespace komet
