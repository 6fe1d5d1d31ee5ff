// SPDX-License-Identifier: GPL-3.0-or-later
#include "flightlog/flight_log.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "common/file_io.h"
#include "common/komet_error.h"

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

[[noreturn]] void Fail(const std::string& file, std::size_t line, const std::string& what) {
  throw KometError(KometError::Kind::Format, file + ", Zeile " + std::to_string(line) + ": " + what);
}

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r\"");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\"") - first + 1);
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

std::vector<std::string_view> SplitFields(std::string_view line, char sep) {
  std::vector<std::string_view> fields;
  if (sep == ' ') {
    std::size_t i = 0;
    while (i < line.size()) {
      const std::size_t a = line.find_first_not_of(" \t\r", i);
      if (a == std::string_view::npos) break;
      const std::size_t b = std::min(line.find_first_of(" \t\r", a), line.size());
      fields.push_back(line.substr(a, b - a));
      i = b;
    }
    return fields;
  }
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(sep, start);
    fields.push_back(Trim(line.substr(start, end == std::string_view::npos ? end : end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
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
  const auto fields = SplitFields(line, sep);
  return !fields.empty() && (FieldNumber(fields[0], '.') || (sep != ',' && FieldNumber(fields[0], ',')));
}

std::string Lower(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= 'A' && c <= 'Z') {
      out += static_cast<char>(c - 'A' + 'a');
    } else if (c == '\xC3' && i + 1 < s.size() && s[i + 1] == '\x96') {  // Ö
      out += "\xC3\xB6";
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

// The name without its unit: "altitude_ft" -> "altitude", "Höhe [m]" -> "höhe".
std::string BareName(std::string_view name) {
  const std::string low = Lower(Trim(name));
  return std::string(Trim(low.substr(0, std::min(low.size(), low.find_first_of("_([' ")))));
}

std::optional<HeightUnit> UnitInName(std::string_view name) {
  const std::string low = Lower(Trim(name));
  for (std::string_view ft : {"_ft", "(ft)", "[ft]", "'", " ft", "feet", "fuss", "fu\xC3\x9f"})
    if (low.find(ft) != std::string::npos) return HeightUnit::Foot;
  for (std::string_view m : {"_m", "(m)", "[m]", " m", "meter", "metre"})
    if (low.find(m) != std::string::npos && low.find(m) + m.size() == low.size()) return HeightUnit::Metre;
  for (std::string_view m : {"(m)", "[m]", "meter", "metre"})
    if (low.find(m) != std::string::npos) return HeightUnit::Metre;
  return std::nullopt;
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
  std::optional<HeightUnit> unitHint;
  std::size_t dataStart = 0;  // index into the lines
};

// A key line's value names the unit ("Units: ft", "Altitude units: Feet").
void TakeKey(std::string_view key, std::string_view value, Preamble& p, std::size_t lineNo) {
  const std::string k = Lower(Trim(key));
  value = Trim(value);
  if (k == "data" && value.find('(') != std::string_view::npos) {
    const auto open = value.find('('), close = value.find(')', open);
    p.names.clear();
    for (std::string_view n : SplitFields(value.substr(open + 1, close - open - 1), ','))
      p.names.emplace_back(n);
    p.namesLine = lineNo;
  } else if (k.find("unit") != std::string::npos || k.find("einheit") != std::string::npos) {
    const std::string v = Lower(value);
    if (v.starts_with("f")) p.unitHint = HeightUnit::Foot;
    if (v.starts_with("m")) p.unitHint = HeightUnit::Metre;
  }
}

Preamble ReadPreamble(const std::vector<Line>& lines, const std::string& file) {
  Preamble p;
  std::size_t lastText = 1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view text = Trim(lines[i].text);
    if (text.empty()) continue;
    lastText = lines[i].number;
    if (IsData(text)) {
      p.dataStart = i;
      return p;
    }
    if (text.starts_with("#version,")) {
      p.shape = FlightLogShape::Telemetry;
      p.names.clear();
      for (std::string_view n : SplitFields(text.substr(1), ',')) p.names.emplace_back(n);
      p.namesLine = lines[i].number;
      p.unitHint = HeightUnit::Metre;
    } else if (text.starts_with("#")) {
      continue;  // a comment of the exporting program
    } else if (const auto colon = text.find(':'); colon != std::string_view::npos && colon > 0) {
      if (p.shape != FlightLogShape::Telemetry) p.shape = FlightLogShape::KeyValueBlock;
      TakeKey(text.substr(0, colon), text.substr(colon + 1), p, lines[i].number);
    } else {
      if (p.shape == FlightLogShape::Columns) p.shape = FlightLogShape::ColumnsWithHeader;
      p.names.clear();
      for (std::string_view n : SplitFields(text, SeparatorOf(text))) p.names.emplace_back(n);
      p.namesLine = lines[i].number;
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
  log.fileUnit = UnitInName(log.heightColumn);
  return c;
}

double ReadField(const std::vector<std::string_view>& fields, std::size_t index, char decimal,
                 const std::string& file, std::size_t lineNo) {
  const auto v = FieldNumber(fields[index], decimal);
  if (!v) Fail(file, lineNo, "\"" + std::string(fields[index].substr(0, 40)) + "\" ist keine Zahl");
  return *v;
}

void ReadData(const std::vector<Line>& lines, const Preamble& p, const Columns& c, FlightLog& log,
              const std::string& file) {
  const std::string_view first = Trim(lines[p.dataStart].text);
  log.separator = SeparatorOf(first);
  log.decimal = '.';
  if (log.separator != ',' && first.find(',') != std::string_view::npos) log.decimal = ',';
  const std::size_t width = SplitFields(first, log.separator).size();
  const std::size_t needed = std::max(c.time, c.height) + 1;
  const double scale = log.unit == HeightUnit::Foot ? kMetresPerFoot : 1.0;
  log.firstDataLine = lines[p.dataStart].number;
  for (std::size_t i = p.dataStart; i < lines.size(); ++i) {
    const std::string_view text = Trim(lines[i].text);
    const std::size_t no = lines[i].number;
    if (text.empty()) continue;
    const auto fields = SplitFields(text, log.separator);
    if (fields.size() < std::max(width, needed))
      Fail(file, no,
           "unvollständige Zeile (" + std::to_string(fields.size()) + " statt " +
               std::to_string(std::max(width, needed)) + " Spalten)");
    const double t = ReadField(fields, c.time, log.decimal, file, no);
    const double h = ReadField(fields, c.height, log.decimal, file, no) * scale;
    if (!std::isfinite(t) || std::fabs(t) > kMaxTimeS) Fail(file, no, "die Zeit ist keine mögliche Flugzeit");
    if (!std::isfinite(h) || std::fabs(h) > kMaxHeightM)
      Fail(file, no, "die Höhe ist keine mögliche Flughöhe");
    if (!log.time.empty() && t <= log.time.back()) Fail(file, no, "die Zeit läuft nicht vorwärts");
    log.time.push_back(t);
    log.height.push_back(h);
    log.lastDataLine = no;
  }
}

double Median3(double a, double b, double c) {
  return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

// The pad level is the median of what the altimeter read until half a
// second before the first 3 m rise (from the first three points), its noise
// how far 90 % of those readings scatter around it.
struct Pad {
  double level = 0.0, noise = 0.0;
};

Pad PadLevel(const FlightLog& log) {
  const double first = Median3(log.height[0], log.height[1], log.height[2]);
  std::size_t rise = 0;
  while (rise < log.size() && log.smoothed[rise] < first + kLaunchRise) ++rise;
  if (rise == log.size()) return {first, 0.0};  // no launch: the caller says so
  std::vector<double> before;
  for (std::size_t i = 0; i < rise && log.time[i] <= log.time[rise] - 0.5; ++i)
    before.push_back(log.height[i]);
  if (before.size() < 3) return {first, 0.0};
  const auto middle = before.begin() + static_cast<std::ptrdiff_t>(before.size() / 2);
  std::nth_element(before.begin(), middle, before.end());
  Pad pad{*middle, 0.0};
  for (double& h : before) h = std::fabs(h - pad.level);
  const auto ninety = before.begin() + static_cast<std::ptrdiff_t>(before.size() * 9 / 10);
  std::nth_element(before.begin(), ninety, before.end());
  pad.noise = *ninety;
  return pad;
}

// Launch: the first point 3 m above the pad, moved back to where the rise
// began, the last point within the pad's noise. Time 0 is launch, heights
// are above the pad; the apogee is the highest point of the median after
// launch.
void FindLaunch(FlightLog& log, const std::string& file) {
  const std::size_t n = log.size();
  log.smoothed.resize(n);
  for (std::size_t i = 0; i < n; ++i)
    log.smoothed[i] =
        (i == 0 || i + 1 == n) ? log.height[i] : Median3(log.height[i - 1], log.height[i], log.height[i + 1]);
  const Pad p = PadLevel(log);
  const double pad = p.level;
  std::size_t rise = 0;
  while (rise < n && log.smoothed[rise] < pad + kLaunchRise) ++rise;
  if (rise == n || rise == 0)
    Fail(file, log.lastDataLine, "kein Start: die Höhe steigt nirgends 3 m über den Startplatz");
  std::size_t launch = rise;
  while (launch > 0 && log.smoothed[launch] > pad + p.noise) --launch;
  log.launchIndex = launch;
  log.launchTime = log.time[launch];
  log.padHeight = pad;
  for (std::size_t i = 0; i < n; ++i) {
    log.time[i] -= log.launchTime;
    log.height[i] -= pad;
    log.smoothed[i] -= pad;
  }
  log.apogeeIndex = static_cast<std::size_t>(
      std::max_element(log.smoothed.begin() + static_cast<std::ptrdiff_t>(launch), log.smoothed.end()) -
      log.smoothed.begin());
  log.apogee = log.smoothed[log.apogeeIndex];
  const double a = log.smoothed[rise - 1], b = log.smoothed[rise];
  log.riseTime = log.time[rise - 1] + (log.time[rise] - log.time[rise - 1]) * (kLaunchRise - a) / (b - a);
  log.apogeeTime = log.time[log.apogeeIndex];
}

}  // namespace

FlightLog ParseFlightLog(std::string_view text, const std::string& fileName, std::optional<HeightUnit> unit) {
  FlightLog log;
  log.fileName = fileName;
  const std::vector<Line> lines = SplitLines(text);
  if (const auto nul = text.find('\0'); nul != std::string_view::npos)
    Fail(fileName,
         static_cast<std::size_t>(
             std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), '\n')) +
             1,
         "keine Textdatei (Binärdaten)");
  const Preamble p = ReadPreamble(lines, fileName);
  log.shape = p.shape;
  const Columns c = ChooseColumns(p, log, fileName);
  if (!log.fileUnit) log.fileUnit = p.unitHint;
  log.unit = log.fileUnit.value_or(unit.value_or(HeightUnit::Metre));
  ReadData(lines, p, c, log, fileName);
  if (log.size() < 3)
    Fail(fileName, log.lastDataLine,
         "zu wenige Messpunkte (" + std::to_string(log.size()) + "); eine Aufzeichnung braucht mindestens 3");
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
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t a = i == 0 ? 0 : i - 1, b = i + 1 == n ? i : i + 1;
    v[i] = (log.smoothed[b] - log.smoothed[a]) / (log.time[b] - log.time[a]);
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

}  // namespace komet
