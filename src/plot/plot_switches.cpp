// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/plot_switches.h"

#include <utility>

namespace komet {
namespace {

// Either case; | 0x20 lowers exactly the upper-case forms of these letters.
std::optional<PlotSwitch> CurveLetter(char c) {
  constexpr std::pair<char, PlotSwitch> kLetters[] = {{'h', PlotSwitch::AnzH},
                                                      {'v', PlotSwitch::Anzv},
                                                      {'a', PlotSwitch::AnzA},
                                                      {'s', PlotSwitch::AnzS},
                                                      {'f', PlotSwitch::AnzF}};
  for (const auto& [letter, s] : kLetters)
    if ((c | 0x20) == letter) return s;
  return std::nullopt;
}

bool IsBrenn(std::string_view part) {
  constexpr std::string_view kBrenn = "brenn";
  if (part.size() != kBrenn.size()) return false;
  for (std::size_t i = 0; i < part.size(); ++i)
    if ((part[i] | 0x20) != kBrenn[i]) return false;
  return true;
}

// Turns on what one comma-separated part names; false if it names nothing known.
bool ApplyPart(std::string_view part, PlotSwitches& out) {
  if (IsBrenn(part)) {
    out.SetTag(PlotSwitch::AnzBrenn, 1);
    return true;
  }
  if (part.empty()) return false;
  for (char c : part) {
    const auto s = CurveLetter(c);
    if (!s) return false;
    out.SetTag(*s, 1);
  }
  return true;
}

}  // namespace

const SwitchButtonEntry& SwitchButton(PlotSwitch s) {
  return kSwitchButtons[static_cast<std::size_t>(s)];
}

PlotSwitches::PlotSwitches() {
  for (const SwitchButtonEntry& b : kSwitchButtons) SetTag(b.id, b.initialTag);
}

std::string_view PlotSwitches::Caption(PlotSwitch s) const {
  return IsOn(s) ? SwitchButton(s).captionShown : SwitchButton(s).captionHidden;
}

std::string_view PlotSwitches::Click(PlotSwitch s) {
  SetTag(s, Tag(s) == 0 ? 1 : 0);
  return Caption(s);
}

std::optional<PlotSwitches> ParseCurves(std::string_view text) {
  PlotSwitches out;
  for (const SwitchButtonEntry& b : kSwitchButtons) out.SetTag(b.id, 0);
  if (text.empty()) return out;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string_view part =
        text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
    if (!ApplyPart(part, out)) return std::nullopt;
    if (comma == std::string_view::npos) return out;
    start = comma + 1;
  }
}

}  // namespace komet
