// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/rocket_shape.h"

#include <gtest/gtest.h>

#include "common/komet_error.h"

namespace komet {
namespace {

RocketShape TwoStages() {
  StageShape top;
  top.nose = NoseCone{NoseShape::Parabola, 0.0825};
  top.bodyLength = 0.31;
  top.diameter = 0.0247;
  top.fins = FinSet{4, 0.055, 0.0275, 0.04, 0.0125, 0.0024, 0.003};
  top.transition = Transition{0.02, 0.0334};
  top.mount = MotorMount{0.018, 0.07, 0.005};
  top.emptyCg = 0.2175;
  top.finish = SurfaceFinish::Smooth;
  StageShape booster;
  booster.bodyLength = 0.12;
  booster.diameter = 0.0334;
  booster.fins = FinSet{6, 0.05, 0.02, 0.035, 0.03, 0.003, 0.0};
  booster.mount = MotorMount{0.024, 0.1, 0.0};
  booster.finish = SurfaceFinish::Rough;  // balance point left to the estimate
  return {{top, booster}};
}

TEST(RocketShape, TextKeepsEveryFigure) {
  const RocketShape shape = TwoStages();
  EXPECT_EQ(ParseShapeText(ShapeText(shape)), shape);
  EXPECT_EQ(ShapeProblem(shape, 2), "");
  EXPECT_NE(ShapeProblem(shape, 1), "");
  EXPECT_DOUBLE_EQ(shape.stages[0].Length(), 0.0825 + 0.31 + 0.02);
}

TEST(RocketShape, ForeignTextIsRefusedNamingTheLine) {
  const struct {
    const char* text;
    const char* line;
  } cases[] = {
      {"", "Zeile 1"},
      {"komet-form 2\n", "Zeile 1"},
      {"komet-form 1\nbodyLength 0.3\n", "Zeile 2"},
      {"komet-form 1\nstage 2\n", "Zeile 2"},
      {"komet-form 1\nstage 1\n\n# x\nfins 3 0.1 0.05\n", "Zeile 5"},
      {"komet-form 1\nstage 1\nnose cone 0,1\n", "Zeile 3"},
      {"komet-form 1\nstage 1\nnose pointy 0.1\n", "Zeile 3"},
      {"komet-form 1\nstage 1\nwings 2\n", "Zeile 3"},
      {"komet-form 1\nstage 1\nstage 2\nstage 3\nstage 4\n", "Zeile 5"},
  };
  for (const auto& c : cases) {
    try {
      ParseShapeText(c.text);
      ADD_FAILURE() << c.text;
    } catch (const KometError& e) {
      EXPECT_NE(std::string(e.what()).find(c.line), std::string::npos) << e.what();
    }
  }
}

TEST(RocketShape, CompanionFileBesideTheRocket) {
  EXPECT_EQ(ShapeFileFor("/a/b.c/rakete.kmw"), "/a/b.c/rakete.kmf");
  EXPECT_EQ(ShapeFileFor("/a/b.c/rakete"), "/a/b.c/rakete.kmf");
}

}  // namespace
}  // namespace komet
