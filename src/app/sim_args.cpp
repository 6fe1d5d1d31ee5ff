// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sim_args.h"

#include <charconv>
#include <cmath>

#include "common/format.h"
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

// "A,B": two numbers; nothing for anything else.
std::optional<std::pair<double, double>> NumberPair(std::string_view text, char between) {
  const auto at = text.find(between);
  if (at == std::string_view::npos) return std::nullopt;
  const auto a = StrictNumber(std::string(text.substr(0, at)));
  const auto b = StrictNumber(std::string(text.substr(at + 1)));
  if (!a || !b) return std::nullopt;
  return std::pair{*a, *b};
}

// "parachute:DIAMETER[,CW]" or "streamer:LENGTHxWIDTH[,CW]"; without a cw
// the canopy's usual one, or the streamer rule's for its length. The
// ranges are checked once the deployment is known.
void ApplyRecovery(SimArgs& a, const std::string& text) {
  const auto bad = [&] {
    return UsageError{"--recovery: \"" + text +
                      "\" ist weder parachute:DURCHMESSER_MM[,CW] noch streamer:LÄNGE_MMxBREITE_MM[,CW]"};
  };
  const auto colon = text.find(':');
  if (colon == std::string::npos) throw bad();
  const std::string kind = text.substr(0, colon);
  std::string sizes = text.substr(colon + 1);
  std::optional<double> cw;
  if (const auto comma = sizes.find(','); comma != std::string::npos) {
    cw = StrictNumber(sizes.substr(comma + 1));
    if (!cw) throw bad();
    sizes.resize(comma);
  }
  Recovery r;
  if (kind == "parachute") {
    const auto diameter = StrictNumber(sizes);
    if (!diameter) throw bad();
    r.kind = Recovery::Kind::Parachute;
    r.diameterMm = *diameter;
    r.cw = cw.value_or(kDefaultChuteCw);
  } else if (kind == "streamer") {
    const auto size = NumberPair(sizes, 'x');
    if (!size) throw bad();
    r.kind = Recovery::Kind::Streamer;
    r.lengthMm = size->first;
    r.widthMm = size->second;
    r.cw = cw.value_or(StreamerCw(r.lengthMm));
  } else {
    throw bad();
  }
  a.recovery = r;
}

void ApplyDeploy(SimArgs& a, const std::string& text) {
  if (text == "apogee") {
    a.deploy = DeployChoice{Recovery::Deployment::Apogee, 0.0};
    return;
  }
  const std::optional<double> delay =
      text.starts_with("delay:") ? StrictNumber(text.substr(6)) : std::optional<double>();
  if (!delay) throw UsageError{"--deploy: \"" + text + "\" ist weder delay:SEKUNDEN noch apogee"};
  a.deploy = DeployChoice{Recovery::Deployment::Delay, *delay};
}

bool InRange(double v, SiteRange range) {
  return v >= range.min && v <= range.max;
}

void ApplyWind(SimArgs& a, const std::string& text) {
  const std::optional<double> wind = StrictNumber(text);
  if (!wind || !InRange(*wind, kSiteWind))
    throw UsageError{Format('.', "--wind: \"%s\" ist keine Windgeschwindigkeit von %.0f bis %.0f m/s", text,
                            kSiteWind.min, kSiteWind.max)};
  a.wind = *wind;
}

void ApplyIsa(SimArgs& a, const std::string& text) {
  const auto site = NumberPair(text, ',');
  if (!site || !InRange(site->first, kSiteAltitude) || !InRange(site->second, kSiteTemperature))
    throw UsageError{Format('.',
                            "--isa: \"%s\" ist nicht HÖHE,TEMPERATUR mit der Höhe des Startplatzes von %.0f "
                            "bis %.0f m und der Temperatur am Boden von %.0f bis %.0f °C",
                            text, kSiteAltitude.min, kSiteAltitude.max, kSiteTemperature.min,
                            kSiteTemperature.max)};
  a.isa = *site;
}

void ApplyFieldRadius(SimArgs& a, const std::string& text) {
  const std::optional<double> m = StrictNumber(text);
  if (!m || !InRange(*m, kFieldRadius))
    throw UsageError{Format('.', "--field-radius: \"%s\" ist kein Radius des Feldes von %.0f bis %.0f m",
                            text, kFieldRadius.min, kFieldRadius.max)};
  a.fieldRadius = *m;
}

// --ceiling, and --height-limit as the guide called it before.
SimOption Ceiling(std::string_view name) {
  return {name, true, [name](SimArgs& a, const std::string& text) {
            const std::optional<double> m = StrictNumber(text);
            if (!m || !InRange(*m, kFieldCeiling))
              throw UsageError{Format('.', "%s: \"%s\" ist keine Höhengrenze von %.0f bis %.0f m (0: keine)",
                                      std::string(name), text, kFieldCeiling.min, kFieldCeiling.max)};
            a.ceiling = *m;
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
      {"--recovery", true, ApplyRecovery},
      {"--deploy", true, ApplyDeploy},
      {"--wind", true, ApplyWind},
      {"--isa", true, ApplyIsa},
      {"--no-site", false, [](SimArgs& a, const std::string&) { a.noSite = true; }},
      {"--field-radius", true, ApplyFieldRadius},
      Ceiling("--ceiling"),
      Ceiling("--height-limit"),
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

void ApplyLength(GuideArgs& g, const std::string& text) {
  const std::optional<double> mm = StrictNumber(text);
  if (!mm || *mm < 0) throw UsageError{"--length: \"" + text + "\" ist keine Länge in mm (0 oder mehr)"};
  g.filter.maxLengthMm = *mm;
  g.lengthGiven = true;
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
      {"--length", true, ApplyLength},
      Limit("--min-apogee", "m", &GuideFilter::minApogee),
      Limit("--max-apogee", "m", &GuideFilter::maxApogee),
      Limit("--max-speed", "m/s", &GuideFilter::maxVelocity),
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

LaunchSite ResolveSite(const SimArgs& a, const LaunchSite& saved) {
  LaunchSite site = a.noSite ? LaunchSite{} : saved;
  if (a.isa) {
    site.standardAtmosphere = true;
    site.altitude = a.isa->first;
    site.temperature = a.isa->second;
  }
  if (a.wind) site.wind = *a.wind;
  return site;
}

LaunchField ResolveField(const SimArgs& a, const LaunchField& saved) {
  LaunchField field = a.noSite ? LaunchField{} : saved;
  if (a.fieldRadius) field.radius = *a.fieldRadius;
  if (a.ceiling) field.ceiling = *a.ceiling;
  return field;
}

std::optional<Recovery> ResolveRecovery(const SimArgs& a, const std::optional<Recovery>& own) {
  if (!a.recovery && !a.deploy) return own;
  if (!a.recovery && !own) throw UsageError{"--deploy: die Rakete hat keine Bergung, und --recovery fehlt"};
  if (!a.deploy && !own)
    throw UsageError{
        "--recovery: die Rakete hat keine Bergung, daher fehlt --deploy delay:SEKUNDEN oder apogee"};
  Recovery r = a.recovery.value_or(*own);
  if (a.recovery && own) {
    r.deployment = own->deployment;
    r.delay = own->delay;
    r.inflationTime = own->inflationTime;
  }
  if (a.deploy) {
    r.deployment = a.deploy->deployment;
    // Opening at apogee keeps the delay the rocket had, as the block does.
    if (a.deploy->deployment == Recovery::Deployment::Delay) r.delay = a.deploy->delay;
  }
  if (const std::string problem = RecoveryProblem(r, '.'); !problem.empty())
    throw UsageError{"ungültige Bergung: " + problem};
  return r;
}

GuideArgs ParseGuideArgs(const std::vector<std::string>& args) {
  GuideArgs g;
  ParseCliOptions<GuideArgs>(std::span(args).subspan(1), GuideOptions(), g,
                             [](GuideArgs& into, const std::string& arg) { into.rest.push_back(arg); });
  g.sim = ParseSimArgs(g.rest);
  return g;
}

}  // namespace komet
