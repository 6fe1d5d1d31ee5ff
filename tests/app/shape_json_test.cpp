// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shape_json.h"

#include <gtest/gtest.h>

#include "common/komet_error.h"
#include "support/shape_fixtures.h"

namespace komet {
namespace {

TEST(ShapeJson, WrittenShapeReadsBackAndHandWrittenKeysWork) {
  StageShape top = testing::ClassicModelStage();
  top.emptyCg = 0.21;
  StageShape booster = testing::BoosterStage(4, 0.025);
  booster.transition = Transition{0.02, 0.02};
  booster.finish = SurfaceFinish::Rough;
  const RocketShape shape{{top, booster}};
  EXPECT_EQ(ShapeFromJson(ShapeJson(shape, ShapeResults{0.3, 0.25, 2.0, 1.8, 0.6})), shape);

  const RocketShape typed = ShapeFromJson(R"({"stages": [{"bodyLength": 0.3, "diameter": 0.025,
      "nose": {"shape": "ogive", "length": 0.1}, "mount": {"diameter": 0.018, "length": 0.07, "overhang": 0}}]})");
  ASSERT_EQ(typed.stages.size(), 1u);
  EXPECT_EQ(typed.stages[0].nose, (NoseCone{NoseShape::Ogive, 0.1}));
  EXPECT_FALSE(typed.stages[0].fins);
  EXPECT_FALSE(typed.stages[0].emptyCg);  // estimated
  EXPECT_EQ(typed.stages[0].finish, SurfaceFinish::Painted);
}

TEST(ShapeJson, RefusalsNameWhatIsWrong) {
  const std::string mount = R"("mount": {"diameter": 0.018, "length": 0.07, "overhang": 0})";
  const struct {
    std::string json;
    const char* says;
  } cases[] = {
      {"{\"stages\": [] }", "stages"},
      {"{\"stages\": [1]}", "Stufe 1"},
      {"{\"stages\": [{\"bodyLength\": \"lang\", \"diameter\": 0.025, " + mount + "}]}", "bodyLength"},
      {"{\"stages\": [{\"bodyLength\": 0.3, \"diameter\": 0.025}]}", "mount.diameter"},
      {"{\"stages\": [{\"bodyLength\": 0.3, \"diameter\": 0.025, " + mount + ", \"fins\": {\"count\": 5}}]}",
       "fins.count"},
      {"{\"stages\": [{\"bodyLength\": 0.3, \"diameter\": 0.025, " + mount + ", \"finish\": \"shiny\"}]}",
       "finish"},
      {"{\"stages\": [{\"bodyLength\": 0.3,\n\"diameter\": 0.025,, }]}", "Zeile 2"},
      {"{\"stages\": [" + std::string(100, '[') + "]}", "verschachtelt"},
      {"{\"a\": \"\\ud800\"}", "Ersatzzeichen"},
      {"{\"a\": 1} x", "Ende"},
  };
  for (const auto& c : cases) {
    try {
      ShapeFromJson(c.json);
      ADD_FAILURE() << c.json;
    } catch (const KometError& e) {
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace komet
