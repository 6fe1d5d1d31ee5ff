// SPDX-License-Identifier: GPL-3.0-or-later
#include "flightlog/flight_log.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/text.h"
#include "flightlog/flight_launch.h"
#include "flightlog/header_facts.h"

namespace komet {
namespace {

// No altimeter flies beyond these; larger numbers are damage, not data.
constexpr double kMaxHeightM = 100000.0;
constexpr double kMaxTimeS = 1.0e6;
constexpr std::size_t kMaxFileBytes = 64u << 20;

struct Line {
  std::size_t number = 0;  // 1-based
  std::string_view text;
};

// A field without blanks and the quotes of a spreadsheet around it.
std::string_view Bare(std::string_view s) {
  return Trim(s, " \t\r\"");
}

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0, number = 1;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.push_back({number++, text.substr(start, end - start)});
    start = end + 1;
  }
  return lines;
}

void SplitFields(std::string_view line, char sep, std::vector<std::string_view>& fields) {
  fields.clear();
  if (sep == ' ') {
    std::size_t i = 0;
    while (i < line.size()) {
      const std::size_t a = line.find_first_not_of(" \t\r", i);
      if (a == std::string_view::npos) break;
      const std::size_t b = std::min(line.find_first_of(" \t\r", a), line.size());
      fields.push_back(line.substr(a, b - a));
      i = b;
    }
    return;
  }
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(sep, start);
    fields.push_back(Bare(line.substr(start, end == std::string_view::npos ? end : end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

std::vector<std::string_view> Fields(std::string_view line, char sep) {
  std::vector<std::string_view> fields;
  SplitFields(line, sep, fields);
  return fields;
}

// The whole field as a number: sign, digits, one decimal mark, exponent.
std::optional<double> FieldNumber(std::string_view f, char decimal) {
  if (f.empty() || f.size() > 40) return std::nullopt;
  char buf[41];
  std::size_t n = 0;
  for (char c : f) buf[n++] = (c == decimal) ? '.' : c;
  const char* begin = buf + (buf[0] == '+' ? 1 : 0);
  double v = 0;
  const auto [ptr, ec] = std::from_chars(begin, buf + n, v, std::chars_format::general);
  if (ec != std::errc() || ptr != buf + n) return std::nullopt;
  return v;
}

char SeparatorOf(std::string_view line) {
  if (line.find('\t') != std::string_view::npos) return '\t';
  if (line.find(';') != std::string_view::npos) return ';';
  if (line.find(',') != std::string_view::npos) return ',';
  return ' ';
}

// A data line: its first field is a number (with either decimal mark).
bool IsData(std::string_view line) {
  const char sep = SeparatorOf(line);
  const auto fields = Fields(line, sep);
  return !fields.empty() && (FieldNumber(fields[0], '.') || (sep != ',' && FieldNumber(fields[0], ',')));
}

// The name without its unit: "altitude_ft" -> "altitude", "Höhe [m]" -> "höhe".
std::string BareName(std::string_view name) {
  std::string low = AsciiLowered(Bare(name));
  for (std::size_t at = low.find("\xC3\x96"); at != std::string::npos; at = low.find("\xC3\x96"))
    low[at + 1] = '\xB6';
  return std::string(Bare(std::string_view(low).substr(0, std::min(low.size(), low.find_first_of("_([' ")))));
}

std::optional<std::size_t> FindColumn(const std::vector<std::string>& names,
                                      std::initializer_list<std::string_view> wanted) {
  for (std::string_view w : wanted)
    for (std::size_t i = 0; i < names.size(); ++i)
      if (BareName(names[i]) == w) return i;
  return std::nullopt;
}

// What the lines before the numbers said.
struct Preamble {
  FlightLogShape shape = FlightLogShape::Columns;
  std::vector<std::string> names;
  std::size_t namesLine = 0;
  HeaderFacts facts;
  std::size_t dataStart = 0;  // index into the lines
};

void SetNames(std::string_view text, char sep, std::size_t lineNo, Preamble& p) {
  p.names.clear();
  for (std::string_view n : Fields(text, sep)) p.names.emplace_back(n);
  p.namesLine = lineNo;
}

void TakeKeyLine(std::string_view text, std::size_t colon, std::size_t lineNo, Preamble& p) {
  const std::string_view key = Bare(text.substr(0, colon)), value = Bare(text.substr(colon + 1));
  if (EqualsIgnoringCase(key, "data") && value.find('(') != std::string_view::npos) {
    const auto open = value.find('('), close = value.find(')', open);
    SetNames(value.substr(open + 1, close == std::string_view::npos ? close : close - open - 1), ',', lineNo,
             p);
  } else {
    TakeKeyValue(key, value, text, p.facts);
  }
}

Preamble ReadPreamble(const std::vector<Line>& lines, const std::string& file) {
  Preamble p;
  std::size_t lastText = 1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view text = Bare(lines[i].text);
    if (text.empty()) continue;
    lastText = lines[i].number;
    if (IsData(text)) {
      p.dataStart = i;
      return p;
    }
    TakeProductLine(text, p.facts);
    if (text.starts_with("#version,")) {
      p.shape = FlightLogShape::Telemetry;
      SetNames(text.substr(1), ',', lines[i].number, p);
    } else if (text.starts_with("#")) {
      continue;  // a comment of the exporting program
    } else if (const auto colon = text.find(':'); colon != std::string_view::npos && colon > 0) {
      if (p.shape != FlightLogShape::Telemetry) p.shape = FlightLogShape::KeyValueBlock;
      TakeKeyLine(text, colon, lines[i].number, p);
    } else {
      if (p.shape == FlightLogShape::Columns) p.shape = FlightLogShape::ColumnsWithHeader;
      SetNames(text, SeparatorOf(text), lines[i].number, p);
    }
  }
  Fail(file, lastText, "keine Zeile mit Zahlen für Zeit und Höhe gefunden");
}

struct Columns {
  std::size_t time = 0, height = 1;
};

Columns ChooseColumns(const Preamble& p, FlightLog& log, const std::string& file) {
  Columns c;
  if (p.names.empty()) {
    log.timeColumn = "Spalte 1";
    log.heightColumn = "Spalte 2";
    return c;
  }
  const auto t = FindColumn(p.names, {"time", "t", "zeit"});
  // A telemetry file also holds the altitude above sea level; the height is above the pad.
  const auto h = FindColumn(p.names, {"height", "h\xC3\xB6he", "hoehe", "altitude", "alt"});
  if (!t || !h)
    Fail(file, p.namesLine, std::string("keine Spalte für ") + (!t ? "die Zeit" : "die Höhe") + " erkannt");
  c.time = *t;
  c.height = *h;
  log.timeColumn = p.names[c.time];
  log.heightColumn = p.names[c.height];
  return c;
}

// The unit from every hint, strongest first: the column's name, the
// header's heights, the altimeter family, and short of proof, °F.
void ChooseUnit(const Preamble& p, std::string_view firstRow, FlightLog& log,
                std::optional<HeightUnit> given) {
  const HeaderFacts& f = p.facts;
  if (const auto named = UnitInName(log.heightColumn); named && !p.names.empty()) {
    log.fileUnit = named;
    log.unitReason = "Spaltenname \"" + log.heightColumn + "\"";
  } else if (p.shape == FlightLogShape::Telemetry) {
    log.fileUnit = HeightUnit::Metre;
    log.unitReason = "Telemetrie-CSV";
  } else if (f.keyUnit && !f.keyUnitsDisagree) {
    log.fileUnit = f.keyUnit;
    log.unitReason = "Kopfblock \"" + f.keyLine + "\"";
  } else if (f.productUnit) {
    log.fileUnit = f.productUnit;
    log.unitReason = "Höhenmesser " + f.product;
  }
  bool fahrenheit = f.fahrenheit;
  for (const std::string& name : p.names) fahrenheit = fahrenheit || NamesFahrenheit(name);
  for (std::string_view field : Fields(firstRow, SeparatorOf(firstRow)))
    fahrenheit = fahrenheit || IsFahrenheitValue(field);
  if (!log.fileUnit && fahrenheit) {
    log.unitHint = HeightUnit::Foot;
    log.unitReason = "Temperaturen in °F";
  }
  log.unit = log.fileUnit.value_or(given.value_or(log.unitHint.value_or(HeightUnit::Metre)));
}

// The altimeter's own apogee, above the pad; one above sea level counts
// only with the ground's elevation beside it.
void TakeReportedApogee(const HeaderFacts& f, FlightLog& log) {
  if (!f.reportedApogee) return;
  const auto metres = [&log](double v, std::optional<HeightUnit> u) {
    return v * (u.value_or(log.unit) == HeightUnit::Foot ? kMetresPerFoot : 1.0);
  };
  double apogee = metres(*f.reportedApogee, f.reportedUnit);
  if (f.reportedAboveSea) {
    if (!f.groundElevation) return;
    apogee -= metres(*f.groundElevation, f.groundUnit.has_value() ? f.groundUnit : f.reportedUnit);
  }
  log.reportedApogee = apogee;
  log.reportedValue = *f.reportedApogee;
  log.reportedUnit = f.reportedUnit.value_or(log.unit);
}

struct Row {
  double time = 0.0, height = 0.0;
  std::size_t line = 0;
};

double ReadField(std::string_view field, char decimal, const std::string& file, std::size_t lineNo) {
  const auto v = FieldNumber(field, decimal);
  if (!v) Fail(file, lineNo, "\"" + std::string(field.substr(0, 40)) + "\" ist keine Zahl");
  return *v;
}

std::vector<Row> ReadRows(const std::vector<Line>& lines, const Preamble& p, const Columns& c, FlightLog& log,
                          const std::string& file) {
  const std::string_view first = Bare(lines[p.dataStart].text);
  log.separator = SeparatorOf(first);
  log.decimal = '.';
  if (log.separator != ',' && first.find(',') != std::string_view::npos) log.decimal = ',';
  std::vector<std::string_view> fields;
  SplitFields(first, log.separator, fields);
  const std::size_t needed = std::max(fields.size(), std::max(c.time, c.height) + 1);
  const double scale = log.unit == HeightUnit::Foot ? kMetresPerFoot : 1.0;
  log.firstDataLine = lines[p.dataStart].number;
  std::vector<Row> rows;
  rows.reserve(lines.size() - p.dataStart);
  for (std::size_t i = p.dataStart; i < lines.size(); ++i) {
    const std::string_view text = Bare(lines[i].text);
    const std::size_t no = lines[i].number;
    if (text.empty()) continue;
    SplitFields(text, log.separator, fields);
    if (fields.size() < needed && i + 1 == lines.size() && !text.empty()) {
      // The file ends inside this row: a copy or an export cut short.
      log.lastLineCut = true;
      break;
    }
    if (fields.size() < needed)
      Fail(file, no,
           "unvollständige Zeile (" + std::to_string(fields.size()) + " statt " + std::to_string(needed) +
               " Spalten)");
    const double t = ReadField(fields[c.time], log.decimal, file, no);
    const double h = ReadField(fields[c.height], log.decimal, file, no) * scale;
    if (!std::isfinite(t) || std::fabs(t) > kMaxTimeS) Fail(file, no, "die Zeit ist keine mögliche Flugzeit");
    if (!std::isfinite(h) || std::fabs(h) > kMaxHeightM)
      Fail(file, no, "die Höhe ist keine mögliche Flughöhe");
    rows.push_back({t, h, no});
    log.lastDataLine = no;
  }
  return rows;
}

// Rows that repeat the time before them (several packets of one instant)
// become one sample, the mean of their heights.
std::vector<Row> MergeRepeats(const std::vector<Row>& rows, std::size_t& merged) {
  std::vector<Row> out;
  out.reserve(rows.size());
  std::size_t count = 0;
  for (const Row& r : rows) {
    if (!out.empty() && r.time == out.back().time) {
      out.back().height += r.height;
      ++count;
      ++merged;
      continue;
    }
    if (count > 0) out.back().height /= static_cast<double>(count + 1);
    count = 0;
    out.push_back(r);
  }
  if (count > 0) out.back().height /= static_cast<double>(count + 1);
  return out;
}

// The typical step between samples: the median of the forward steps.
double SamplingInterval(const std::vector<Row>& rows) {
  std::vector<double> steps;
  steps.reserve(rows.size());
  for (std::size_t i = 1; i < rows.size(); ++i)
    if (rows[i].time > rows[i - 1].time) steps.push_back(rows[i].time - rows[i - 1].time);
  if (steps.empty()) return 0.0;
  const auto middle = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2);
  std::nth_element(steps.begin(), middle, steps.end());
  return *middle;
}

// Times that jitter back by up to one sampling interval are put in order;
// a clock that jumps back further is damage.
void OrderTimes(std::vector<Row>& rows, FlightLog& log, const std::string& file) {
  rows = MergeRepeats(rows, log.mergedRows);
  const double step = SamplingInterval(rows);
  double latest = -kMaxTimeS * 2;
  bool jitter = false;
  for (const Row& r : rows) {
    if (r.time < latest - step * (1.0 + 1e-9))
      Fail(file, r.line, Format(',', "die Zeit läuft nicht vorwärts (%.3f s nach %.3f s)", r.time, latest));
    jitter = jitter || r.time < latest;
    latest = std::max(latest, r.time);
  }
  if (!jitter) return;
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.time < b.time; });
  rows = MergeRepeats(rows, log.mergedRows);
}

}  // namespace

FlightLog ParseFlightLog(std::string_view text, const std::string& fileName, std::optional<HeightUnit> unit) {
  FlightLog log;
  log.fileName = fileName;
  if (const auto nul = text.find('\0'); nul != std::string_view::npos)
    Fail(fileName,
         static_cast<std::size_t>(
             std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), '\n')) +
             1,
         "keine Textdatei (Binärdaten)");
  const std::vector<Line> lines = SplitLines(text);
  const Preamble p = ReadPreamble(lines, fileName);
  log.shape = p.shape;
  const Columns c = ChooseColumns(p, log, fileName);
  ChooseUnit(p, Bare(lines[p.dataStart].text), log, unit);
  TakeReportedApogee(p.facts, log);
  std::vector<Row> rows = ReadRows(lines, p, c, log, fileName);
  OrderTimes(rows, log, fileName);
  if (rows.size() < 3)
    Fail(
        fileName, log.lastDataLine,
        "zu wenige Messpunkte (" + std::to_string(rows.size()) + "); eine Aufzeichnung braucht mindestens 3");
  log.time.resize(rows.size());
  log.height.resize(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) log.time[i] = rows[i].time, log.height[i] = rows[i].height;
  FindLaunch(log, fileName);
  return log;
}

FlightLog ReadFlightLogFile(const std::filesystem::path& path, std::optional<HeightUnit> unit) {
  const std::vector<std::uint8_t> bytes = ReadFilePrefix(path, kMaxFileBytes + 1);
  if (bytes.size() > kMaxFileBytes)
    throw KometError(KometError::Kind::Format, path.string() + ": zu groß für eine Flugaufzeichnung");
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return ParseFlightLog(text, path.filename().string(), unit);
}

std::vector<double> MeasuredVelocity(const FlightLog& log) {
  const std::size_t n = log.size();
  std::vector<double> v(n, 0.0);
  if (n < 2) return v;
  const double half = 0.5 * kVelocityWindow * (1.0 + 1e-9);
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t a = i, b = i;
    while (a > 0 && (a + 1 > i || log.time[i] - log.time[a - 1] <= half)) --a;
    while (b + 1 < n && (b < i + 1 || log.time[b + 1] - log.time[i] <= half)) ++b;
    double tMean = 0.0, hMean = 0.0;
    for (std::size_t k = a; k <= b; ++k) tMean += log.time[k], hMean += log.smoothed[k];
    const double count = static_cast<double>(b - a + 1);
    tMean /= count, hMean /= count;
    double sxx = 0.0, sxy = 0.0;
    for (std::size_t k = a; k <= b; ++k) {
      const double dt = log.time[k] - tMean;
      sxx += dt * dt, sxy += dt * (log.smoothed[k] - hMean);
    }
    v[i] = sxx > 0.0 ? sxy / sxx : 0.0;
  }
  return v;
}

std::string ShapeText(const FlightLog& log) {
  std::string text;
  switch (log.shape) {
    case FlightLogShape::Columns:
      text = "Spalten ohne Kopfzeile";
      break;
    case FlightLogShape::ColumnsWithHeader:
      text = "Spalten mit Kopfzeile";
      break;
    case FlightLogShape::KeyValueBlock:
      text = "Kopfblock \"Name: Wert\", dann Spalten";
      break;
    case FlightLogShape::Telemetry:
      text = "Telemetrie-CSV (#version,serial,flight,...)";
      break;
  }
  switch (log.separator) {
    case ',':
      text += ", Komma";
      break;
    case ';':
      text += ", Semikolon";
      break;
    case '\t':
      text += ", Tabulator";
      break;
    default:
      text += ", Leerzeichen";
      break;
  }
  return text + (log.decimal == ',' ? ", Dezimalkomma" : ", Dezimalpunkt");
}

std::string_view UnitText(HeightUnit unit) {
  return unit == HeightUnit::Foot ? "ft" : "m";
}

std::string_view PadSourceText(PadSource source) {
  switch (source) {
    case PadSource::BeforeRise:
      return "Median der Messpunkte vor dem Start";
    case PadSource::AltimeterZero:
      return "Nullpunkt des Höhenmessers (die Aufzeichnung beginnt im Steigflug)";
    case PadSource::AfterLanding:
      return "Höhe nach der Landung (der Nullpunkt des Höhenmessers weicht ab)";
  }
  return {};
}

}  // namespace komet
