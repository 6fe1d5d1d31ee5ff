// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace komet {

// A motor maker as the catalogue names it: the short name used in motor
// names ("AeroTech", "Cesaroni") and the full name shown beside it.
struct MotorMaker {
  std::string_view abbrev;
  std::string_view fullName;
};

// The catalogue's maker for a spelling found in motor files ("AT",
// "Aerotech", "CTI", "Cesaroni Technology Inc.", either name of the
// catalogue itself), compared without regard to case, blanks and dots;
// nothing for a maker the table does not know.
const MotorMaker* FindMotorMaker(std::string_view spelling);

// The catalogue's short name for a spelling, or the spelling itself (without
// surrounding blanks) for a maker the table does not know.
std::string CanonicalMakerName(std::string_view spelling);

// The catalogue's makers that a code of motor files stands for when it
// stands for more than one ("A": AeroTech or Apogee); none for any other.
std::vector<std::string_view> MakersOfSharedCode(std::string_view spelling);

// The full name for a short name, or the short name itself.
std::string MakerFullName(std::string_view maker);

}  // namespace komet
