// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/shape_form.h"

#include <gtest/gtest.h>

namespace komet {
namespace {

RocketRecord TwoStageRocket() {
  RocketRecord r;
  r.stages[0].counts[0] = 1;
  r.stages[0].diameter = 0.025;
  r.stages[1].counts[0] = 1;
  r.stages[1].diameter = 0.03;
  return r;
}

TEST(ShapeForm, StartingShapeFitsEachStageAndReadsBack) {
  const RocketRecord rocket = TwoStageRocket();
  const ShapeForm form = ShowShape(std::nullopt, rocket, ',');
  ASSERT_EQ(form.stageCount, 2);
  const ShapeTake take = TakeShape(form);
  ASSERT_TRUE(take.shape) << take.problem;
  EXPECT_TRUE(take.shape->stages[0].nose);
  EXPECT_FALSE(take.shape->stages[1].nose);
  EXPECT_DOUBLE_EQ(take.shape->stages[1].diameter, 0.03);
  // shown again, the taken shape gives the same fields (0.1 mm)
  const ShapeForm again = ShowShape(take.shape, rocket, ',');
  EXPECT_EQ(again.stages[0].rootChord, form.stages[0].rootChord);
  EXPECT_EQ(again.stages[1].mountDiameter, "18,0");  // no motor details: an 18 mm mount
}

TEST(ShapeForm, RefusalNamesStageAndField) {
  const RocketRecord rocket = TwoStageRocket();
  const struct {
    int stage;
    std::string ShapeStageForm::*field;
    const char* text;
    const char* says;
  } cases[] = {
      {0, &ShapeStageForm::noseLength, "0", "Spitze"},
      {0, &ShapeStageForm::bodyLength, "12 cm", "Rohrlänge"},
      {1, &ShapeStageForm::span, "-3", "Spannweite"},
      {1, &ShapeStageForm::mountDiameter, "40", "Motorhalterung"},  // wider than the 30 mm tube
      {1, &ShapeStageForm::fromAft, "400", "Flossen"},              // fins off the tube's end
  };
  for (const auto& c : cases) {
    ShapeForm form = ShowShape(std::nullopt, rocket, ',');
    form.stages[static_cast<std::size_t>(c.stage)].*c.field = c.text;
    const ShapeTake take = TakeShape(form);
    EXPECT_FALSE(take.shape) << c.says;
    EXPECT_EQ(take.stage, c.stage) << take.problem;
    EXPECT_NE(take.problem.find(c.says), std::string::npos) << take.problem;
  }
}

}  // namespace
}  // namespace komet
