// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace komet {

// The name a motor is sold by, as its designation holds it: impulse class
// and average thrust ("C6" in "C6-5", "J360" in "1016J360-15A", "H135" in
// "HP-H135W", "1/2A3" in "1/2A3-4T"); empty when the designation has none
// ("BB-38-640").
std::string CommonNameOf(std::string_view designation);

// The impulse class a common name states ("B" of "B4", "1/2A" of "1/2A3");
// empty when the text is no common name.
std::string ClassOfCommonName(std::string_view common);

// What names a motor: texts in Windows-1252.
struct MotorIdentity {
  std::string common;  // the name it is sold by; empty: taken from the designation
  std::string designation;
  std::string maker;
};

// The database names of motors: "COMMON [MAKER]", so that a list sorted by
// name runs in impulse class order. Where one maker has several motors of
// one common name, each takes the rest of its designation ("G80T", "G80W")
// or, where that tells nothing, its designation in brackets ("J360
// (1016J360-15A)"). Names in `taken` (compared as the motor list compares)
// and names given before are not given again: a number in brackets follows.
// `others` are motors already named (a database being added to): they count
// for the groups but keep their names. At most 50 characters each.
std::vector<std::string> NameMotors(std::span<const MotorIdentity> motors,
                                    const std::set<std::string>& taken = {},
                                    std::span<const MotorIdentity> others = {});

// A name as the motor list compares names (a-z as A-Z), for sets of names.
std::string MotorNameKey(std::string_view name);

// A designation as makers print it in many ways, reduced to what tells one
// maker's motors apart: folded, without the total-impulse prefix ("134G60"),
// without hyphens, blanks and underscores ("J300-LR" = "J300LR"), and
// without a trailing delay ("-7", "-14A", "-P"), whose letters other than
// the A of an adjustable delay are the propellant's ("G80-7T" = "G80T-7").
struct DesignationParts {
  std::string key;           // "G80T", "H128W", "BB38640"
  std::string common;        // "G80", folded; empty when the designation has none
  std::string letters;       // what follows the common name in the key ("T"); empty without a common name
  std::optional<int> delay;  // seconds; 0 the booster, -1 plugged
  bool adjustable = false;   // "-14A": the delay can be shortened to any below
};
DesignationParts SplitDesignation(std::string_view designation);

}  // namespace komet
