// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "motors/motor_facts.h"

namespace komet {

// What a motor is found by, folded (a-z as A-Z) once so that a key press
// over thousands of motors allocates nothing.
struct MotorSearchKey {
  std::string text;                     // name, designation, maker and its full name, one a line
  std::string common;                   // "C6"
  std::string designation;              // "C6-5"
  std::string letters;                  // the propellant's letters of the designation ("T" of "G80T")
  std::string impulseClass;             // "C", "1/2A"
  std::string alsoCommon, alsoLetters;  // of the other designation it is sold by
  std::string maker;                    // the short name, "" without details
  std::vector<int> delays;
  bool booster = false, plugged = false;
};

MotorSearchKey MakeSearchKey(const MotorFacts& facts);
// The key of a list entry: its name and details, when the record is not at hand.
MotorSearchKey MakeSearchKey(std::string_view nameCp1252, const std::optional<MotorDetails>& details);

// A search as rocketeers type it: "C6-5", "c6 5", "Estes C6-5", "D12-0"
// (0: the booster version, P: plugged) find the motors of that common name
// or designation that come with that delay; delay and propellant letters
// may stand in either order and an impulse prefix before ("G80-7T",
// "G80T-7A", "134G60-14A"); propellant letters find motors whose
// designation states none. A single class among the words ("A".."O",
// "1/2A") is the impulse class; a maker's full name or any of its spellings
// ("AT", "Aerotech") finds its motors only; any other word is looked for in
// name, designation and maker. A text contained in a name or designation
// as typed always finds it.
class MotorQuery {
 public:
  MotorQuery() = default;
  explicit MotorQuery(std::string_view text);

  bool empty() const { return whole_.empty(); }
  bool Matches(const MotorSearchKey& key) const;

 private:
  struct Term {
    std::string word;   // folded
    bool code = false;  // a motor's name: common name and propellant letters
    std::string common, letters;
    std::optional<int> delay;   // -1: plugged
    std::string maker;          // the catalogue's short name, folded, for a maker's spelling
    bool impulseClass = false;  // the word is a class
  };
  bool TermMatches(const Term& term, const MotorSearchKey& key) const;

  std::string whole_;  // folded
  std::vector<Term> terms_;
};

}  // namespace komet
