#include "motors/motor_makers.h"

#include <array>

#include "common/trim.h"

namespace komet {
namespace {

struct MakerSpellings {
  MotorMaker maker;
  std::array<std::string_view, 6> aliases;  // besides its two names
};

// The published catalogue's makers, with the other spellings that motor
// files use for them.
constexpr MakerSpellings kMakers[] = {
    {{"AeroTech", "AeroTech"}, {"AT", "Aerotech", "AeroTech Inc", "AeroTech/RCS", "RCS"}},
    {{"Alpha", "Alpha Hybrids"}, {}},
    {{"AMW", "Animal Motor Works"}, {"Animal"}},
    {{"Apogee", "Apogee Components"}, {"AP"}},
    {{"Cesaroni", "Cesaroni Technology"},
     {"CTI", "Cesaroni Technology Inc", "Cesaroni Technology Incorporated"}},
    {{"Contrail", "Contrail Rockets"}, {"CR"}},
    {{"Ellis", "Ellis Mountain"}, {"EM"}},
    {{"Estes", "Estes Industries"}, {"ES", "Estes Inc"}},
    {{"Gorilla", "Gorilla Rocket Motors"}, {"GR", "Gorilla Rocket"}},
    {{"Hypertek", "Hypertek"}, {"HT", "HyperTek"}},
    {{"Jambol", "Jambol Jet"}, {}},
    {{"KBA", "Kosdon by AeroTech"}, {"Kosdon-by-AeroTech"}},
    {{"Kosdon", "Kosdon TRM"}, {"KOS"}},
    {{"Klima", "Raketenmodellbau Klima"}, {"RMK", "Klima GmbH"}},
    {{"Loki", "Loki Research"}, {"LR"}},
    {{"PML", "Public Missiles, Ltd."}, {"Public Missiles", "Public Missiles Ltd"}},
    {{"PP", "Propulsion Polymers"}, {}},
    {{"Quest", "Quest Aerospace"}, {"Q", "QU"}},
    {{"RATT", "R.A.T.T. Works"}, {"RATT Works"}},
    {{"Roadrunner", "Roadrunner Rocketry"}, {"RR"}},
    {{"RV", "Rocketvision Flight-Star"}, {"Rocketvision"}},
    {{"SCR", "Southern Cross Rocketry"}, {}},
    {{"SkyR", "Sky Ripper Systems"}, {"Sky Ripper", "SkyRipper"}},
    {{"TSP", "Piotr Tendera Rocket Motors"}, {"Tendera"}},
    {{"Ultra", "Ultra Energy Link"}, {}},
    {{"WCH", "West Coast Hybrids"}, {}},
    {{"WECO", "WECO Feuerwerk"}, {"WECO Feuerwerk GmbH"}},
};

// Letters folded to upper case, blanks, dots and hyphens left out: "Cesaroni
// Technology Inc." and "CESARONI TECHNOLOGY INC" are one spelling.
std::string SpellingKey(std::string_view text) {
  std::string key;
  for (const char c : text) {
    if (c == ' ' || c == '.' || c == '-' || c == ',' || c == '_') continue;
    key += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
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

std::string MakerFullName(std::string_view maker) {
  const MotorMaker* found = FindMotorMaker(maker);
  return found ? std::string(found->fullName) : std::string(maker);
}

}  // namespace komet
