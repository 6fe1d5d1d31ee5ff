// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sim_args.h"

#include <charconv>
#include <cmath>

#include "common/komet_error.h"
#include "dialogs/options_record.h"

namespace komet {
namespace {

using SimOption = CliOption<SimArgs>;

// A finite number in the C locale's form, the whole text.
std::optional<double> StrictNumber(const std::string& text) {
  double v = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

void ParseSize(const std::string& text, SimArgs& a) {
  int w = 0, h = 0;
  const auto x = text.find('x');
  auto num = [](std::string_view s, int& v) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size() && v > 0 && v <= 20000;
  };
  if (x == std::string::npos || !num(std::string_view(text).substr(0, x), w) ||
      !num(std::string_view(text).substr(x + 1), h))
    throw UsageError{"--size: \"" + text + "\" ist keine Größe wie 639x351"};
  for (ExportRequest& e : a.exports) e.width = w, e.height = h;
}

// "de" or "en", for the option `name`.
bool IsGerman(std::string_view name, const std::string& text) {
  if (text != "de" && text != "en")
    throw UsageError{std::string(name) + ": \"" + text + "\" ist weder de noch en"};
  return text == "de";
}

SimOption Picture(std::string_view name, ExportRequest::Kind kind) {
  return {name, true, [kind](SimArgs& a, const std::string& v) { a.exports.push_back({kind, v}); }};
}

double AsGiven(double v) {
  return v;
}

SimOption Override(std::string_view name, double ConstantValues::*field, double (*adjust)(double) = AsGiven) {
  return {name, true, [name, field, adjust](SimArgs& a, const std::string& text) {
            const auto v = StrictNumber(text);
            if (!v) throw UsageError{std::string(name) + ": \"" + text + "\" ist keine Zahl"};
            a.overrides.emplace_back(field, adjust(*v));
          }};
}

void ApplyCurves(SimArgs& a, const std::string& text) {
  const auto parsed = ParseCurves(text);
  if (!parsed) throw UsageError{"--curves: \"" + text + "\" ist unbekannt (Buchstaben aus hvaSF, brenn)"};
  a.switches = *parsed;
}

const std::vector<SimOption>& SimOptions() {
  using Kind = ExportRequest::Kind;
  static const std::vector<SimOption> table = {
      {"--raw", false, [](SimArgs& a, const std::string&) { a.raw = true; }},
      {"--summary-line", false, [](SimArgs& a, const std::string&) { a.summaryLine = true; }},
      {"--locale", true,
       [](SimArgs& a, const std::string& v) { a.decimalSeparator = IsGerman("--locale", v) ? ',' : '.'; }},
      {"--db", true, [](SimArgs& a, const std::string& v) { a.db = v; }},
      {"--options", true, [](SimArgs& a, const std::string& v) { a.options = v; }},
      {"--csv", true, [](SimArgs& a, const std::string& v) { a.csv = v; }},
      {"--json", true, [](SimArgs& a, const std::string& v) { a.json = v; }},
      Picture("--png", Kind::Png),
      Picture("--svg", Kind::Svg),
      Picture("--pdf", Kind::Pdf),
      {"--size", true, [](SimArgs& a, const std::string& v) { a.size = v; }},
      {"--csv-locale", true,
       [](SimArgs& a, const std::string& v) {
         a.csvLocale = IsGerman("--csv-locale", v) ? kGermanCsv : kEnglishCsv;
       }},
      {"--curves", true, ApplyCurves},
      Override("--gravity", &ConstantValues::gravity),
      Override("--air-density", &ConstantValues::airDensity),
      Override("--rail-length", &ConstantValues::railLength),
      Override("--rail-friction", &ConstantValues::railFriction),
      // A period the settings dialog would refuse is refused here the same way.
      Override("--period", &ConstantValues::calcPeriod, ClampCalcPeriod),
  };
  return table;
}

void TakeRocket(SimArgs& a, const std::string& arg) {
  if (!arg.empty() && arg[0] == '-' && arg != "-") throw UsageError{"unbekannte Option " + arg};
  if (!a.rocket.empty()) throw UsageError{"nur eine Raketendatei, nicht auch \"" + arg + "\""};
  a.rocket = arg;
}

void ApplyDiameter(GuideArgs& g, const std::string& text) {
  const std::optional<double> mm = StrictNumber(text);
  if (!mm || *mm < 0) throw UsageError{"--diameter: \"" + text + "\" ist kein Durchmesser in mm"};
  g.filter.maxDiameterMm = *mm;
  g.diameterGiven = true;
}

// A limit in the given unit, 0 or more.
CliOption<GuideArgs> Limit(std::string_view name, const char* unit, double GuideFilter::*field) {
  return {name, true, [name, unit, field](GuideArgs& g, const std::string& v) {
            const std::optional<double> x = StrictNumber(v);
            if (!x || *x < 0)
              throw UsageError{std::string(name) + ": \"" + v + "\" ist keine Zahl in " + unit +
                               " (0 oder mehr)"};
            g.filter.*field = *x;
          }};
}

void ApplyHeightLimit(GuideArgs& g, const std::string& text) {
  const std::optional<double> m = StrictNumber(text);
  if (!m || *m <= 0) throw UsageError{"--height-limit: \"" + text + "\" ist keine Höhe in m"};
  g.safety.heightLimit = *m;
}

void ApplyClasses(GuideArgs& g, const std::string& text) {
  try {
    ParseClassRange(text, g.filter);
  } catch (const KometError& e) {
    throw UsageError{std::string("--class: ") + e.what()};
  }
}

// The flight's options that take a value: their value must not be taken for
// the rocket.
CliOption<GuideArgs> PassOn(std::string_view name) {
  return {name, true, [name](GuideArgs& g, const std::string& v) {
            g.rest.insert(g.rest.end(), {std::string(name), v});
          }};
}

const std::vector<CliOption<GuideArgs>>& GuideOptions() {
  static const std::vector<CliOption<GuideArgs>> table = {
      {"--class", true, ApplyClasses},
      {"--maker", true, [](GuideArgs& g, const std::string& v) { g.filter.maker = v; }},
      {"--diameter", true, ApplyDiameter},
      Limit("--length", "mm", &GuideFilter::maxLengthMm),
      Limit("--min-apogee", "m", &GuideFilter::minApogee),
      Limit("--max-apogee", "m", &GuideFilter::maxApogee),
      Limit("--max-speed", "m/s", &GuideFilter::maxVelocity),
      {"--height-limit", true, ApplyHeightLimit},
      {"--green", false, [](GuideArgs& g, const std::string&) { g.filter.onlyGreen = true; }},
      {"--csv", true, [](GuideArgs& g, const std::string& v) { g.csv = v; }},
      {"--json", true, [](GuideArgs& g, const std::string& v) { g.json = v; }},
      PassOn("--db"),
      PassOn("--options"),
  };
  return table;
}

}  // namespace

SimArgs ParseSimArgs(const std::vector<std::string>& args) {
  SimArgs a;
  ParseCliOptions<SimArgs>(args, SimOptions(), a, TakeRocket);
  if (a.rocket.empty()) throw UsageError{"keine Raketendatei angegeben"};
  if (a.size) ParseSize(*a.size, a);
  return a;
}

ConstantValues ResolveConstants(const SimArgs& a, const std::filesystem::path& defaultOptionsFile) {
  std::optional<OptionsRecord> options;
  if (a.options) {
    options = ReadOptionsFile(*a.options);
    if (!options) throw UsageError{a.options->string() + ": keine gültige Optionsdatei (KOMET.OPT)"};
  } else if (!defaultOptionsFile.empty()) {
    options = ReadOptionsFile(defaultOptionsFile);
  }
  ConstantValues c = options ? ConstantsFrom(*options) : ConstantValues{};
  for (const auto& [field, v] : a.overrides) c.*field = v;
  return c;
}

GuideArgs ParseGuideArgs(const std::vector<std::string>& args) {
  GuideArgs g;
  ParseCliOptions<GuideArgs>(std::span(args).subspan(1), GuideOptions(), g,
                             [](GuideArgs& into, const std::string& arg) { into.rest.push_back(arg); });
  g.sim = ParseSimArgs(g.rest);
  return g;
}

}  // namespace komet
