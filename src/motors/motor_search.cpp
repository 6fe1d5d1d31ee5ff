// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_search.h"

#include <algorithm>

#include "common/win1252.h"
#include "motors/motor_details.h"
#include "motors/motor_makers.h"
#include "motors/motor_naming.h"

namespace komet {
namespace {

bool IsNumber(std::string_view s) {
  return !s.empty() && s.size() <= 3 && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// A delay as a package writes it: seconds, 0 for the booster, P for plugged
// (-1).
std::optional<int> DelayToken(std::string_view s) {
  if (s == "P") return -1;
  if (IsNumber(s)) return std::stoi(std::string(s));
  return std::nullopt;
}

bool Contains(std::string_view haystack, std::string_view needle) {
  return haystack.find(needle) != std::string_view::npos;
}

}  // namespace

MotorSearchKey MakeSearchKey(const MotorFacts& f) {
  MotorSearchKey key;
  key.common = MotorNameKey(f.commonName);
  key.designation = MotorNameKey(f.designation);
  const DesignationParts parts = SplitDesignation(f.designation);
  if (parts.common == key.common) key.letters = parts.letters;
  key.impulseClass = MotorNameKey(f.impulseClass);
  if (!f.alsoSoldAs.empty()) {
    const DesignationParts also = SplitDesignation(f.alsoSoldAs);
    key.alsoCommon = also.common;
    key.alsoLetters = also.letters;
  }
  key.maker = MotorNameKey(f.maker);
  key.text = MotorNameKey(f.name) + '\n' + key.designation + '\n' + key.maker + '\n' +
             MotorNameKey(f.makerFull) + '\n' + MotorNameKey(f.alsoSoldAs);
  key.delays = f.delays;
  key.booster = f.booster;
  key.plugged = f.plugged;
  return key;
}

MotorSearchKey MakeSearchKey(std::string_view nameCp1252, const std::optional<MotorDetails>& d) {
  MotorFacts f;
  f.name = Cp1252ToUtf8(nameCp1252);
  f.commonName = f.name.substr(0, f.name.find(" ["));
  if (d) {
    f.maker = Cp1252ToUtf8(d->maker);
    f.makerFull = Cp1252ToUtf8(MakerFullName(d->maker));
    f.designation = Cp1252ToUtf8(d->designation);
    if (!d->commonName.empty()) f.commonName = Cp1252ToUtf8(d->commonName);
    f.alsoSoldAs = Cp1252ToUtf8(d->alsoSoldAs);
    f.delays = d->delays;
    f.booster = d->booster;
    f.plugged = d->plugged;
  }
  f.impulseClass = ClassOfCommonName(f.commonName);
  return MakeSearchKey(f);
}

MotorQuery::MotorQuery(std::string_view text) : whole_(MotorNameKey(text)) {
  while (!whole_.empty() && whole_.back() == ' ') whole_.pop_back();
  std::vector<std::string> words;
  std::string word;
  for (const char c : whole_ + ' ') {
    if (c == ' ' || c == ',' || c == '\t') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  for (const std::string& w : words) {
    // "5" after "C6" is the delay of that motor.
    if (!terms_.empty() && terms_.back().code && !terms_.back().delay && DelayToken(w)) {
      terms_.back().delay = DelayToken(w);
      continue;
    }
    Term term{w, false, {}, {}, std::nullopt, {}, false};
    if (ImpulseClassRank(w) >= 0 && ImpulseClassRank(w) <= ImpulseClassRank("O")) {
      term.impulseClass = true;
      terms_.push_back(std::move(term));
      continue;
    }
    if (const MotorMaker* maker = FindMotorMaker(w)) {
      term.maker = MotorNameKey(maker->abbrev);
      terms_.push_back(std::move(term));
      continue;
    }
    // A motor's name as its maker prints it: nothing but an impulse prefix,
    // the common name, propellant letters and a delay.
    const DesignationParts parts = SplitDesignation(w);
    if (!parts.common.empty() && parts.key == parts.common + parts.letters && parts.letters.size() <= 4) {
      term.code = true;
      term.common = parts.common;
      term.letters = parts.letters;
      if (!parts.adjustable) term.delay = parts.delay;  // "-14A" is cut to the delay wanted
    }
    terms_.push_back(std::move(term));
  }
}

namespace {

// Letters typed fit a designation with those letters (or more: "W" of
// "W-OLD") or none at all.
bool LettersFit(std::string_view typed, std::string_view letters) {
  return typed.empty() || letters.empty() || letters.starts_with(typed);
}

}  // namespace

bool MotorQuery::TermMatches(const Term& t, const MotorSearchKey& key) const {
  if (t.impulseClass) return key.impulseClass == t.word;
  if (!t.maker.empty()) return t.maker == key.maker;
  bool named = Contains(key.text, t.word);
  if (t.code) {
    // "D1" is not the start of "D12": the designation must go on with no digit.
    const bool startsDesignation =
        key.designation.starts_with(t.word) &&
        (key.designation.size() == t.word.size() ||
         !(key.designation[t.word.size()] >= '0' && key.designation[t.word.size()] <= '9'));
    named = (key.common == t.common && LettersFit(t.letters, key.letters)) ||
            (key.alsoCommon == t.common && LettersFit(t.letters, key.alsoLetters)) || startsDesignation;
  }
  if (!named) return false;
  if (!t.delay) return true;
  if (*t.delay == -1) return key.plugged;
  if (*t.delay == 0) return key.booster;
  return std::find(key.delays.begin(), key.delays.end(), *t.delay) != key.delays.end();
}

bool MotorQuery::Matches(const MotorSearchKey& key) const {
  if (whole_.empty() || Contains(key.text, whole_)) return true;
  return std::all_of(terms_.begin(), terms_.end(), [&](const Term& t) { return TermMatches(t, key); });
}

}  // namespace komet
