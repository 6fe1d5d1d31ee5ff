// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_naming.h"

#include <map>

#include "common/text.h"
#include "motors/motor_details.h"

namespace komet {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Length of an impulse class at `at` ("1/2A", "C"), 0 if none starts there.
std::size_t ClassLength(std::string_view s, std::size_t at) {
  const std::string_view rest = s.substr(at);
  if (rest.size() >= 4 && rest[0] == '1' && rest[1] == '/' &&
      (rest[2] == '2' || rest[2] == '4' || rest[2] == '8') && Upper(rest[3]) == 'A')
    return 4;
  return !rest.empty() && Upper(rest[0]) >= 'A' && Upper(rest[0]) <= 'O' ? 1 : 0;
}

// Thrust digits after a class: "6", "0.3"; 0 if none.
std::size_t ThrustLength(std::string_view s, std::size_t at) {
  std::size_t n = 0;
  while (at + n < s.size() && IsDigit(s[at + n])) ++n;
  if (n > 0 && at + n + 1 < s.size() && s[at + n] == '.' && IsDigit(s[at + n + 1])) {
    ++n;
    while (at + n < s.size() && IsDigit(s[at + n])) ++n;
  }
  return n;
}

// The rest of a designation that starts with its common name, without a
// delay ("T" of "G80T-7", "W-OLD" of "J350W-OLD"); empty for any other designation ("HP-G75M" beside
// a "G75M" must not become a second "G75M").
std::string DesignationSuffix(std::string_view designation, std::string_view common) {
  if (common.empty() || !MotorNameKey(designation).starts_with(MotorNameKey(common))) return {};
  std::string_view rest = designation.substr(common.size());
  const std::size_t dash = rest.rfind('-');
  if (dash != std::string_view::npos) {
    const std::string_view delay = rest.substr(dash + 1);
    if (!delay.empty() && (delay == "P" || delay.find_first_not_of("0123456789") == std::string_view::npos))
      rest = rest.substr(0, dash);
  }
  return std::string(rest);
}

}  // namespace

std::string MotorNameKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = Upper(c);
  return key;
}

std::string CommonNameOf(std::string_view d) {
  for (std::size_t at = 0; at < d.size(); ++at) {
    // A class starts the designation or follows the maker's prefix (digits
    // of the total impulse, a "HP-").
    if (at > 0 && !IsDigit(d[at - 1]) && d[at - 1] != '-' && d[at - 1] != '_') continue;
    const std::size_t cls = ClassLength(d, at);
    if (cls == 0) continue;
    if (cls == 1 && at > 0 && IsDigit(d[at - 1]) && at >= 2 && d[at - 2] == '/') continue;
    const std::size_t thrust = ThrustLength(d, at + cls);
    if (thrust > 0) return std::string(d.substr(at, cls + thrust));
  }
  return {};
}

std::string ClassOfCommonName(std::string_view common) {
  if (common.empty() || MotorNameKey(CommonNameOf(common)) != MotorNameKey(common)) return {};
  return MotorNameKey(common.substr(0, ClassLength(common, 0)));
}

DesignationParts SplitDesignation(std::string_view designation) {
  DesignationParts out;
  std::string d = MotorNameKey(Trim(designation));
  std::string propellant;  // letters after the delay
  const std::size_t dash = d.rfind('-');
  if (dash != std::string::npos && dash > 0) {
    const std::string_view tail = std::string_view(d).substr(dash + 1);
    std::size_t digits = 0;
    while (digits < tail.size() && IsDigit(tail[digits])) ++digits;
    const std::string_view letters = tail.substr(digits);
    const bool onlyLetters =
        letters.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string_view::npos;
    if (tail == "P") {
      out.delay = -1;
    } else if (digits >= 1 && digits <= 2 && letters.size() <= 3 && onlyLetters) {
      // Cases are longer than a delay: "BB-38-640" keeps its "640".
      out.delay = std::stoi(std::string(tail.substr(0, digits)));
      out.adjustable = letters == "A";
      if (!out.adjustable) propellant = letters;
    }
    if (out.delay) d.resize(dash);
  }
  std::string common = CommonNameOf(d);
  std::string key;
  for (const char c : d)
    if (c != '-' && c != ' ' && c != '_') key += c;
  std::size_t at = common.empty() ? std::string::npos : key.find(common);
  if (at != std::string::npos) {
    // Digits before the class are the total impulse, which the class already
    // says; a maker's prefix ("HP-", "SCR-") names another motor and stays.
    if (key.find_first_not_of("0123456789") >= at) {
      key.erase(0, at);
      at = 0;
    }
    out.common = common;
    out.letters = key.substr(at + common.size()) + propellant;
  }
  out.key = key + propellant;
  return out;
}

std::vector<std::string> NameMotors(std::span<const MotorIdentity> motors, const std::set<std::string>& taken,
                                    std::span<const MotorIdentity> others) {
  auto baseOf = [](const MotorIdentity& m) {
    std::string base = !m.common.empty() ? m.common : CommonNameOf(m.designation);
    return base.empty() ? m.designation : base;
  };
  std::vector<std::string> bases;
  std::map<std::string, int> perGroup;
  for (const MotorIdentity& m : others) ++perGroup[MotorNameKey(m.maker) + '\n' + MotorNameKey(baseOf(m))];
  for (const MotorIdentity& m : motors) {
    bases.push_back(baseOf(m));
    ++perGroup[MotorNameKey(m.maker) + '\n' + MotorNameKey(bases.back())];
  }
  std::vector<std::string> names;
  std::set<std::string> given;
  for (const std::string& name : taken) given.insert(MotorNameKey(name));
  for (std::size_t i = 0; i < motors.size(); ++i) {
    const MotorIdentity& m = motors[i];
    std::string name = bases[i];
    if (perGroup[MotorNameKey(m.maker) + '\n' + MotorNameKey(bases[i])] > 1) {
      const std::string suffix = DesignationSuffix(m.designation, bases[i]);
      if (!suffix.empty())
        name += suffix;
      else if (MotorNameKey(m.designation) != MotorNameKey(bases[i]))
        name += " (" + m.designation + ")";
    }
    std::string full = CatalogueName(name, m.maker);
    for (int n = 2; given.count(MotorNameKey(full)) > 0; ++n)
      full = CatalogueName(name + " (" + std::to_string(n) + ")", m.maker);
    given.insert(MotorNameKey(full));
    names.push_back(std::move(full));
  }
  return names;
}

}  // namespace komet
