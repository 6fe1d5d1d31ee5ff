// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace komet {

// The six curve switches of the tool bar, in tool-bar order.
enum class PlotSwitch { AnzS, AnzF, AnzA, Anzv, AnzH, AnzBrenn };

inline constexpr std::size_t kPlotSwitchCount = 6;

// How a switch button looks and starts.
struct SwitchButtonEntry {
  PlotSwitch id;
  std::string_view name;           // the control's name
  int position;                    // from the left of the tool bar, px
  int initialTag;                  // 1 = shown, 0 = hidden
  std::string_view captionShown;   // names what the next click does: hide
  std::string_view captionHidden;  // ... and show
  std::string_view hint;
};

inline constexpr std::array<SwitchButtonEntry, kPlotSwitchCount> kSwitchButtons{{
    {PlotSwitch::AnzS, "AnzS", 386, 0, "S aus", "S an", "Schub an/aus"},
    {PlotSwitch::AnzF, "AnzF", 428, 0, "F aus", "F an", "Kraft an/aus"},
    {PlotSwitch::AnzA, "AnzA", 470, 1, "a aus", "a an", "Beschleunigung an/aus"},
    {PlotSwitch::Anzv, "Anzv", 512, 1, "v aus", "v an", "Geschwindigkeit an/aus"},
    {PlotSwitch::AnzH, "AnzH", 554, 1, "h aus", "h an", "Höhe an/aus"},
    {PlotSwitch::AnzBrenn, "AnzBrenn", 596, 0, "aus", "an", "Brennschluß / Verzögerungen an/aus"},
}};

// How the button of a switch looks and starts.
const SwitchButtonEntry& SwitchButton(PlotSwitch s);

// The Tag values of the six buttons; the plot and the report read them.
class PlotSwitches {
 public:
  // The state at program start: a, v and h shown.
  PlotSwitches();

  int Tag(PlotSwitch s) const { return tags_[Index(s)]; }
  void SetTag(PlotSwitch s, int tag) { tags_[Index(s)] = tag; }
  // Whether the curve (or the markers) is shown: Tag 1.
  bool IsOn(PlotSwitch s) const { return Tag(s) == 1; }
  // The caption for the current Tag.
  std::string_view Caption(PlotSwitch s) const;
  // The click handler's rule: Tag 0 becomes 1, anything else 0; returns the
  // new caption. The caller redraws the plot.
  std::string_view Click(PlotSwitch s);

 private:
  static std::size_t Index(PlotSwitch s) { return static_cast<std::size_t>(s); }
  std::array<int, kPlotSwitchCount> tags_{};
};

// komet-sim's --curves text: comma-separated parts, each either "brenn" or
// letters out of h v a S F (either case), e.g. "hvaSF,brenn". Listed switches
// are on, the rest off; an empty text turns all off. Nothing for an unknown
// letter or part.
std::optional<PlotSwitches> ParseCurves(std::string_view text);

}  // namespace komet
