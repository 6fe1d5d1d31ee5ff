#include "app/motor_guide.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "app/json_text.h"
#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "dialogs/motor_filter.h"
#include "motors/eng_import.h"
#include "motors/motor_details.h"
#include "sim/flight_analysis.h"

namespace komet {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The flight's figures that the guide shows, the warnings of the evaluation
// and the one it adds for the chosen delay.
void TakeFlight(const Simulation& sim, const RocketRecord& rocket, double gravity, char sep, GuideRow& row) {
  const FlightResults& r = sim.results();
  row.apogee = r.maxHeight;
  row.apogeeTime = r.maxHeightTime;
  row.maxVelocity = r.maxVelocity;
  row.railExitVelocity = RailExitSpeed(sim);
  const double weight = LiftOffMass(rocket) * gravity;
  row.thrustToWeight = weight > 0.0 ? r.peakThrust / weight : 0.0;
  row.recommendedDelay = r.recommendedDelay();
  const FlightAnalysis a = AnalyseFlight(sim, rocket, sep);
  bool tooFast = false;
  for (const DelayCheck& c : a.delays) {
    if (!c.best) continue;
    row.bestDelay = c.delay;
    row.ejectionVelocity = c.ejection.velocity;
    tooFast = c.tooFast;
  }
  for (const FlightWarning& w : a.warnings) row.warnings.push_back(w.text);
  if (tooFast)
    row.warnings.push_back(Format(sep,
                                  "Ausstoß zu schnell: %.1f m/s bei %d s Verzögerung (mehr als %.0f m/s)",
                                  std::fabs(*row.ejectionVelocity), *row.bestDelay, kMaxEjectionSpeed));
  const bool red = !row.railExitVelocity || tooFast;
  row.mark = red ? GuideRow::Mark::Red : row.warnings.empty() ? GuideRow::Mark::Green : GuideRow::Mark::Amber;
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
  // curve's), a motor of unknown diameter fits.
  MotorFilter chooser;
  if (!f.classFrom.empty()) chooser.classFrom = ImpulseClassRank(f.classFrom);
  if (!f.classTo.empty()) chooser.classTo = ImpulseClassRank(f.classTo);
  chooser.maker = f.maker;
  chooser.fitsInMm = f.maxDiameterMm;
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
                       std::vector<MotorRecord> candidates, std::vector<std::int32_t> recordNos, char sep)
    : rocket_(rocket),
      candidates_(std::move(candidates)),
      recordNos_(std::move(recordNos)),
      sep_(sep),
      rows_(candidates_.size()) {
  constants_ = FixedConstants(constants.Values());
  recordNos_.resize(candidates_.size(), -1);
}

GuideRow MotorGuide::Fly(std::size_t index, Simulation& sim) const {
  RocketRecord rocket = rocket_;
  rocket.stages[0].motors[0] = candidates_[index];
  sim.RunSimulation(rocket, constants_);
  GuideRow row;
  row.motor = Cp1252ToUtf8(candidates_[index].name.view());
  if (const std::optional<MotorDetails> d = ReadMotorDetails(candidates_[index]))
    row.maker = Cp1252ToUtf8(d->maker);
  row.recordNo = recordNos_[index];
  row.noFlight = !sim.results().resultsValid || sim.results().noFlight;
  if (row.noFlight) {
    row.warnings = {"kein Flug"};
    row.mark = GuideRow::Mark::Red;
    return row;
  }
  TakeFlight(sim, rocket, constants_.gravity, sep_, row);
  return row;
}

void MotorGuide::Run(unsigned threads, const std::atomic<bool>& cancel) {
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    Simulation sim;  // each worker its own table: nothing a run writes is shared
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

std::vector<GuideRow> MotorGuide::Rows(bool matchingDelayOnly) const {
  std::vector<GuideRow> rows;
  for (const std::optional<GuideRow>& row : rows_)
    if (row && (!matchingDelayOnly || row->noFlight || row->delayFits())) rows.push_back(*row);
  std::stable_sort(rows.begin(), rows.end(), [](const GuideRow& a, const GuideRow& b) {
    if (a.noFlight != b.noFlight) return b.noFlight;  // listed, below the flights
    return a.apogee > b.apogee;
  });
  return rows;
}

bool GuideCanRun(const RocketRecord& rocket) {
  return rocket.stages[0].counts[0] > 0;
}

void GuideCandidates(const std::filesystem::path& database, const GuideFilter& filter,
                     std::vector<MotorRecord>& motors, std::vector<std::int32_t>& recordNos) {
  const MotorList list = ReadMotorList(database);
  if (list.empty()) return;
  const std::size_t size = (static_cast<std::size_t>(list.back().recordNo) + 1) * MotorRecord::kSize;
  const std::vector<std::uint8_t> bytes = ReadFilePrefix(database, size);
  for (const MotorListEntry& e : list) {
    const std::size_t at = static_cast<std::size_t>(e.recordNo) * MotorRecord::kSize;
    if (at + MotorRecord::kSize > bytes.size()) break;  // the file shrank meanwhile
    const MotorRecord motor = DecodeMotorRecord(std::span(bytes).subspan(at, MotorRecord::kSize));
    if (!GuideAccepts(filter, motor)) continue;
    motors.push_back(motor);
    recordNos.push_back(e.recordNo);
  }
}

std::string GuideJson(std::span<const GuideRow> rows) {
  std::string json = "[";
  for (const GuideRow& r : rows) {
    json += json.size() > 1 ? ",\n  " : "\n  ";
    std::string warnings;
    for (const std::string& w : r.warnings) warnings += (warnings.empty() ? "" : ", ") + JsonString(w);
    json += "{\"motor\": " + JsonString(r.motor) +
            ", \"maker\": " + (r.maker.empty() ? std::string("null") : JsonString(r.maker)) +
            ", \"apogee\": " + JsonNumber(r.apogee) + ", \"apogeeTime\": " + JsonNumber(r.apogeeTime) +
            ", \"maxVelocity\": " + JsonNumber(r.maxVelocity) +
            ", \"railExitVelocity\": " + JsonNumber(r.railExitVelocity) +
            ", \"thrustToWeight\": " + JsonNumber(r.thrustToWeight) +
            ", \"recommendedDelay\": " + JsonNumber(r.recommendedDelay) +
            ", \"bestDelay\": " + (r.bestDelay ? std::to_string(*r.bestDelay) : std::string("null")) +
            ", \"ejectionVelocity\": " + JsonNumber(r.ejectionVelocity) +
            ", \"noFlight\": " + JsonBool(r.noFlight) + ", \"warnings\": [" + warnings + "]}";
  }
  return json + (rows.empty() ? "]\n" : "\n]\n");
}

std::string GuideCsv(std::span<const GuideRow> rows, CsvDialect dialect) {
  const std::string sep(1, dialect.fieldSeparator);
  const char dec = dialect.decimalSeparator;
  auto number = [&](const std::optional<double>& v, const char* format) {
    return v && std::isfinite(*v) ? Format(dec, format, *v) : std::string();
  };
  auto text = [&](const std::string& s) {
    std::string quoted = "\"";
    for (char c : s) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
  };
  std::string csv = "\xEF\xBB\xBF";
  for (const char* h :
       {"Motor", "Hersteller", "Gipfelhöhe [m]", "Gipfelzeit [s]", "Höchstgeschwindigkeit [m/s]",
        "Geschwindigkeit am Ende der Startvorrichtung [m/s]", "Schub/Gewicht", "Empfohlene Verzögerung [s]",
        "Beste Verzögerung [s]", "Abweichung [s]", "Geschwindigkeit beim Ausstoß [m/s]", "Warnungen"})
    csv += (csv.size() > 3 ? sep : "") + h;
  csv += "\r\n";
  for (const GuideRow& r : rows) {
    std::string warnings;
    for (const std::string& w : r.warnings) warnings += (warnings.empty() ? "" : "; ") + w;
    const std::optional<double> best = r.bestDelay ? std::optional<double>(*r.bestDelay) : std::nullopt;
    const bool flew = !r.noFlight;
    csv += text(r.motor) + sep + text(r.maker) + sep + (flew ? number(r.apogee, "%.1f") : "") + sep +
           (flew ? number(r.apogeeTime, "%.2f") : "") + sep + (flew ? number(r.maxVelocity, "%.1f") : "") +
           sep + number(r.railExitVelocity, "%.1f") + sep + (flew ? number(r.thrustToWeight, "%.1f") : "") +
           sep + (flew ? number(r.recommendedDelay, "%.1f") : "") + sep + number(best, "%.0f") + sep +
           number(r.delayDifference(), "%.1f") + sep + number(r.ejectionVelocity, "%.1f") + sep +
           text(warnings) + "\r\n";
  }
  return csv;
}

}  // namespace komet
