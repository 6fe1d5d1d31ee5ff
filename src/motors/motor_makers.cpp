// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_makers.h"

#include <array>
#include <vector>

#include "common/text.h"

namespace komet {
namespace {

struct MakerSpellings {
  MotorMaker maker;
  std::array<std::string_view, 8> aliases;  // besides its two names
};

// The published catalogue's makers, with the other spellings that motor
// files use for them ("ABC" is the name on AMW's cases). "A" and "K" stay
// out: files use them for two makers.
constexpr MakerSpellings kMakers[] = {
    {{"AeroTech", "AeroTech"},
     {"AT", "AERO", "AeroTech Inc", "AeroTech/RCS", "RCS/AeroTech", "AT/RCS", "AT-RMS", "RCS"}},
    {{"Alpha", "Alpha Hybrids"}, {"AHR"}},
    {{"AMW", "Animal Motor Works"}, {"Animal", "AW", "AMW/ProX", "AMW-ProX", "ProX", "ABC"}},
    {{"Apogee", "Apogee Components"}, {"AP"}},
    {{"Cesaroni", "Cesaroni Technology"},
     {"CTI", "Ces", "CSR", "Pro38", "Cesaroni Technology Inc", "Cesaroni Technology Incorporated"}},
    {{"Contrail", "Contrail Rockets"}, {"CR"}},
    {{"Ellis", "Ellis Mountain"}, {"EM"}},
    {{"Estes", "Estes Industries"}, {"E", "ES", "Estes Inc", "Estes Industries Inc"}},
    {{"Gorilla", "Gorilla Rocket Motors"}, {"GR", "GM", "Gorilla Rocket", "Gorilla Motors"}},
    {{"Hypertek", "Hypertek"}, {"HT", "HyperTek"}},
    {{"Jambol", "Jambol Jet"}, {}},
    {{"KBA", "Kosdon by AeroTech"}, {"Kosdon-by-AeroTech"}},
    {{"Kosdon", "Kosdon TRM"}, {"KOS"}},
    {{"Klima", "Raketenmodellbau Klima"}, {"RMK", "Klima GmbH"}},
    {{"Loki", "Loki Research"}, {"LR"}},
    {{"PML", "Public Missiles, Ltd."}, {"Public Missiles", "Public Missiles Ltd"}},
    {{"PP", "Propulsion Polymers"}, {}},
    {{"Quest", "Quest Aerospace"}, {"Q", "QU"}},
    {{"RATT", "R.A.T.T. Works"}, {"RATT Works", "RTW"}},
    {{"Roadrunner", "Roadrunner Rocketry"}, {"RR"}},
    {{"RV", "Rocketvision Flight-Star"}, {"Rocketvision"}},
    {{"SCR", "Southern Cross Rocketry"}, {}},
    {{"SkyR", "Sky Ripper Systems"}, {"SRS", "Sky Ripper", "SkyRipper"}},
    {{"TSP", "Piotr Tendera Rocket Motors"}, {"Tendera"}},
    {{"Ultra", "Ultra Energy Link"}, {}},
    {{"WCH", "West Coast Hybrids"}, {}},
    {{"WECO", "WECO Feuerwerk"}, {"SF", "WECO Feuerwerk GmbH"}},
};

// Letters folded to upper case, blanks, dots and hyphens left out: "Cesaroni
// Technology Inc." and "CESARONI TECHNOLOGY INC" are one spelling.
std::string SpellingKey(std::string_view text) {
  std::string key;
  for (const char c : text) {
    if (c == ' ' || c == '.' || c == '-' || c == ',' || c == '_') continue;
    key += AsciiUpper(c);
  }
  return key;
}

}  // namespace

const MotorMaker* FindMotorMaker(std::string_view spelling) {
  const std::string key = SpellingKey(spelling);
  if (key.empty()) return nullptr;
  for (const MakerSpellings& m : kMakers) {
    if (SpellingKey(m.maker.abbrev) == key || SpellingKey(m.maker.fullName) == key) return &m.maker;
    for (std::string_view alias : m.aliases)
      if (!alias.empty() && SpellingKey(alias) == key) return &m.maker;
  }
  return nullptr;
}

std::string CanonicalMakerName(std::string_view spelling) {
  const MotorMaker* maker = FindMotorMaker(spelling);
  return maker ? std::string(maker->abbrev) : std::string(TrimLine(spelling));
}

std::vector<std::string_view> MakersOfSharedCode(std::string_view spelling) {
  const std::string key = SpellingKey(spelling);
  if (key == "A") return {"AeroTech", "Apogee"};
  if (key == "K") return {"Kosdon", "KBA"};
  return {};
}

std::string MakerFullName(std::string_view maker) {
  const MotorMaker* found = FindMotorMaker(maker);
  return found ? std::string(found->fullName) : std::string(maker);
}

}  // namespace komet
