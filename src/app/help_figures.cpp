// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_figures.h"

#include <cstdlib>

#include "common/format.h"
#include "common/user_folders.h"
#include "dialogs/settings.h"
#include "sim/flight_safety.h"
#include "sim/remedies.h"
#include "sim/sim_constants.h"

namespace komet {
namespace {

std::string Number(double v, int decimals = 0) {
  return Format(',', decimals == 0 ? "%.0f" : "%.1f", v);
}

std::string Shown(const std::filesystem::path& path) {
  const std::string p = path.string();
  const char* home = std::getenv("HOME");
  const std::string h = home && *home == '/' ? home : "";
  return !h.empty() && p.starts_with(h + "/") ? "~" + p.substr(h.size()) : p;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> HelpFigures() {
  return {
      {"railExitSpeed", Number(kMinRailExitSpeed)},
      {"maxRemedyRail", Number(kMaxRemedyRail, 1)},
      {"machFraction", Number(kMaxMachFraction, 1)},
      {"maxModelSpeed", Number(kMaxModelSpeed)},
      {"speedOfSound", Number(kSpeedOfSound)},
      {"ejectionSpeed", Number(kMaxEjectionSpeed)},
      {"thrustToWeight", Number(kMinThrustToWeight)},
      {"maxAccelG", Number(kMaxAccelerationG)},
      // The stability rules' labels with their figures, as the guide's tooltips show them.
      {"unstableLabel", RuleLabel(SafetyRuleId::Unstable, ',')},
      {"marginalLabel", RuleLabel(SafetyRuleId::MarginallyStable, ',')},
      {"overStableLabel", RuleLabel(SafetyRuleId::OverStable, ',')},
      {"siteAltitudeMin", Number(kSiteAltitude.min)},
      {"siteAltitudeMax", Number(kSiteAltitude.max)},
      {"siteTemperatureMin", Number(kSiteTemperature.min)},
      {"siteTemperatureMax", Number(kSiteTemperature.max)},
      {"siteWindMin", Number(kSiteWind.min)},
      {"siteWindMax", Number(kSiteWind.max)},
      {"fieldRadius", Number(kDefaultFieldRadius)},
      {"fieldRadiusMin", Number(kFieldRadius.min)},
      {"fieldRadiusMax", Number(kFieldRadius.max)},
      {"fieldCeilingMax", Number(kFieldCeiling.max)},
      {"configFolder", Shown(UserConfigFolder())},
      {"settingsFile", Shown(UserSettingsFile())},
      // Where QSettings kept them for the organisation and program names of earlier versions.
      {"earlierSettingsFile", Shown(UserConfigFolder().parent_path() / "Tarvo" / "BrixKomet.conf")},
      {"dataFolder", Shown(UserDataFolder())},
      {"personalDatabase", Shown(UserDataFolder() / kPersonalDatabaseName)},
  };
}

std::string FillHelpFigures(std::string html) {
  for (const auto& [name, value] : HelpFigures()) {
    const std::string key = "{{" + name + "}}";
    for (auto at = html.find(key); at != std::string::npos; at = html.find(key, at + value.size()))
      html.replace(at, key.size(), value);
  }
  return html;
}

}  // namespace komet
