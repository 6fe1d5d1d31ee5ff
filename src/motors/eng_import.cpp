// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/eng_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "motors/eng_curve.h"
#include "motors/entry_reader.h"
#include "motors/motor_check.h"
#include "motors/motor_details.h"
#include "motors/motor_makers.h"
#include "motors/motor_naming.h"
#include "motors/motor_text.h"

namespace komet {
namespace {

constexpr std::size_t kMinHeaderFields = 7;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

// A line whose first field is made of number characters is a data line, even
// when the number is malformed ("0,05"); names such as "1/2A6" are not.
bool LooksNumeric(std::string_view field) {
  const bool chars = field.find_first_not_of("0123456789.,+-eE") == std::string_view::npos;
  return chars && field.find_first_of("0123456789") != std::string_view::npos;
}

bool IsPluggedToken(std::string_view token) {
  auto equalsUpper = [&](std::string_view upper) {
    return std::equal(token.begin(), token.end(), upper.begin(), upper.end(), [](char a, char b) {
      return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
    });
  };
  return equalsUpper("P") || equalsUpper("PLUGGED") || equalsUpper("NE");
}

// One entry as it is read: its header, its points so far and whether any
// line of it was wrong.
struct Entry : MotorEntry {
  int headerLine = 0;
  int dataLines = 0;
};

// The parser: a small state machine fed line by line. Between entries it
// waits for a header; inside an entry, data lines add points and a ";" line,
// the next header or the end of the text closes the entry.
class EngParser : EntryReader<Entry> {
 public:
  EngParser(std::string_view fileName, bool utf8) : EntryReader(fileName), utf8_(utf8) {}

  void feed(std::string_view line, int number);
  MotorImport finish();

 private:
  void header(const std::vector<std::string_view>& fields, int number);
  void headerNumbers(const std::vector<std::string_view>& fields, int number);
  void dataLine(const std::vector<std::string_view>& fields, int number);
  void closeEntry();
  std::optional<double> readNumber(std::string_view field, std::string_view what, int line);
  std::string display(std::string_view raw) const { return utf8_ ? std::string(raw) : Cp1252ToUtf8(raw); }

  bool utf8_;
  bool strayReported_ = false;  // one message per run of data lines outside an entry
  bool sawEntry_ = false;
};

void EngParser::feed(std::string_view line, int number) {
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields.empty()) return;
  if (fields[0].front() == ';') {
    closeEntry();
    strayReported_ = false;
    return;
  }
  const bool data = ParseMotorNumber(fields[0]).has_value() ||
                    (fields.size() < kMinHeaderFields && LooksNumeric(fields[0]));
  if (!data) {
    closeEntry();
    header(fields, number);
  } else if (entry_) {
    dataLine(fields, number);
  } else if (!strayReported_) {
    error(number, "Datenzeile ohne Kopfzeile");
    strayReported_ = true;
  }
}

MotorImport EngParser::finish() {
  closeEntry();
  if (!sawEntry_) {
    if (out_.problems.empty()) error(0, "keine Motordaten gefunden");
    ++out_.refused;
  }
  return std::move(out_);
}

void EngParser::header(const std::vector<std::string_view>& fields, int number) {
  entry_.emplace();
  entry_->headerLine = number;
  sawEntry_ = true;
  strayReported_ = false;
  if (fields.size() < kMinHeaderFields) {
    error(number,
          "Kopfzeile braucht mindestens 7 Felder (Name, Durchmesser, Länge, Verzögerungen, "
          "Treibstoffmasse, Gesamtmasse, Hersteller)");
    return;
  }
  entry_->maker = utf8_ ? Utf8ToCp1252(fields[6]) : std::string(fields[6]);
  std::string name = utf8_ ? Utf8ToCp1252(fields[0]) : std::string(fields[0]);
  const std::string full = CatalogueName(name, entry_->maker);
  if (full.size() < name.size() + 3 + entry_->maker.size())
    warn(number, "Name länger als 50 Zeichen, gekürzt auf \"" + Cp1252ToUtf8(full) + "\"");
  entry_->name = std::move(name);
  entry_->delays = ParseEngDelays(fields[3]);
  for (const std::string& token : entry_->delays.unknown)
    warn(number, "Verzögerung \"" + display(token) + "\" unbekannt, übergangen");
  if (!entry_->delays.leftOut.empty()) warn(number, LeftOutDelaysText(entry_->delays));
  headerNumbers(fields, number);
}

void EngParser::headerNumbers(const std::vector<std::string_view>& fields, int line) {
  entry_->diameterMm = readNumber(fields[1], "Durchmesser", line).value_or(0.0);
  entry_->lengthMm = readNumber(fields[2], "Länge", line).value_or(0.0);
  const std::optional<double> propellant = readNumber(fields[4], "Treibstoffmasse", line);
  const std::optional<double> total = readNumber(fields[5], "Gesamtmasse", line);
  if (propellant && *propellant < 0) error(line, "Treibstoffmasse negativ");
  if (total && *total < 0)
    error(line, "Gesamtmasse negativ");
  else if (propellant && total && *propellant > *total)
    error(line, "Treibstoffmasse größer als Gesamtmasse");
  entry_->propellantMass = propellant.value_or(0.0);
  entry_->totalMass = total.value_or(0.0);
}

void EngParser::dataLine(const std::vector<std::string_view>& fields, int line) {
  ++entry_->dataLines;
  if (fields.size() != 2) {
    error(line, "Datenzeile braucht genau zwei Zahlen (Zeit und Schub)");
    return;
  }
  const std::optional<double> time = readNumber(fields[0], "Zeit", line);
  const std::optional<double> thrust = readNumber(fields[1], "Schub", line);
  if (!time || !thrust) return;
  if (const char* problem = AddCurvePoint(entry_->points, {*time, *thrust}))
    std::string_view(problem) == kTimeGoesBack ? warn(line, problem) : error(line, problem);
}

void EngParser::closeEntry() {
  if (!entry_) return;
  const std::vector<CurvePoint>& points = entry_->points;
  // Points left out may leave nothing to fly.
  const bool noThrust =
      std::none_of(points.begin(), points.end(), [](const CurvePoint& p) { return p.thrust > 0; });
  if (!entry_->rejected && (entry_->dataLines == 0 || noThrust))
    error(entry_->headerLine, "Eintrag ohne Datenpunkte");
  if (!entry_->rejected)
    storeMotor(entry_->headerLine, {});
  else
    ++out_.refused;
  entry_.reset();
}

std::optional<double> EngParser::readNumber(std::string_view field, std::string_view what, int line) {
  std::optional<double> value = ParseMotorNumber(field);
  if (!value) error(line, std::string(what) + " \"" + display(field) + "\" ist keine gültige Zahl");
  return value;
}

// Calls f(line, number) for each line; a line ends at CR LF, LF or a lone CR.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
  int number = 1;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    f(text.substr(start, end - start), number++);
    if (end == text.size()) break;
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

}  // namespace

MotorImport ParseEng(std::string_view text, std::string_view fileName) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
  if (text.find('\0') != std::string_view::npos) {
    // A picture, an archive or a database: one message, not one per line.
    MotorImport out;
    out.problems.push_back({std::string(fileName), 0, "keine Motordatei (enthält Binärdaten)", false});
    out.refused = 1;
    return out;
  }
  EngParser parser(fileName, IsValidUtf8(text));
  ForEachLine(text, [&](std::string_view line, int number) { parser.feed(line, number); });
  return parser.finish();
}

MotorImport ImportEngFile(const std::filesystem::path& path) {
  return ParseEng(ReadMotorFileText(path, kMaxEngFileBytes), path.filename().string());
}

EngDelays ParseEngDelays(std::string_view field) {
  EngDelays out;
  std::vector<int> seconds;
  std::size_t start = 0;
  while (start <= field.size()) {
    const std::size_t end = std::min(field.find_first_of("-,", start), field.size());
    const std::string_view token = field.substr(start, end - start);
    start = end + 1;
    if (token.empty()) continue;
    if (IsPluggedToken(token)) {
      out.plugged = true;
      continue;
    }
    if (token.find_first_not_of("0123456789") != std::string_view::npos) {
      out.unknown.emplace_back(token);
      continue;
    }
    int value = 0;
    const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    // 0 is the booster version; 99 and beyond ("100", "1000") are how
    // makers write a plugged motor.
    if (ec != std::errc() || value >= 99)
      out.plugged = true;
    else if (value == 0)
      out.booster = true;
    else
      seconds.push_back(value);
  }
  std::sort(seconds.begin(), seconds.end());
  seconds.erase(std::unique(seconds.begin(), seconds.end()), seconds.end());
  out.all = seconds;
  if (seconds.size() > out.delays.size()) {
    // The longest is often the uncut factory delay: it keeps its place, the
    // ones just below it give way.
    out.leftOut.assign(seconds.begin() + 3, seconds.end() - 1);
    seconds.erase(seconds.begin() + 3, seconds.end() - 1);
  }
  for (std::size_t k = 0; k < seconds.size(); ++k) out.delays[k] = static_cast<std::int8_t>(seconds[k]);
  return out;
}

MotorRecord MakeMotorRecord(std::string_view name, double propellantMass, double totalMass,
                            const std::array<std::int8_t, 4>& delays, std::span<const CurvePoint> points,
                            const MotorDetails& details) {
  MotorRecord motor;
  motor.name.assign(name);
  motor.propellantMass = propellantMass;
  motor.totalMass = totalMass;
  motor.delays = delays;
  const std::size_t n = std::min(points.size(), MotorRecord::kCurvePoints);
  if (n > 0) {
    motor.burnTime = points[n - 1].time;
    motor.maxThrust = points[PeakIndex(points.first(n))].thrust;
  }
  for (std::size_t k = 0; k < n; ++k) {
    motor.curveTime[k] = points[k].time;
    motor.curveThrust[k] = points[k].thrust;
  }
  WriteMotorDetails(details, motor);
  return motor;
}

EntryMotor FinishEntry(MotorEntry&& e, MotorDetails details, std::string_view fileNameUtf8) {
  FinishedCurve curve = FinishCurve(std::move(e.points));
  // One name per maker, however the file spells it ("AT", "Aerotech").
  details.maker = CanonicalMakerName(e.maker);
  details.designation = e.name;
  details.commonName = CommonNameOf(e.name);
  std::string check = CheckMotorMasses(curve.impulse, e.propellantMass, e.totalMass, details.type);
  // As the catalogue checks a curve against the published impulse: here the header's.
  if (check.empty() && details.totalImpulse > 0.0 &&
      std::abs(curve.impulse - details.totalImpulse) > kSummaryTolerance * details.totalImpulse)
    check = Format(',', "Kurvenimpuls %.1f Ns, Kopfzeile %.1f Ns", curve.impulse, details.totalImpulse);
  details.dataCheck = Utf8ToCp1252(check);
  details.diameterMm = e.diameterMm;
  details.lengthMm = e.lengthMm;
  if (!(details.totalImpulse > 0.0)) details.totalImpulse = curve.impulse;
  details.plugged = e.delays.plugged;
  details.booster = e.delays.booster;
  details.delays = e.delays.all;
  details.source = Utf8ToCp1252(fileNameUtf8);
  const std::string& shown = details.commonName.empty() ? e.name : details.commonName;
  return {MakeMotorRecord(CatalogueName(shown, details.maker), e.propellantMass, e.totalMass, e.delays.delays,
                          curve.points, details),
          std::move(curve.thinnedNote), Cp1252ToUtf8(details.dataCheck)};
}

std::string LeftOutDelaysText(const EngDelays& delays) {
  return "mehr als vier Verzögerungen: " + JoinNumbers(delays.leftOut, ", ") +
         " s nur in den Motordetails, nicht in den vier Plätzen des Datensatzes";
}

double TotalImpulse(const MotorRecord& motor) {
  const std::size_t n = CurvePointCount(motor);
  std::vector<CurvePoint> points(n);
  for (std::size_t k = 0; k < n; ++k) points[k] = {motor.curveTime[k], motor.curveThrust[k]};
  return CurveImpulse(points);
}

}  // namespace komet
