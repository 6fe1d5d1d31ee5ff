// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_check.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/format.h"
#include "common/win1252.h"
#include "motors/eng_import.h"

namespace komet {
namespace {

constexpr char kSep = ',';  // the reasons are German text

bool Near(double value, double published) {
  return std::abs(value - published) <= kSummaryTolerance * std::abs(published);
}

bool IspInBand(double impulse, double propellantKg, MotorDetails::Type type) {
  const double isp = impulse / (propellantKg * kStandardGravity);
  return type == MotorDetails::Type::Hybrid ? isp >= kHybridIspMin && isp <= kHybridIspMax
                                            : isp >= kSolidIspMin && isp <= kSolidIspMax;
}

// Which figures of the summary can be compared with: an impossible one is
// the summary's typo, not the file's fault.
struct TrustedSummary {
  std::optional<double> impulse, propellantKg, totalKg;
};

TrustedSummary Trusted(const PublishedMotor& p) {
  TrustedSummary t;
  if (p.impulse && *p.impulse > 0.0) t.impulse = p.impulse;
  const bool ordered = !p.propellantKg || !p.totalKg || *p.propellantKg < *p.totalKg;
  if (!ordered) return t;
  if (p.propellantKg && *p.propellantKg > 0.0 &&
      (!t.impulse || IspInBand(*t.impulse, *p.propellantKg, p.type)))
    t.propellantKg = p.propellantKg;
  if (p.totalKg && *p.totalKg > 0.0) t.totalKg = p.totalKg;
  return t;
}

// Small masses with the decimals that tell them apart.
std::string Grams(double kg) {
  return Format(kSep, kg < 0.01 ? "%.2f g" : "%.1f g", kg * 1000.0);
}

// Why a file's curve or masses disagree with the trusted summary; empty when
// they agree.
std::string SummaryDifference(const MotorRecord& file, double curveImpulse, const TrustedSummary& t) {
  if (t.impulse && !Near(curveImpulse, *t.impulse))
    return Format(kSep, "Kurvenimpuls %.1f Ns, veröffentlicht %.1f Ns", curveImpulse, *t.impulse);
  if (t.totalKg && !Near(file.totalMass, *t.totalKg))
    return "Gesamtmasse " + Grams(file.totalMass) + ", veröffentlicht " + Grams(*t.totalKg);
  if (t.propellantKg && !Near(file.propellantMass, *t.propellantKg))
    return "Treibsatz " + Grams(file.propellantMass) + ", veröffentlicht " + Grams(*t.propellantKg);
  return {};
}

double Isp(double impulse, double propellantKg) {
  return impulse / (propellantKg * kStandardGravity);
}

// How far a specific impulse lies outside the propellant's usual range, s.
double OutsideUsual(double isp, Propellant propellant) {
  const IspRange r = UsualIsp(propellant);
  return std::max({0.0, r.low - isp, isp - r.high});
}

std::string FileName(const MotorRecord& file) {
  const std::optional<MotorDetails> d = ReadMotorDetails(file);
  return d ? Cp1252ToUtf8(d->source) : std::string("Datei");
}

}  // namespace

std::string CheckMotorMasses(double impulse, double propellantKg, double totalKg, MotorDetails::Type type) {
  if (!(propellantKg > 0.0)) return "keine Treibsatzmasse";
  if (!(totalKg > propellantKg))
    return "Treibsatz " + Grams(propellantKg) + " nicht unter der Gesamtmasse " + Grams(totalKg);
  if (!IspInBand(impulse, propellantKg, type)) {
    const bool hybrid = type == MotorDetails::Type::Hybrid;
    return Format(kSep, "spezifischer Impuls %.0f s außerhalb %.0f–%.0f s",
                  impulse / (propellantKg * kStandardGravity), hybrid ? kHybridIspMin : kSolidIspMin,
                  hybrid ? kHybridIspMax : kSolidIspMax);
  }
  return {};
}

IspRange UsualIsp(Propellant propellant) {
  switch (propellant) {
    case Propellant::BlackPowder:
      return {60.0, 110.0};
    case Propellant::Composite:
      return {150.0, 250.0};
    case Propellant::Unknown:
      break;
  }
  return {60.0, 250.0};
}

MotorDataChoice ChooseMotorData(std::span<const MotorRecord> files, const PublishedMotor& published) {
  const TrustedSummary t = Trusted(published);
  std::vector<double> impulses;
  for (const MotorRecord& f : files) impulses.push_back(TotalImpulse(f));
  auto curveMatches = [&](std::size_t i) { return !t.impulse || Near(impulses[i], *t.impulse); };
  auto fileProblem = [&](std::size_t i) {
    std::string why =
        CheckMotorMasses(impulses[i], files[i].propellantMass, files[i].totalMass, published.type);
    return why.empty() ? SummaryDifference(files[i], impulses[i], t) : why;
  };
  const std::string best = files.empty() ? std::string() : fileProblem(0);
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!curveMatches(i) || !fileProblem(i).empty()) continue;
    MotorDataChoice c{i, files[i].propellantMass, files[i].totalMass, {}, {}, {}};
    if (i > 0) c.correction = "Daten aus " + FileName(files[i]) + "; " + FileName(files[0]) + ": " + best;
    // An impossible summary figure was passed over: say what it would have given.
    if (published.propellantKg && *published.propellantKg > 0.0 && !t.propellantKg &&
        !Near(files[i].propellantMass, *published.propellantKg))
      c.fileMasses =
          Format(kSep, "Treibsatz der Datei %s (spezifischer Impuls %.0f s); die Übersicht %s gäbe %.0f s",
                 Grams(files[i].propellantMass), Isp(impulses[i], files[i].propellantMass),
                 Grams(*published.propellantKg), Isp(impulses[i], *published.propellantKg));
    return c;
  }
  const bool summaryMasses = t.propellantKg && t.totalKg;
  const bool solid = published.type != MotorDetails::Type::Hybrid;
  for (std::size_t i = 0; summaryMasses && i < files.size(); ++i) {
    if (!curveMatches(i)) continue;
    // Of two possible sets, the one whose specific impulse the propellant can give.
    const double fileIsp = Isp(impulses[i], files[i].propellantMass);
    const double summaryIsp = Isp(impulses[i], *t.propellantKg);
    if (solid && !Near(files[i].propellantMass, *t.propellantKg) &&
        CheckMotorMasses(impulses[i], files[i].propellantMass, files[i].totalMass, published.type).empty() &&
        OutsideUsual(fileIsp, published.propellant) < OutsideUsual(summaryIsp, published.propellant)) {
      MotorDataChoice c{i, files[i].propellantMass, files[i].totalMass, {}, {}, {}};
      c.fileMasses =
          Format(kSep, "Treibsatz der Datei %s (spezifischer Impuls %.0f s); die Übersicht %s gäbe %.0f s",
                 Grams(files[i].propellantMass), fileIsp, Grams(*t.propellantKg), summaryIsp);
      return c;
    }
    if (!CheckMotorMasses(impulses[i], *t.propellantKg, *t.totalKg, published.type).empty()) continue;
    MotorDataChoice c{i, *t.propellantKg, *t.totalKg, {}, {}, {}};
    c.correction = "Massen aus der Übersicht; " + FileName(files[i]) + ": " + fileProblem(i);
    return c;
  }
  MotorDataChoice c;
  if (files.empty()) return c;
  c.propellantKg = files[0].propellantMass;
  c.totalKg = files[0].totalMass;
  c.doubt = best;
  const bool fileMassesFail =
      !CheckMotorMasses(impulses[0], c.propellantKg, c.totalKg, published.type).empty();
  if (fileMassesFail && summaryMasses &&
      CheckMotorMasses(impulses[0], *t.propellantKg, *t.totalKg, published.type).empty()) {
    c.correction = "Massen aus der Übersicht; " + FileName(files[0]) + ": " + best;
    c.propellantKg = *t.propellantKg;
    c.totalKg = *t.totalKg;
    c.doubt = SummaryDifference(files[0], impulses[0], t);
  }
  return c;
}

}  // namespace komet
