// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/shape_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/recording_canvas.h"
#include "support/shape_fixtures.h"

namespace komet {
namespace {

using testing::RecordingCanvas;

TEST(ShapeDrawing, StackFitsTheBoxWithMarksWhereTheyLie) {
  StageShape top = testing::ClassicModelStage();
  top.nose = NoseCone{NoseShape::Ogive, 0.1};
  StageShape booster = top;
  booster.nose.reset();
  booster.bodyLength = 0.1;
  const RocketShape shape{{top, booster}};  // 0.5 m long, 0.0625 m from axis to fin tip

  RecordingCanvas canvas;
  const int left = 10, boxTop = 20, width = 500, height = 200;
  DrawRocketSide(canvas, shape, left, boxTop, width, height, {0.2, 0.35});

  int minX = 1 << 20, maxX = -minX, minY = minX, maxY = -minX;
  int sp = -1, dp = -1;
  for (const auto& c : canvas.calls) {
    minX = std::min({minX, c.x, c.x0}), maxX = std::max({maxX, c.x, c.x0});
    minY = std::min({minY, c.y, c.y0}), maxY = std::max({maxY, c.y, c.y0});
    if (c.text == "SP") sp = c.x + canvas.TextWidth("SP") / 2;
    if (c.text == "DP") dp = c.x + canvas.TextWidth("DP") / 2;
  }
  EXPECT_GE(minX, left);
  EXPECT_LE(maxX, left + width);
  EXPECT_GE(minY, boxTop);
  EXPECT_LE(maxY, boxTop + height);
  // Length limits the scale (492 px for 0.5 m): the marks at 0.2 and 0.35 m.
  const double scale = (width - 8) / 0.5, x0 = left + (width - 0.5 * scale) / 2.0;
  EXPECT_NEAR(sp, x0 + 0.2 * scale, 1.0);
  EXPECT_NEAR(dp, x0 + 0.35 * scale, 1.0);
}

}  // namespace
}  // namespace komet
