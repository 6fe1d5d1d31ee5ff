// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/rse_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "motors/eng_curve.h"
#include "motors/eng_import.h"
#include "motors/entry_reader.h"
#include "motors/motor_details.h"
#include "motors/motor_text.h"

namespace komet {
namespace {

constexpr double kGramsPerKg = 1000.0;  // .rse gives masses in grams

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Blanks around a number are allowed, as XML writers put them.
std::optional<double> ParseNumber(std::string_view text) {
  return ParseMotorNumber(Trim(text));
}

// UTF-16 after its byte order mark, as UTF-8 (a lone surrogate becomes
// U+FFFD). Converted here rather than by the XML parser so that line and
// column count in the text we hold.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<std::uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t cp = unit(i);
    if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
        unit(i + 2) < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

// Line and column of a byte offset; a line ends at CR LF, LF or a lone CR,
// as in .eng files.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text) : text_(text) {
    starts_.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
        starts_.push_back(i + 1);
    }
  }

  int line(std::ptrdiff_t offset) const {
    if (offset < 0) return 0;  // the parser does not know: the file as a whole
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), static_cast<std::size_t>(offset));
    return static_cast<int>(it - starts_.begin());
  }

  // 1-based, in characters.
  int column(std::ptrdiff_t offset) const {
    const std::size_t at =
        std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0)), text_.size());
    const std::size_t start = starts_[static_cast<std::size_t>(line(static_cast<std::ptrdiff_t>(at))) - 1];
    return static_cast<int>(Utf8Length(text_.substr(start, at - start))) + 1;
  }

 private:
  std::string_view text_;
  std::vector<std::size_t> starts_;
};

std::string_view XmlFaultText(pugi::xml_parse_status status) {
  static constexpr std::pair<pugi::xml_parse_status, std::string_view> kTexts[] = {
      {pugi::status_bad_pi, "fehlerhafte Verarbeitungsanweisung"},
      {pugi::status_bad_comment, "fehlerhafter Kommentar"},
      {pugi::status_bad_cdata, "fehlerhafter CDATA-Abschnitt"},
      {pugi::status_bad_doctype, "fehlerhafte Dokumenttyp-Deklaration"},
      {pugi::status_bad_pcdata, "fehlerhafter Text"},
      {pugi::status_bad_start_element, "fehlerhaftes Start-Tag"},
      {pugi::status_bad_attribute, "fehlerhaftes Attribut"},
      {pugi::status_bad_end_element, "fehlerhaftes End-Tag"},
      {pugi::status_end_element_mismatch, "End-Tag passt nicht zum Start-Tag"},
      {pugi::status_no_document_element, "kein Wurzelelement"},
      {pugi::status_unrecognized_tag, "unbekanntes Tag"},
  };
  for (const auto& [known, text] : kTexts)
    if (known == status) return text;
  return "nicht lesbar";
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

MotorDetails::Type ParseType(std::string_view text) {
  text = Trim(text);
  if (EqualsNoCase(text, "single-use")) return MotorDetails::Type::SingleUse;
  if (EqualsNoCase(text, "reload") || EqualsNoCase(text, "reloadable")) return MotorDetails::Type::Reload;
  if (EqualsNoCase(text, "hybrid")) return MotorDetails::Type::Hybrid;
  return MotorDetails::Type::Unknown;
}

// One <engine> as it is read; any error rejects it.
struct Engine : MotorEntry {
  int line = 0;
  double publishedImpulse = 0.0;  // 0: none given
  MotorDetails::Type type = MotorDetails::Type::Unknown;
  int dataPoints = 0;
};

// Reads the engines of a parsed document with the same rules and messages as
// the .eng import, each diagnostic at the line of its element.
class RseReader : EntryReader<Engine> {
 public:
  RseReader(std::string_view text, std::string_view fileName, bool cp1252)
      : EntryReader(fileName), lines_(text), cp1252_(cp1252) {}

  MotorImport read(std::string_view text);

 private:
  void readEngine(const pugi::xml_node& node);
  void readHeader(const pugi::xml_node& node);
  void readPoint(const pugi::xml_node& node);
  // The attribute's value, or nothing when the element lacks it.
  std::optional<std::string_view> attribute(const pugi::xml_node& node, const char* name) const;
  // A number attribute; missing: an error when required, else a warning
  // and 0; not a number: an error.
  std::optional<double> number(const pugi::xml_node& node, const char* name, std::string_view what, int line,
                               bool required);
  int lineOf(const pugi::xml_node& node) const { return lines_.line(node.offset_debug()); }
  std::string toRecord(std::string_view raw) const { return cp1252_ ? std::string(raw) : Utf8ToCp1252(raw); }
  std::string display(std::string_view raw) const { return cp1252_ ? Cp1252ToUtf8(raw) : std::string(raw); }

  LineIndex lines_;
  bool cp1252_;
};

MotorImport RseReader::read(std::string_view text) {
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed =
      doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    // One message for the whole file: after the first fault nothing it says is certain.
    const int line = std::max(lines_.line(parsed.offset), 1);
    error(line, Format('.', "kein gültiges XML (Spalte %d: %s)", lines_.column(parsed.offset),
                       XmlFaultText(parsed.status)));
    out_.refused = 1;
    return std::move(out_);
  }
  bool any = false;
  for (const pugi::xml_node node : doc.child("engine-database").child("engine-list").children("engine")) {
    any = true;
    readEngine(node);
  }
  if (!any) {
    error(0, "keine Motordaten gefunden");
    ++out_.refused;
  }
  return std::move(out_);
}

void RseReader::readEngine(const pugi::xml_node& node) {
  entry_.emplace();
  entry_->line = lineOf(node);
  readHeader(node);
  for (const pugi::xml_node point : node.child("data").children("eng-data")) readPoint(point);
  const std::vector<CurvePoint>& points = entry_->points;
  const bool noThrust =
      std::none_of(points.begin(), points.end(), [](const CurvePoint& p) { return p.thrust > 0; });
  if (entry_->dataPoints == 0 || (!entry_->rejected && noThrust))
    error(entry_->line, "Eintrag ohne Datenpunkte");
  if (!entry_->rejected) {
    MotorDetails details;
    details.totalImpulse = entry_->publishedImpulse;
    details.type = entry_->type;
    storeMotor(entry_->line, details);
  } else {
    ++out_.refused;
  }
  entry_.reset();
}

void RseReader::readHeader(const pugi::xml_node& node) {
  Engine& e = *entry_;
  const int line = e.line;
  const std::string_view code = Trim(attribute(node, "code").value_or(""));
  const std::string_view maker = Trim(attribute(node, "mfg").value_or(""));
  if (code.empty()) error(line, "Motorbezeichnung fehlt (Attribut code)");
  if (maker.empty()) warn(line, "Hersteller fehlt (Attribut mfg)");
  e.name = toRecord(code);
  e.maker = toRecord(maker);
  const std::string full = CatalogueName(e.name, e.maker);
  if (full.size() < e.name.size() + (e.maker.empty() ? 0 : 3 + e.maker.size()))
    warn(line, "Name länger als 50 Zeichen, gekürzt auf \"" + Cp1252ToUtf8(full) + "\"");

  // Delays may be listed with blanks ("3, 5"); the .eng rules read the rest.
  std::string delays(attribute(node, "delays").value_or(""));
  std::replace_if(delays.begin(), delays.end(), IsBlank, ',');
  e.delays = ParseEngDelays(delays);
  for (const std::string& token : e.delays.unknown)
    warn(line, "Verzögerung \"" + display(token) + "\" unbekannt, übergangen");
  if (!e.delays.leftOut.empty()) warn(line, LeftOutDelaysText(e.delays));

  e.diameterMm = number(node, "dia", "Durchmesser", line, false).value_or(0.0);
  e.lengthMm = number(node, "len", "Länge", line, false).value_or(0.0);
  const std::optional<double> propellant = number(node, "propWt", "Treibstoffmasse", line, true);
  const std::optional<double> total = number(node, "initWt", "Gesamtmasse", line, true);
  if (propellant && *propellant < 0) error(line, "Treibstoffmasse negativ");
  if (total && *total < 0)
    error(line, "Gesamtmasse negativ");
  else if (propellant && total && *propellant > *total)
    error(line, "Treibstoffmasse größer als Gesamtmasse");
  e.propellantMass = propellant.value_or(0.0) / kGramsPerKg;
  e.totalMass = total.value_or(0.0) / kGramsPerKg;

  // The published total impulse is only a detail: a bad one gives way to the curve's.
  if (const std::optional<std::string_view> itot = attribute(node, "Itot")) {
    if (const std::optional<double> value = ParseNumber(*itot))
      e.publishedImpulse = std::max(*value, 0.0);
    else
      warn(line,
           "Gesamtimpuls \"" + display(*itot) + "\" ist keine gültige Zahl, aus der Schubkurve berechnet");
  }
  e.type = ParseType(attribute(node, "Type").value_or(""));
}

void RseReader::readPoint(const pugi::xml_node& node) {
  const int line = lineOf(node);
  ++entry_->dataPoints;
  const std::optional<double> time = number(node, "t", "Zeit", line, true);
  const std::optional<double> thrust = number(node, "f", "Schub", line, true);
  if (!time || !thrust) return;
  if (const char* problem = AddCurvePoint(entry_->points, {*time, *thrust}))
    std::string_view(problem) == kTimeGoesBack ? warn(line, problem) : error(line, problem);
}

std::optional<std::string_view> RseReader::attribute(const pugi::xml_node& node, const char* name) const {
  const pugi::xml_attribute a = node.attribute(name);
  if (!a) return std::nullopt;
  return std::string_view(a.value());
}

std::optional<double> RseReader::number(const pugi::xml_node& node, const char* name, std::string_view what,
                                        int line, bool required) {
  const std::optional<std::string_view> raw = attribute(node, name);
  if (!raw) {
    const std::string message = std::string(what) + " fehlt (Attribut " + name + ")";
    if (required)
      error(line, message);
    else
      warn(line, message + ", 0 angenommen");
    return std::nullopt;
  }
  const std::optional<double> value = ParseNumber(*raw);
  if (!value) error(line, std::string(what) + " \"" + display(*raw) + "\" ist keine gültige Zahl");
  return value;
}

}  // namespace

MotorImport ParseRse(std::string_view text, std::string_view fileName) {
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  std::string converted;
  if (text.starts_with(kUtf8Bom)) {
    text.remove_prefix(kUtf8Bom.size());
  } else if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
    converted = Utf16ToUtf8(text.substr(2), text[0] == '\xFE');
    text = converted;
  }
  // A file that is not UTF-8 comes from a Windows program, whatever it
  // declares: its names are taken as Windows-1252, as in .eng files.
  RseReader reader(text, fileName, !IsValidUtf8(text));
  return reader.read(text);
}

MotorImport ImportRseFile(const std::filesystem::path& path) {
  return ParseRse(ReadMotorFileText(path, kMaxEngFileBytes), path.filename().string());
}

}  // namespace komet
