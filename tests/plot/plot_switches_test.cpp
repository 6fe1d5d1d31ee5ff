// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/plot_switches.h"

#include <gtest/gtest.h>

namespace komet {
namespace {

TEST(PlotSwitches, StartWithHeightVelocityAndAccelerationShown) {
  const PlotSwitches sw;
  const char* initialCaptions[] = {"S an", "F an", "a aus", "v aus", "h aus", "an"};
  for (std::size_t i = 0; i < kSwitchButtons.size(); ++i) {
    const SwitchButtonEntry& b = kSwitchButtons[i];
    SCOPED_TRACE(std::string(b.name));
    EXPECT_EQ(static_cast<std::size_t>(b.id), i);
    EXPECT_EQ(b.position, 386 + 42 * static_cast<int>(i));
    EXPECT_EQ(sw.Tag(b.id), b.initialTag);
    EXPECT_EQ(sw.Caption(b.id), initialCaptions[i]);
  }
}

TEST(PlotSwitches, ClickTogglesTagAndCaption) {
  struct Case {
    PlotSwitch s;
    const char* afterOne;
    const char* afterTwo;
  } cases[] = {{PlotSwitch::AnzF, "F aus", "F an"},
               {PlotSwitch::AnzS, "S aus", "S an"},
               {PlotSwitch::AnzBrenn, "aus", "an"},
               {PlotSwitch::AnzH, "h an", "h aus"}};
  for (const Case& k : cases) {
    PlotSwitches sw;
    const int before = sw.Tag(k.s);
    EXPECT_EQ(sw.Click(k.s), k.afterOne);
    EXPECT_EQ(sw.Tag(k.s), 1 - before);
    EXPECT_EQ(sw.Click(k.s), k.afterTwo);
    EXPECT_EQ(sw.Tag(k.s), before);
  }
}

TEST(PlotSwitches, ATagOtherThanZeroOrOneClicksToZero) {
  PlotSwitches sw;
  sw.SetTag(PlotSwitch::AnzF, 7);
  EXPECT_FALSE(sw.IsOn(PlotSwitch::AnzF));
  EXPECT_EQ(sw.Click(PlotSwitch::AnzF), "F an");
  EXPECT_EQ(sw.Tag(PlotSwitch::AnzF), 0);
}

TEST(ParseCurves, LettersAndBrenn) {
  struct Case {
    const char* text;
    bool ok;
    const char* on;  // S F a v h B, in switch order; '-' = off
  } cases[] = {
      {"hvaSF,brenn", true, "SFavhB"}, {"h", true, "----h-"},     {"", true, "------"},
      {"brenn", true, "-----B"},       {"HVAsf", true, "SFavh-"}, {"v,a", true, "--av--"},
      {"BRENN,S", true, "S----B"},     {"hx", false, ""},         {"h,", false, ""},
      {"brennS", false, ""},           {"h v", false, ""},        {",", false, ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    const auto sw = ParseCurves(k.text);
    ASSERT_EQ(sw.has_value(), k.ok);
    if (!k.ok) continue;
    for (std::size_t i = 0; i < kPlotSwitchCount; ++i)
      EXPECT_EQ(sw->Tag(static_cast<PlotSwitch>(i)), k.on[i] == '-' ? 0 : 1) << i;
  }
}

}  // namespace
}  // namespace komet
