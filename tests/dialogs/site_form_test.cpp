// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/site_form.h"

#include <gtest/gtest.h>

namespace komet {
namespace {

SiteForm StandardForm() {
  return {true, "500", "10", "5"};
}

TEST(SiteFormTest, EachFieldIsTakenInItsRangeAndRefusedOutsideIt) {
  const struct {
    std::string SiteForm::*field;
    const char* text;
    SiteField refused;  // None: taken
    double LaunchSite::*value;
    double taken;
  } cases[] = {
      {&SiteForm::altitude, "-500", SiteField::None, &LaunchSite::altitude, -500.0},
      {&SiteForm::altitude, "5000", SiteField::None, &LaunchSite::altitude, 5000.0},
      {&SiteForm::altitude, "-501", SiteField::Altitude, nullptr, 0.0},
      {&SiteForm::altitude, "5000,1", SiteField::Altitude, nullptr, 0.0},
      {&SiteForm::altitude, "hoch", SiteField::Altitude, nullptr, 0.0},
      {&SiteForm::temperature, "-40", SiteField::None, &LaunchSite::temperature, -40.0},
      {&SiteForm::temperature, "49,5", SiteField::None, &LaunchSite::temperature, 49.5},
      {&SiteForm::temperature, "-40,5", SiteField::Temperature, nullptr, 0.0},
      {&SiteForm::temperature, "51", SiteField::Temperature, nullptr, 0.0},
      {&SiteForm::wind, "0", SiteField::None, &LaunchSite::wind, 0.0},
      {&SiteForm::wind, "30", SiteField::None, &LaunchSite::wind, 30.0},
      {&SiteForm::wind, "-1", SiteField::Wind, nullptr, 0.0},
      {&SiteForm::wind, "30,5", SiteField::Wind, nullptr, 0.0},
      {&SiteForm::wind, "", SiteField::Wind, nullptr, 0.0},
  };
  const LaunchSite previous;
  for (const auto& c : cases) {
    SiteForm f = StandardForm();
    f.*c.field = c.text;
    const SiteTake take = TakeSite(f, previous, ',');
    SCOPED_TRACE(c.text);
    EXPECT_EQ(take.field, c.refused);
    EXPECT_EQ(take.problem.empty(), c.refused == SiteField::None) << take.problem;
    if (c.refused == SiteField::None) {
      EXPECT_EQ(take.site.*c.value, c.taken);
      EXPECT_TRUE(take.site.standardAtmosphere);
    }
  }
}

// With the standard atmosphere off, altitude and temperature play no part:
// they are not refused and an unreadable one keeps its value; the wind
// always counts.
TEST(SiteFormTest, WithoutTheStandardAtmosphereOnlyTheWindCanBeRefused) {
  LaunchSite previous;
  previous.altitude = 320.0;
  previous.temperature = 22.0;
  const SiteTake take = TakeSite({false, "sehr hoch", "1000", "7,5"}, previous, ',');
  EXPECT_TRUE(take.problem.empty()) << take.problem;
  EXPECT_FALSE(take.site.standardAtmosphere);
  EXPECT_EQ(take.site.altitude, 320.0);
  EXPECT_EQ(take.site.temperature, 22.0);
  EXPECT_EQ(take.site.wind, 7.5);
  EXPECT_EQ(TakeSite({false, "0", "15", "31"}, previous, ',').field, SiteField::Wind);
}

TEST(SiteFormTest, ASiteShowsAndIsTakenBackAsItWas) {
  for (const LaunchSite& site : {LaunchSite{}, LaunchSite{true, 1234.0, -12.5, 0.5}})
    for (const char sep : {',', '.'}) {
      const SiteTake take = TakeSite(ShowSite(site, sep), LaunchSite{}, sep);
      EXPECT_TRUE(take.problem.empty()) << take.problem;
      EXPECT_EQ(take.site, site);
    }
}

// The radius must lie in its range; the ceiling may be left empty (or 0)
// for none. A refused field leaves nothing taken.
TEST(SiteFormTest, TheFieldIsTakenInItsRangeAndAnEmptyCeilingIsNone) {
  const struct {
    const char *radius, *ceiling;
    SiteField refused;
    LaunchField field;
  } cases[] = {
      {"150", "", SiteField::None, {150.0, 0.0}},
      {"10", "0", SiteField::None, {10.0, 0.0}},
      {"10000", "300", SiteField::None, {10000.0, 300.0}},
      {"75,5", " ", SiteField::None, {75.5, 0.0}},
      {"9,9", "", SiteField::FieldRadius, {}},
      {"10001", "", SiteField::FieldRadius, {}},
      {"", "", SiteField::FieldRadius, {}},
      {"150", "-1", SiteField::Ceiling, {}},
      {"150", "hoch", SiteField::Ceiling, {}},
      {"150", "100001", SiteField::Ceiling, {}},
  };
  for (const auto& c : cases) {
    const FieldTake take = TakeField({c.radius, c.ceiling}, ',');
    EXPECT_EQ(take.refused, c.refused) << c.radius << " / " << c.ceiling;
    EXPECT_EQ(take.problem.empty(), c.refused == SiteField::None) << take.problem;
    if (c.refused == SiteField::None) {
      EXPECT_EQ(take.field, c.field) << c.radius << " / " << c.ceiling;
    }
  }
  for (const LaunchField& field : {LaunchField{}, LaunchField{80.0, 450.0}}) {
    const FieldForm shown = ShowField(field, ',');
    EXPECT_EQ(shown.ceiling.empty(), field.ceiling == 0.0);
    EXPECT_EQ(TakeField(shown, ',').field, field);
  }
}

}  // namespace
}  // namespace komet
