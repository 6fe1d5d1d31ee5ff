// SPDX-License-Identifier: GPL-3.0-or-later
#include "flightlog/header_facts.h"

#include <array>
#include <cctype>
#include <charconv>

#include "common/text.h"

namespace komet {
namespace {

struct HeightValue {
  double value = 0.0;
  std::optional<HeightUnit> unit;
  bool aboveSea = false;
};

bool IsLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0 || static_cast<unsigned char>(c) >= 0x80;
}

bool Has(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Where a plain decimal number at the start of `s` ends (0: none); a comma
// before three digits is a thousands separator ("2,450 ft").
std::size_t NumberEnd(std::string_view s, double& value) {
  std::string plain;
  std::size_t i = 0;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) plain += s[i++];
  const auto digit = [&s](std::size_t k) {
    return k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]));
  };
  for (; i < s.size(); ++i) {
    const bool thousands = s[i] == ',' && digit(i + 1) && digit(i + 2) && digit(i + 3) && !digit(i + 4);
    if (!digit(i) && s[i] != '.' && !thousands) break;
    if (!thousands) plain += s[i];
  }
  const char* begin = plain.data() + (!plain.empty() && plain[0] == '+' ? 1 : 0);
  const auto [ptr, ec] = std::from_chars(begin, plain.data() + plain.size(), value);
  return ec == std::errc() && ptr == plain.data() + plain.size() ? i : 0;
}

// The unit word at the start of `rest` (lowered), if a whole word.
std::optional<HeightUnit> UnitWord(std::string_view rest, std::size_t& length) {
  static constexpr std::array<std::pair<std::string_view, HeightUnit>, 11> kWords{{
      {"feet", HeightUnit::Foot},
      {"foot", HeightUnit::Foot},
      {"fu\xC3\x9f", HeightUnit::Foot},
      {"fuss", HeightUnit::Foot},
      {"ft", HeightUnit::Foot},
      {"'", HeightUnit::Foot},
      {"meters", HeightUnit::Metre},
      {"metres", HeightUnit::Metre},
      {"meter", HeightUnit::Metre},
      {"metre", HeightUnit::Metre},
      {"m", HeightUnit::Metre},
  }};
  for (const auto& [word, unit] : kWords) {
    if (!rest.starts_with(word)) continue;
    const std::string_view after = rest.substr(word.size());
    if (!after.empty() && (IsLetter(after[0]) || after[0] == '/')) continue;  // "min", "m/s", "ft/s"
    length = word.size();
    return unit;
  }
  return std::nullopt;
}

// "2450' AGL", "745 m", "850 ft MSL", "2450".
std::optional<HeightValue> ReadHeightValue(std::string_view text) {
  text = Trim(text);
  HeightValue h;
  const std::size_t end = NumberEnd(text, h.value);
  if (end == 0) return std::nullopt;
  const std::string rest = AsciiLowered(Trim(text.substr(end)));
  std::size_t length = 0;
  h.unit = UnitWord(rest, length);
  const std::string_view tail = std::string_view(rest).substr(length);
  if (!h.unit && !Trim(tail).empty() && !Has(tail, "agl") && !Has(tail, "msl")) return std::nullopt;
  h.aboveSea = Has(tail, "msl") || Has(tail, "asl") || Has(tail, "nn");
  return h;
}

bool MeansApogee(std::string_view key) {
  for (std::string_view w : {"apogee", "apog\xC3\xA4um", "gipfel", "peak"})
    if (Has(key, w)) return true;
  return Has(key, "max") &&
         (Has(key, "alt") || Has(key, "height") || Has(key, "h\xC3\xB6he") || Has(key, "hoehe"));
}

bool MeansGround(std::string_view key) {
  return Has(key, "ground") || Has(key, "elevation") || Has(key, "launch site") || Has(key, "pad alt");
}

bool MeansHeight(std::string_view key) {
  for (std::string_view w : {"alt", "height", "h\xC3\xB6he", "hoehe", "deploy", "main", "drogue"})
    if (Has(key, w)) return true;
  return MeansApogee(key) || MeansGround(key);
}

void NoteUnit(HeightUnit unit, std::string_view line, HeaderFacts& f) {
  if (f.keyUnit && *f.keyUnit != unit) f.keyUnitsDisagree = true;
  if (!f.keyUnit) f.keyLine = std::string(Trim(line).substr(0, 60));
  f.keyUnit = unit;
}

// What a unit key's value says: "ft", "Feet", "m", "Meter", "F".
void TakeUnitKey(std::string_view key, std::string_view value, std::string_view line, HeaderFacts& f) {
  const std::string v = AsciiLowered(Trim(value));
  if (Has(key, "temp")) {
    f.fahrenheit = f.fahrenheit || v.starts_with("f") ||
                   Has(v,
                       "\xC2\xB0"
                       "f");
  } else if (v.starts_with("f")) {
    NoteUnit(HeightUnit::Foot, line, f);
  } else if (v.starts_with("m")) {
    NoteUnit(HeightUnit::Metre, line, f);
  }
}

// The unit in a column's name, after the bare name: "(°F)", "_f", " F".
std::string UnitPart(std::string_view name) {
  const std::string low = AsciiLowered(Trim(name));
  const std::size_t cut = low.find_first_of("_([ ");
  std::string unit;
  if (cut == std::string::npos) return unit;
  for (std::size_t i = cut; i < low.size(); ++i)
    if (std::string_view("_()[] .").find(low[i]) == std::string_view::npos) unit += low[i];
  return unit;
}

}  // namespace

void TakeKeyValue(std::string_view key, std::string_view value, std::string_view line, HeaderFacts& f) {
  const std::string k = AsciiLowered(Trim(key));
  if (Has(k, "unit") || Has(k, "einheit")) return TakeUnitKey(k, value, line, f);
  const std::optional<HeightValue> h = ReadHeightValue(value);
  if (Has(k, "temp")) {
    f.fahrenheit = f.fahrenheit || IsFahrenheitValue(Trim(value)) || NamesFahrenheit(key);
    return;
  }
  if (!h) return;
  std::optional<HeightUnit> unit = h->unit;
  if (!unit && MeansHeight(k)) unit = UnitInName(key);
  if (unit) NoteUnit(*unit, line, f);
  if (MeansApogee(k) && !f.reportedApogee) {
    f.reportedApogee = h->value;
    f.reportedUnit = unit;
    f.reportedAboveSea = h->aboveSea;
  } else if (MeansGround(k) && !f.groundElevation) {
    f.groundElevation = h->value;
    f.groundUnit = unit;
  }
}

void TakeProductLine(std::string_view line, HeaderFacts& f) {
  // Barometric altimeters whose exports are in feet unless set otherwise.
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kFamilies{{
      {"perfectflite", "PerfectFlite"},
      {"stratologger", "StratoLogger"},
      {"pnut", "Pnut"},
      {"missileworks", "Missile Works"},
      {"missile works", "Missile Works"},
      {"rrc3", "RRC3"},
      {"rrc2", "RRC2"},
      {"eggtimer", "Eggtimer"},
      {"featherweight", "Featherweight"},
  }};
  if (f.productUnit) return;
  const std::string low = AsciiLowered(line);
  for (const auto& [token, name] : kFamilies) {
    if (!Has(low, token)) continue;
    f.productUnit = HeightUnit::Foot;
    f.product = name;
    return;
  }
}

std::optional<HeightUnit> UnitInName(std::string_view name) {
  const std::string low = AsciiLowered(Trim(name));
  for (std::string_view ft : {"_ft", "(ft)", "[ft]", "'", " ft", "feet", "fuss", "fu\xC3\x9f"})
    if (Has(low, ft)) return HeightUnit::Foot;
  for (std::string_view m : {"_m", "(m)", "[m]", " m", "meter", "metre"})
    if (Has(low, m) && low.find(m) + m.size() == low.size()) return HeightUnit::Metre;
  for (std::string_view m : {"(m)", "[m]", "meter", "metre"})
    if (Has(low, m)) return HeightUnit::Metre;
  return std::nullopt;
}

bool NamesFahrenheit(std::string_view columnName) {
  const std::string low = AsciiLowered(columnName);
  if (Has(low, "fahrenheit")) return true;
  if (!Has(low, "temp")) return false;
  const std::string unit = UnitPart(columnName);
  return unit == "f" ||
         unit ==
             "\xC2\xB0"
             "f" ||
         unit ==
             "\xB0"
             "f" ||
         unit == "degf";
}

bool IsFahrenheitValue(std::string_view field) {
  double value = 0.0;
  const std::size_t end = NumberEnd(field, value);
  if (end == 0) return false;
  std::string_view unit = Trim(field.substr(end));
  if (unit.starts_with("\xC2\xB0"))
    unit.remove_prefix(2);
  else if (unit.starts_with("\xB0"))
    unit.remove_prefix(1);
  return unit == "F" || unit == "f";
}

}  // namespace komet
