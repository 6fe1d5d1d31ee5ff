// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/catalogue_source.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <optional>

#include "common/format.h"
#include "common/komet_error.h"
#include "common/text.h"
#include "common/win1252.h"
#include "motors/eng_curve.h"
#include "motors/eng_import.h"
#include "motors/motor_details.h"

namespace komet {
namespace {

// Shortest text that reads back to the same double.
std::string Number(double value) {
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : "0";
}

std::optional<MotorDetails::Type> TypeFromText(std::string_view text) {
  for (auto type : {MotorDetails::Type::Unknown, MotorDetails::Type::SingleUse, MotorDetails::Type::Reload,
                    MotorDetails::Type::Hybrid})
    if (MotorTypeText(type) == text) return type;
  return std::nullopt;
}

// One block as it is read; a motor once its "motor" line was seen.
class BlockReader {
 public:
  void line(std::string_view text, int number);
  void finish(std::vector<MotorRecord>& out);

 private:
  void key(std::string_view key, std::string_view value);
  double number(std::string_view value) const;
  std::vector<CurvePoint> curve(std::string_view value) const;
  [[noreturn]] void fail(const std::string& message) const;

  int line_ = 0;
  int startLine_ = 0;
  std::optional<std::string> name_;
  MotorDetails details_;
  EngDelays delays_;
  double propellant_ = 0.0, total_ = 0.0;
  std::vector<CurvePoint> points_;
};

void BlockReader::line(std::string_view text, int number) {
  line_ = number;
  text = TrimLine(text);
  if (text.empty() || text.front() == '#') return;
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) fail("\"Schlüssel = Wert\" erwartet");
  key(TrimLine(text.substr(0, eq)), TrimLine(text.substr(eq + 1)));
}

void BlockReader::key(std::string_view key, std::string_view value) {
  if (key == "motor") {
    if (name_) fail("Leerzeile vor dem nächsten Motor fehlt");
    name_ = Utf8ToCp1252(value);
    startLine_ = line_;
    return;
  }
  if (!name_) fail("\"motor = NAME\" erwartet");
  const std::map<std::string_view, std::function<void()>> keys = {
      {"maker", [&] { details_.maker = Utf8ToCp1252(value); }},
      {"designation", [&] { details_.designation = Utf8ToCp1252(value); }},
      {"type",
       [&] {
         const auto type = TypeFromText(value);
         if (!type) fail(Concat({"Motortyp \"", value, "\" unbekannt"}));
         details_.type = *type;
       }},
      {"diameter_mm", [&] { details_.diameterMm = number(value); }},
      {"length_mm", [&] { details_.lengthMm = number(value); }},
      {"impulse_ns", [&] { details_.totalImpulse = number(value); }},
      {"delays", [&] { delays_ = ParseEngDelays(value); }},
      {"propellant_kg", [&] { propellant_ = number(value); }},
      {"total_kg", [&] { total_ = number(value); }},
      {"source", [&] { details_.source = Utf8ToCp1252(value); }},
      {"common", [&] { details_.commonName = Utf8ToCp1252(value); }},
      {"also", [&] { details_.alsoSoldAs = Utf8ToCp1252(value); }},
      {"check", [&] { details_.dataCheck = Utf8ToCp1252(value); }},
      {"curve", [&] { points_ = curve(value); }},
  };
  const auto it = keys.find(key);
  if (it == keys.end()) fail(Concat({"unbekannter Schlüssel \"", key, "\""}));
  it->second();
}

void BlockReader::finish(std::vector<MotorRecord>& out) {
  if (!name_) return;
  if (points_.size() < 2) {
    line_ = startLine_;
    fail("Motor ohne Schubkurve");
  }
  details_.delays = delays_.all;
  details_.plugged = delays_.plugged;
  details_.booster = delays_.booster;
  out.push_back(MakeMotorRecord(*name_, propellant_, total_, delays_.delays, points_, details_));
  *this = BlockReader();
}

double BlockReader::number(std::string_view value) const {
  double v = 0.0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
  if (ec != std::errc() || end != value.data() + value.size() || !std::isfinite(v))
    fail(Concat({"\"", value, "\" ist keine gültige Zahl"}));
  return v;
}

std::vector<CurvePoint> BlockReader::curve(std::string_view value) const {
  std::vector<CurvePoint> points;
  while (!value.empty()) {
    const std::size_t semi = value.find(';');
    const std::string_view pair = TrimLine(value.substr(0, semi));
    value = semi == std::string_view::npos ? std::string_view() : value.substr(semi + 1);
    const std::size_t blank = pair.find(' ');
    if (blank == std::string_view::npos) fail(Concat({"Kurvenpunkt \"", pair, "\" braucht Zeit und Schub"}));
    points.push_back({number(pair.substr(0, blank)), number(TrimLine(pair.substr(blank + 1)))});
  }
  if (points.size() > MotorRecord::kCurvePoints) fail("mehr als 101 Kurvenpunkte");
  return points;
}

void BlockReader::fail(const std::string& message) const {
  throw KometError(KometError::Kind::Format, "Zeile " + std::to_string(line_) + ": " + message);
}

}  // namespace

std::string WriteCatalogueSource(std::span<const MotorRecord> motors) {
  std::string text = "# Komet-Motorkatalog: Namen, Hersteller und Zahlen der veröffentlichten Schubkurven\n";
  for (const MotorRecord& m : motors) {
    const MotorDetails d = ReadMotorDetails(m).value_or(MotorDetails{});
    text += "\nmotor = " + Cp1252ToUtf8(m.name.view()) + "\n";
    text += "maker = " + Cp1252ToUtf8(d.maker) + "\n";
    text += "designation = " + Cp1252ToUtf8(d.designation) + "\n";
    text += Concat({"type = ", MotorTypeText(d.type), "\n"});
    text += "diameter_mm = " + Number(d.diameterMm) + "\n";
    text += "length_mm = " + Number(d.lengthMm) + "\n";
    text += "impulse_ns = " + Number(d.totalImpulse) + "\n";
    text += "delays = " + DelayCodes(d.delays, d.booster, d.plugged) + "\n";
    text += "propellant_kg = " + Number(m.propellantMass) + "\n";
    text += "total_kg = " + Number(m.totalMass) + "\n";
    text += "source = " + Cp1252ToUtf8(d.source) + "\n";
    if (!d.commonName.empty()) text += "common = " + Cp1252ToUtf8(d.commonName) + "\n";
    if (!d.alsoSoldAs.empty()) text += "also = " + Cp1252ToUtf8(d.alsoSoldAs) + "\n";
    if (!d.dataCheck.empty()) text += "check = " + Cp1252ToUtf8(d.dataCheck) + "\n";
    text += "curve =";
    for (std::size_t k = 0; k < CurvePointCount(m); ++k)
      text += (k == 0 ? " " : "; ") + Number(m.curveTime[k]) + " " + Number(m.curveThrust[k]);
    text += "\n";
  }
  return text;
}

std::vector<MotorRecord> ReadCatalogueSource(std::string_view text) {
  std::vector<MotorRecord> motors;
  BlockReader block;
  int number = 1;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (TrimLine(line).empty())
      block.finish(motors);
    else
      block.line(line, number);
    ++number;
  }
  block.finish(motors);
  return motors;
}

}  // namespace komet
