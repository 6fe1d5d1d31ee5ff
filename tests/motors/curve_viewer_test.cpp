// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/curve_viewer.h"

#include <gtest/gtest.h>

#include "motors/motor_details.h"
#include "support/recording_canvas.h"

namespace komet {
namespace {

using testing::RecordingCanvas;
constexpr Color kRed{255, 0, 0};

MotorRecord Motor(double burnTime, double maxThrust) {
  MotorRecord m;
  m.name.assign("Test C6");
  m.burnTime = burnTime;
  m.maxThrust = maxThrust;
  return m;
}

std::vector<RecordingCanvas::Call> RedLines(const RecordingCanvas& c) {
  std::vector<RecordingCanvas::Call> out;
  for (const auto& l : c.Lines())
    if (l.pen.color == kRed) out.push_back(l);
  return out;
}

TEST(PaintMotorCurve, InitialWindowExample) {
  MotorRecord m = Motor(2.0, 10.0);
  m.curveTime[0] = 0.0, m.curveThrust[0] = 0.0;
  m.curveTime[1] = 0.5, m.curveThrust[1] = 10.0;
  m.curveTime[2] = 2.0, m.curveThrust[2] = 4.0;
  RecordingCanvas c;
  EXPECT_EQ(PaintMotorCurve(c, 260, 210, m, 4, ','), "Test C6");

  const auto lines = c.Lines();
  ASSERT_EQ(lines.size(), 2u + 3u + 1u);
  EXPECT_EQ(std::tie(lines[0].x0, lines[0].y0, lines[0].x, lines[0].y), std::make_tuple(20, 0, 20, 210));
  EXPECT_EQ(std::tie(lines[1].x0, lines[1].y0, lines[1].x, lines[1].y), std::make_tuple(0, 190, 260, 190));
  const auto red = RedLines(c);
  ASSERT_EQ(red.size(), 4u);
  EXPECT_EQ(std::tie(red[0].x0, red[0].y0, red[0].x, red[0].y), std::make_tuple(20, 190, 20, 190));
  EXPECT_EQ(std::tie(red[1].x, red[1].y), std::make_tuple(20 + 52, 20));  // 10 N at the top, 52.5 -> 52
  EXPECT_EQ(std::tie(red[2].x, red[2].y), std::make_tuple(230, 190 - 68));
  EXPECT_EQ(std::tie(red[3].x, red[3].y), std::make_tuple(230, 190));  // down to the axis at the burn time

  const auto* thrust = c.FindText("10,0 [N]");
  ASSERT_NE(thrust, nullptr);
  EXPECT_EQ(std::tie(thrust->x, thrust->y), std::make_tuple(25, 20 - 12));
  EXPECT_EQ(thrust->font, (Font{"Arial", 7.0, 0, kBlack, false}));
  const auto* time = c.FindText("2,0 [sec]");
  ASSERT_NE(time, nullptr);
  EXPECT_EQ(std::tie(time->x, time->y), std::make_tuple(210, 195));
}

TEST(PaintMotorCurve, AllHundredAndOnePointsThenTheAxis) {
  MotorRecord m = Motor(10.0, 20.0);
  for (std::size_t k = 0; k < MotorRecord::kCurvePoints; ++k) {
    m.curveTime[k] = 0.1 * static_cast<double>(k);
    m.curveThrust[k] = 20.0 - 0.1 * static_cast<double>(k);
  }
  RecordingCanvas c;
  PaintMotorCurve(c, 260, 210, m, 0, '.');
  const auto red = RedLines(c);
  ASSERT_EQ(red.size(), 101u + 1u);
  EXPECT_EQ(red.back().y, 190);
  EXPECT_EQ(red.back().x, 230);
}

TEST(PaintMotorCurve, CurveEndsBeforeAZeroPoint) {
  MotorRecord m = Motor(1.0, 5.0);
  m.curveTime[1] = 0.2, m.curveThrust[1] = 5.0;
  m.curveTime[3] = 0.9, m.curveThrust[3] = 1.0;  // after the (0, 0) at 2: not drawn
  RecordingCanvas c;
  PaintMotorCurve(c, 260, 210, m, 0, '.');
  EXPECT_EQ(RedLines(c).size(), 2u + 1u);
}

TEST(PaintMotorCurve, NothingButTheCaption) {
  struct Case {
    const char* what;
    double burnTime, maxThrust;
    int recordNo, w, h;
  } cases[] = {
      {"no record", 2.0, 10.0, -1, 260, 210}, {"burn time 0", 0.0, 10.0, 1, 260, 210},
      {"thrust 0", 2.0, 0.0, 1, 260, 210},    {"no width", 2.0, 10.0, 1, 50, 210},
      {"no height", 2.0, 10.0, 1, 260, 40},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    RecordingCanvas c;
    EXPECT_EQ(PaintMotorCurve(c, k.w, k.h, Motor(k.burnTime, k.maxThrust), k.recordNo, ','), "Test C6");
    EXPECT_TRUE(c.calls.empty());
  }
}

TEST(PaintMotorCurve, CorruptFiguresStayOnTheCanvasRange) {
  MotorRecord m = Motor(1e-300, 1e-300);
  m.curveTime[0] = 1e300, m.curveThrust[0] = -1e300;
  m.name.assign("\xC4tna");  // Windows-1252 A-umlaut
  RecordingCanvas c;
  EXPECT_EQ(PaintMotorCurve(c, 1, 1, m, 0, ','), "Ätna");
  for (const auto& l : c.Lines()) {
    EXPECT_LE(std::abs(l.x), kCanvasCoordinateLimit);
    EXPECT_LE(std::abs(l.y), kCanvasCoordinateLimit);
  }
}

}  // namespace
}  // namespace komet

namespace komet {
namespace {

TEST(CurveViewerDetails, LinesOnlyForARecordWithDetails) {
  MotorRecord m;
  m.name.assign("C6 [Estes]");
  m.burnTime = 2.0;
  m.maxThrust = 10.0;
  m.curveTime[1] = 0.5, m.curveThrust[1] = 10.0;
  m.curveTime[2] = 2.0;
  EXPECT_TRUE(MotorDetailLines(m, ',').empty());
  EXPECT_EQ(MotorDetailBand(m), 0);
  WriteMotorDetails({.maker = "Estes",
                     .designation = "C6",
                     .diameterMm = 18,
                     .lengthMm = 70,
                     .totalImpulse = 8.82,
                     .plugged = true,
                     .booster = true,
                     .delays = {3, 5, 7},
                     .source = "",
                     .commonName = "C6",
                     .dataCheck = "Kurvenimpuls 10,0 Ns, ver\xF6"
                                  "ffentlicht 8,8 Ns"},  // Windows-1252
                    m);
  // The flown impulse first, the published one beside it; the mark last.
  EXPECT_EQ(MotorDetailLines(m, ','),
            (std::vector<std::string>{
                "Estes Industries C6, Klasse C, 10,0 Ns (veröffentlicht 8,8 Ns), 5,0 N mittlerer Schub",
                "18 x 70 mm, als Booster (-0), Verzögerungen 3, 5, 7 s, auch ohne Ausstoßladung",
                "Daten fraglich: Kurvenimpuls 10,0 Ns, veröffentlicht 8,8 Ns"}));
  EXPECT_GT(MotorDetailBand(m), 3 * kDetailLineHeight);
}

}  // namespace
}  // namespace komet
