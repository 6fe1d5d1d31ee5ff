// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/motor_guide.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <utility>

#include "app/flight_json.h"
#include "app/json_text.h"
#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/text.h"
#include "common/win1252.h"
#include "dialogs/motor_filter.h"
#include "motors/eng_import.h"
#include "motors/motor_details.h"
#include "sim/flight_analysis.h"
#include "sim/motor_fit.h"

namespace komet {
namespace {

GuideRow::Mark MarkOf(std::span<const FlightWarning> findings) {
  const std::optional<SafetyLevel> worst = WorstLevel(findings);
  if (!worst) return GuideRow::Mark::Green;
  return *worst == SafetyLevel::Red ? GuideRow::Mark::Red : GuideRow::Mark::Amber;
}

// The flight's figures that the guide shows and the safety rules' findings.
// `advice`: the delays read from the free ascent; none: the flight is its own.
void TakeFlight(const Simulation& sim, std::optional<DelayAdvice> advice, char sep,
                const SafetyInputs& safety, GuideRow& row) {
  FlightAnalysis a =
      advice ? AnalyseFlight(sim, std::move(*advice), sep, safety) : AnalyseFlight(sim, sep, safety);
  const FlightFigures& f = a.figures;
  row.apogee = f.maxHeight;
  row.apogeeTime = f.maxHeightTime;
  row.maxVelocity = f.maxVelocity;
  row.railExitVelocity = f.railExitVelocity;
  row.thrustToWeight = f.liftOffWeight > 0.0 ? f.peakThrust / f.liftOffWeight : 0.0;
  row.recommendedDelay = f.recommendedDelay;
  if (f.bestDelay) {
    row.bestDelay = f.bestDelay->delay;
    row.ejectionVelocity = f.bestDelay->ejectionVelocity;
  }
  if (f.recovery) {
    row.landingSpeed = f.recovery->landingSpeed;
    row.drift = f.recovery->drift;
    row.onField = LandsOnField(*f.recovery, safety.fieldRadius);
  }
  row.stability = f.stability;
  row.findings = std::move(a.warnings);
  row.remedies = std::move(a.remedies);
  row.mark = MarkOf(row.findings);
}

// How well the best delay fits: 0 within half its tolerance band, 1 within
// the band, 2 outside it, 3 without a delay. Finer steps would let a tenth
// of a second outweigh everything the apogee says.
int DelayFitRank(const GuideRow& row) {
  const std::optional<double> gap = row.delayDifference();
  if (!gap) return 3;
  const double band = DelayTolerance(*row.bestDelay);
  return std::fabs(*gap) <= band / 2.0 ? 0 : std::fabs(*gap) <= band ? 1 : 2;
}

}  // namespace

void ParseClassRange(std::string_view text, GuideFilter& filter) {
  const std::size_t dots = text.find("..");
  const std::string_view from = Trim(text.substr(0, dots));
  const std::string_view to = dots == std::string_view::npos ? from : Trim(text.substr(dots + 2));
  for (std::string_view end : {from, to})
    if (!end.empty() && ImpulseClassRank(end) < 0)
      throw KometError(KometError::Kind::Format,
                       Concat({"Motorklasse \"", end, "\" unbekannt (etwa C, 1/2A oder C..E)"}));
  if (from.empty() && to.empty())
    throw KometError(KometError::Kind::Format, "Motorklasse fehlt (etwa C, 1/2A oder C..E)");
  filter.classFrom = from;
  filter.classTo = to;
}

bool GuideAccepts(const GuideFilter& f, const MotorRecord& motor) {
  // The chooser's rules: the class from the published impulse (else the
  // curve's), the mount's fit, where a motor of unknown size fits.
  MotorFilter chooser;
  if (!f.classFrom.empty()) chooser.classFrom = ImpulseClassRank(f.classFrom);
  if (!f.classTo.empty()) chooser.classTo = ImpulseClassRank(f.classTo);
  chooser.maker = f.maker;
  chooser.fits = {f.maxDiameterMm, f.maxLengthMm};
  return MotorFilterAccepts(chooser, MakeMotorRow(motor, motor.name.view()));
}

std::optional<double> GuideRow::delayDifference() const {
  return bestDelay ? std::optional<double>(*bestDelay - recommendedDelay) : std::nullopt;
}

bool GuideRow::delayFits() const {
  const std::optional<double> gap = delayDifference();
  return gap && std::fabs(*gap) <= DelayTolerance(*bestDelay);
}

MotorGuide::MotorGuide(const RocketRecord& rocket, const SimConstants& constants,
                       std::vector<MotorRecord> candidates, std::vector<std::int32_t> recordNos, char sep,
                       const SafetyInputs& safety, std::optional<RocketShape> shape)
    : rocket_(rocket),
      candidates_(std::move(candidates)),
      recordNos_(std::move(recordNos)),
      sep_(sep),
      shape_(std::move(shape)),
      safety_(safety),
      rows_(candidates_.size()) {
  safety_.shape = shape_ ? &*shape_ : nullptr;
  constants_ = FixedConstants(constants.Values(), constants.Site());
  recordNos_.resize(candidates_.size(), -1);
}

GuideRow MotorGuide::Fly(std::size_t index, Simulation& sim) const {
  FlightPlan plan = MakeFlightPlan(rocket_, constants_);
  plan.stages[0].motors[0] = &candidates_[index];
  std::optional<DelayAdvice> advice;
  if (plan.recovery) {
    // The delays read the flight no device has slowed: a first flight
    // without recovery, as far as they reach.
    FlyFreeAscent(plan, sim);
    sim.SetFlightEnd(Simulation::FlightEnd::SteadyDescent);
    advice = AdviseDelays(sim);
    // The rocket's delay belongs to its own motor: each candidate's charge
    // fires after the published delay that suits its flight best; without
    // a published delay no charge opens it.
    if (plan.recovery->deployment == Recovery::Deployment::Delay) {
      if (advice->best)
        plan.recovery->delay = std::clamp<double>(*advice->best, kDeployDelay.min, kDeployDelay.max);
      else
        plan.recovery.reset();
    }
  }
  sim.Run(plan);
  GuideRow row;
  row.motor = Cp1252ToUtf8(candidates_[index].name.view());
  if (const std::optional<MotorDetails> d = ReadMotorDetails(candidates_[index]))
    row.maker = Cp1252ToUtf8(d->maker);
  row.recordNo = recordNos_[index];
  row.noFlight = !sim.results().resultsValid || sim.results().noFlight;
  if (row.noFlight) {
    row.findings = {{SafetyRuleId::NoFlight, 0, 0.0, "kein Flug"}};
    row.mark = GuideRow::Mark::Red;
    return row;
  }
  TakeFlight(sim, std::move(advice), sep_, safety_, row);
  return row;
}

void MotorGuide::Run(unsigned threads, const std::atomic<bool>& cancel) {
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    Simulation sim;  // each worker its own table: nothing a run writes is shared
    sim.SetFlightEnd(Simulation::FlightEnd::SteadyDescent);
    for (std::size_t i = next++; i < candidates_.size() && !cancel.load(); i = next++) {
      rows_[i] = Fly(i, sim);
      ++done_;
    }
  };
  std::vector<std::thread> workers;
  for (unsigned t = 1; t < std::max(1u, threads); ++t) workers.emplace_back(work);
  work();
  for (std::thread& w : workers) w.join();
}

std::vector<GuideRow> MotorGuide::Rows(const GuideFilter& filter) const {
  std::vector<GuideRow> rows;
  for (const std::optional<GuideRow>& row : rows_)
    if (row && GuideShows(filter, *row)) rows.push_back(*row);
  std::stable_sort(rows.begin(), rows.end(), GuideBefore);
  return rows;
}

void FitMount(const MotorMount& mount, GuideFilter& filter) {
  const MountLimit limit = LimitOf(mount);
  filter.maxDiameterMm = limit.diameterMm;
  filter.maxLengthMm = limit.lengthMm;
}

void FitStageMount(const RocketRecord& rocket, const std::optional<RocketShape>& shape, GuideFilter& filter) {
  const StageMount m = StageMountOf(rocket, shape ? &*shape : nullptr, 0);
  if (m.source == StageMount::Source::None) return;
  GuideFilter mount;
  FitMount(m.mount, mount);
  filter.maxDiameterMm = mount.maxDiameterMm;
  if (mount.maxLengthMm > 0.0) filter.maxLengthMm = mount.maxLengthMm;
}

bool GuideShows(const GuideFilter& f, const GuideRow& row) {
  if (f.onlyGreen && row.mark != GuideRow::Mark::Green) return false;
  if (row.noFlight) return !f.matchingDelayOnly && f.minApogee <= 0.0;
  if (f.matchingDelayOnly && !row.delayFits()) return false;
  if (f.minApogee > 0.0 && row.apogee < f.minApogee) return false;
  if (f.maxApogee > 0.0 && row.apogee > f.maxApogee) return false;
  return f.maxVelocity <= 0.0 || row.maxVelocity <= f.maxVelocity;
}

bool GuideBefore(const GuideRow& a, const GuideRow& b) {
  if (a.mark != b.mark) return a.mark < b.mark;
  const bool offA = a.onField == false, offB = b.onField == false;
  if (offA != offB) return offB;
  const int fitA = DelayFitRank(a), fitB = DelayFitRank(b);
  if (fitA != fitB) return fitA < fitB;
  return a.apogee > b.apogee;
}

std::string GuideFieldLine(const LaunchField& field, double wind, const GuideFilter& filter, bool recovery,
                           char sep) {
  auto size = [&](double mm, const char* format) { return mm > 0.0 ? Format(sep, format, mm) : "beliebig"; };
  std::string line = Format(sep, "Feld: Radius %.0f m, ", field.radius) +
                     (field.ceiling > 0.0 ? Format(sep, "Höhengrenze %.0f m", field.ceiling)
                                          : std::string("keine Höhengrenze")) +
                     Format(sep, " · Wind %.1f m/s · Motorhalterung: Ø ", wind) +
                     size(filter.maxDiameterMm, "%g mm") + ", " + size(filter.maxLengthMm, "%.0f mm");
  return recovery ? line : line + " · Landung nicht beurteilt (keine Bergung)";
}

std::string_view MarkKey(GuideRow::Mark mark) {
  static constexpr std::string_view kKeys[] = {"green", "amber", "red"};
  return kKeys[static_cast<int>(mark)];
}

std::string_view MarkText(GuideRow::Mark mark) {
  static constexpr std::string_view kTexts[] = {"grün", "gelb", "rot"};
  return kTexts[static_cast<int>(mark)];
}

bool GuideCanRun(const RocketRecord& rocket) {
  return rocket.stages[0].counts[0] > 0;
}

void GuideCandidates(const std::filesystem::path& database, const GuideFilter& filter,
                     std::vector<MotorRecord>& motors, std::vector<std::int32_t>& recordNos) {
  const MotorDatabase db = MotorDatabase::Read(database);
  for (const MotorListEntry& e : db.entries()) {
    const MotorRecord& motor = *db.record(e.recordNo);
    if (!GuideAccepts(filter, motor)) continue;
    motors.push_back(motor);
    recordNos.push_back(e.recordNo);
  }
}

std::string GuideJson(std::span<const GuideRow> rows) {
  std::string json = "[";
  for (const GuideRow& r : rows) {
    json += json.size() > 1 ? ",\n  " : "\n  ";
    std::string warnings, rules;
    for (const FlightWarning& w : r.findings) {
      warnings += (warnings.empty() ? "" : ", ") + JsonString(w.text);
      rules += (rules.empty() ? "" : ", ") + JsonString(RuleOf(w.kind).key);
    }
    json += "{\"motor\": " + JsonString(r.motor) +
            ", \"maker\": " + (r.maker.empty() ? std::string("null") : JsonString(r.maker)) +
            ", \"apogee\": " + JsonNumber(r.apogee) + ", \"apogeeTime\": " + JsonNumber(r.apogeeTime) +
            ", \"maxVelocity\": " + JsonNumber(r.maxVelocity) +
            ", \"railExitVelocity\": " + JsonNumber(r.railExitVelocity) + ", \"stability\": " +
            (r.stability
                 ? "{\"cg\": " + JsonNumber(r.stability->cg) + ", \"cp\": " + JsonNumber(r.stability->cp) +
                       ", \"margin\": " + JsonNumber(r.stability->margin) +
                       ", \"minMargin\": " + JsonNumber(r.stability->minMargin) + "}"
                 : std::string("null")) +
            ", \"thrustToWeight\": " + JsonNumber(r.thrustToWeight) +
            ", \"recommendedDelay\": " + JsonNumber(r.recommendedDelay) +
            ", \"bestDelay\": " + (r.bestDelay ? std::to_string(*r.bestDelay) : std::string("null")) +
            ", \"ejectionVelocity\": " + JsonNumber(r.ejectionVelocity) +
            ", \"landingVelocity\": " + JsonNumber(r.landingSpeed) + ", \"drift\": " + JsonNumber(r.drift) +
            ", \"noFlight\": " + JsonBool(r.noFlight) + ", \"mark\": " + JsonString(MarkKey(r.mark)) +
            ", \"rules\": [" + rules + "], \"warnings\": [" + warnings +
            "], \"remedies\": " + RemediesJson(r.remedies) + "}";
  }
  return json + (rows.empty() ? "]\n" : "\n]\n");
}

std::string GuideCsv(std::span<const GuideRow> rows, CsvDialect dialect) {
  const std::string sep(1, dialect.fieldSeparator);
  const char dec = dialect.decimalSeparator;
  auto number = [&](const std::optional<double>& v, const char* format) {
    return v && std::isfinite(*v) ? Format(dec, format, *v) : std::string();
  };
  std::string csv = "\xEF\xBB\xBF";
  for (const char* h :
       {"Motor", "Hersteller", "Gipfelhöhe [m]", "Gipfelzeit [s]", "Höchstgeschwindigkeit [m/s]",
        "Geschwindigkeit am Ende der Startvorrichtung [m/s]", "Schub/Gewicht", "Empfohlene Verzögerung [s]",
        "Beste Verzögerung [s]", "Abweichung [s]", "Geschwindigkeit beim Ausstoß [m/s]",
        "Landegeschwindigkeit [m/s]", "Abdrift [m]", "Bewertung", "Warnungen", "Abhilfen"})
    csv += (csv.size() > 3 ? sep : "") + h;
  csv += "\r\n";
  for (const GuideRow& r : rows) {
    std::string warnings;
    for (const FlightWarning& w : r.findings) warnings += (warnings.empty() ? "" : "; ") + w.text;
    std::string remedies;
    for (const Remedy& m : r.remedies) remedies += (remedies.empty() ? "" : "; ") + m.text;
    const std::string best = r.bestDelay ? std::to_string(*r.bestDelay) : std::string();
    const bool flew = !r.noFlight;
    csv += CsvQuoted(r.motor) + sep + CsvQuoted(r.maker) + sep + (flew ? number(r.apogee, "%.1f") : "") +
           sep + (flew ? number(r.apogeeTime, "%.2f") : "") + sep +
           (flew ? number(r.maxVelocity, "%.1f") : "") + sep + number(r.railExitVelocity, "%.1f") + sep +
           (flew ? number(r.thrustToWeight, "%.1f") : "") + sep +
           (flew ? number(r.recommendedDelay, "%.1f") : "") + sep + best + sep +
           number(r.delayDifference(), "%.1f") + sep + number(r.ejectionVelocity, "%.1f") + sep +
           number(r.landingSpeed, "%.1f") + sep + number(r.drift, "%.0f") + sep +
           std::string(MarkText(r.mark)) + sep + CsvQuoted(warnings) + sep + CsvQuoted(remedies) + "\r\n";
  }
  return csv;
}

}  // namespace komet
