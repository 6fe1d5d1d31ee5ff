// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/flight_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>

#include "common/format.h"
#include "plot/read_out.h"
#include "plot/synthetic_flight.h"
#include "support/recording_canvas.h"

namespace komet {
namespace {

using testing::MakeSyntheticFlight;
using testing::RecordingCanvas;
using Op = RecordingCanvas::Op;

constexpr Pen kGridPen{{128, 128, 128}, 1, PenStyle::Dotted};
constexpr Color kNavy{0, 0, 128};
constexpr Color kTeal{0, 128, 128};
constexpr Color kMaroon{128, 0, 0};
constexpr Color kRed{255, 0, 0};

std::vector<RecordingCanvas::Call> LinesWithPen(const RecordingCanvas& c, Color color) {
  std::vector<RecordingCanvas::Call> out;
  for (const auto& l : c.Lines())
    if (l.pen.color == color) out.push_back(l);
  return out;
}

PlotSwitches AllOff() {
  PlotSwitches sw = *ParseCurves("");
  return sw;
}

TEST(PaintAxis, GridOfTheStandardWindow) {
  RecordingCanvas c;
  PlotState st;
  PaintAxis(c, 639, 351, st);
  EXPECT_EQ(st.plotOriginX, 45);
  EXPECT_EQ(st.plotOriginY, 264);
  EXPECT_EQ(st.plotBottom, 351);
  EXPECT_EQ(st.gridCountX, 18);
  EXPECT_EQ(st.gridCountY, 7);

  std::vector<int> vertical, above, below;
  for (const auto& l : c.Lines()) {
    if (l.pen != kGridPen) continue;
    if (l.x0 == l.x) {
      EXPECT_EQ(l.y0, 0);
      EXPECT_EQ(l.y, 351);
      vertical.push_back(l.x);
    } else {
      EXPECT_EQ(l.x0, 45);
      EXPECT_EQ(l.x, 639);
      (l.y < 264 ? above : below).push_back(l.y);
    }
  }
  std::vector<int> expectedVertical;
  for (int x = 75; x <= 615; x += 30) expectedVertical.push_back(x);
  EXPECT_EQ(vertical, expectedVertical);
  EXPECT_EQ(above, (std::vector<int>{234, 204, 174, 144, 114, 84, 54, 24}));
  EXPECT_EQ(below, (std::vector<int>{294, 324}));
}

TEST(PaintAxis, AxesAndOriginDot) {
  RecordingCanvas c;
  PlotState st;
  PaintAxis(c, 639, 351, st);
  const auto lines = c.Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(std::tie(lines[0].x0, lines[0].y0, lines[0].x, lines[0].y), std::make_tuple(45, 0, 45, 351));
  EXPECT_EQ(std::tie(lines[1].x0, lines[1].y0, lines[1].x, lines[1].y), std::make_tuple(0, 264, 639, 264));
  EXPECT_EQ(lines[2].pen, (Pen{kBlack, 5, PenStyle::Solid}));
  EXPECT_EQ(std::tie(lines[2].x0, lines[2].y0, lines[2].x, lines[2].y), std::make_tuple(45, 264, 45, 264));
}

// Each grid loop runs once even when its first line is off the surface.
TEST(PaintAxis, SmallSurfacesLeaveAScaleAtZero) {
  struct Case {
    int w, h, gridCountX, gridCountY;
  } cases[] = {{104, 351, 0, 7}, {105, 351, 1, 7}, {639, 78, 18, 0}, {639, 79, 18, 1},
               {1, 1, 0, 0},     {0, 0, 0, 0},     {30, 20, 0, 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.w << " x " << k.h);
    RecordingCanvas c;
    PlotState st;
    auto flight = MakeSyntheticFlight();
    const PlotSwitches sw;
    PaintBox1Paint(c, k.w, k.h, st, {flight.view(), sw});
    EXPECT_EQ(st.gridCountX, k.gridCountX);
    EXPECT_EQ(st.gridCountY, k.gridCountY);
    if (k.gridCountX == 0 || k.gridCountY == 0) {
      EXPECT_EQ(c.Texts().size(), 2u);  // apogee texts, no labels
    }
  }
}

TEST(PaintCurves, ScalesPutTheLargestShownMaximumOnTheSecondHighestLine) {
  auto f = MakeSyntheticFlight({.thrust = 500.0, .burnTime = 0.5, .mass = 10.0, .period = 10.0});
  const FlightResults& r = f.results;
  ASSERT_GT(r.peakThrust, std::max({r.maxHeight, r.maxVelocity, r.maxAccel}));
  PlotSwitches sw;  // initial: a, v, h
  RecordingCanvas c;
  PlotState st;
  PaintBox1Paint(c, 639, 351, st, {f.view(), sw});
  EXPECT_DOUBLE_EQ(st.scaleY, 210.0 / std::max({r.maxHeight, r.maxVelocity, r.maxAccel}));
  EXPECT_DOUBLE_EQ(st.scaleX, 540.0 / r.flightEndTime);
  const double unshrunk = st.scaleY;

  sw.Click(PlotSwitch::AnzS);
  PaintBox1Paint(c, 639, 351, st, {f.view(), sw});
  EXPECT_DOUBLE_EQ(st.scaleY, 210.0 / r.peakThrust);
  EXPECT_LT(st.scaleY, unshrunk);
}

// A comparison flight that climbs higher than the main one sets the common
// scale: its apogee lies on the second-highest grid line, its curve inside
// the plot.
TEST(PaintCurves, AHigherComparisonFlightSetsTheVerticalRange) {
  auto main = MakeSyntheticFlight({.thrust = 20.0, .burnTime = 1.0, .period = 20.0});
  auto higher = MakeSyntheticFlight({.thrust = 40.0, .burnTime = 1.0, .period = 20.0});
  ASSERT_GT(higher.results.maxHeight, 2.0 * main.results.maxHeight);
  const PlotSwitches sw = *ParseCurves("h");
  PlotState st;
  RecordingCanvas c;
  PaintBox1Paint(c, 639, 351, st, {main.view(), sw, {}, ',', &higher.results});
  EXPECT_DOUBLE_EQ(st.scaleY, 210.0 / higher.results.maxHeight);
  EXPECT_DOUBLE_EQ(st.scaleX, 540.0 / higher.results.flightEndTime);
  RecordingCanvas compared;
  PaintComparison(compared, 639, st, sw, higher.view(), "Vergleich");
  int top = st.plotOriginY;
  for (const auto& line : compared.Lines()) top = std::min(top, line.y);
  EXPECT_NEAR(top, 54, 1);  // its apogee, on the plot
}

TEST(PaintCurves, NothingShownGivesRangeOneAndZeroEndTimeIsDrawnAsOne) {
  auto f = MakeSyntheticFlight();
  f.results.flightEndTime = 0.0;
  const PlotSwitches sw = AllOff();
  RecordingCanvas c;
  PlotState st;
  const auto summary = PaintBox1Paint(c, 639, 351, st, {f.view(), sw});
  EXPECT_TRUE(summary.has_value());
  EXPECT_DOUBLE_EQ(st.scaleY, 210.0);
  EXPECT_EQ(f.results.flightEndTime, 0.0);  // the painter never writes the results
  EXPECT_DOUBLE_EQ(st.scaleX, 540.0);
}

TEST(PaintCurves, EachShownCurveIsOnePolylineFromTheOrigin) {
  auto f = MakeSyntheticFlight({.period = 5.0});
  const PlotSwitches sw = *ParseCurves("hvaSF");
  RecordingCanvas c;
  PlotState st;
  PaintBox1Paint(c, 639, 351, st, {f.view(), sw});
  for (Color color : {Color{0, 128, 0}, Color{128, 0, 128}, Color{0, 0, 255}}) {
    const auto lines = LinesWithPen(c, color);
    ASSERT_EQ(lines.size(), f.lastSample);
    EXPECT_EQ(std::tie(lines[0].x0, lines[0].y0), std::make_tuple(45, 264));
  }
  // Thrust goes by step number, acceleration by the sample's time.
  const auto thrust = LinesWithPen(c, {0, 128, 0});
  const auto accel = LinesWithPen(c, {0, 0, 255});
  for (std::size_t i : {1u, 100u, 500u}) {
    EXPECT_EQ(thrust[i - 1].x, 45 + static_cast<int>(i * 0.005 * st.scaleX));
    EXPECT_EQ(accel[i - 1].x, 45 + static_cast<int>(f.samples[i].time * st.scaleX));
    EXPECT_EQ(accel[i - 1].y, 264 - static_cast<int>(f.samples[i].accel * st.scaleY));
  }
}

TEST(PaintCurves, ApogeeLinesTextsAndThickSegment) {
  auto f = MakeSyntheticFlight();
  const FlightResults& r = f.results;
  const PlotSwitches sw = *ParseCurves("h");
  RecordingCanvas c;
  PlotState st;
  PaintBox1Paint(c, 639, 351, st, {f.view(), sw, {}, '.'});
  const int ax = 45 + static_cast<int>(r.maxHeightTime * st.scaleX);
  const int ay = 264 - static_cast<int>(r.maxHeight * st.scaleY);
  EXPECT_NEAR(ay, 54, 1);  // ymax on the second-highest grid line

  const auto navy = LinesWithPen(c, kNavy);
  ASSERT_EQ(navy.size(), 2u);
  EXPECT_EQ(std::tie(navy[0].x0, navy[0].y0, navy[0].x, navy[0].y), std::make_tuple(ax, ay, ax, 0));
  EXPECT_EQ(std::tie(navy[1].x0, navy[1].y0, navy[1].x, navy[1].y), std::make_tuple(ax, ay, 639, ay));

  const auto* t = c.FindText(Format('.', "%.2f [sec]", r.maxHeightTime));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(std::tie(t->x, t->y), std::make_tuple(ax - 5, 0));
  const auto* m = c.FindText(Format('.', "%.2f [m]", r.maxHeight));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(std::tie(m->x, m->y), std::make_tuple(639 - 60, ay - 5));

  const auto thick = LinesWithPen(c, kRed);
  ASSERT_EQ(thick.size(), 1u);
  EXPECT_EQ(thick[0].pen.width, 5);
  EXPECT_EQ(thick[0].y, ay);
  EXPECT_EQ(LinesWithPen(c, kBlack).back().pen.width, 1);
}

TEST(PaintCurves, BurnoutAndDelayMarkers) {
  auto f = MakeSyntheticFlight({.burnTime = 1.6});
  ASSERT_GT(f.results.flightEndTime, 6.6);
  const PlotSwitches sw = *ParseCurves("brenn");
  RecordingCanvas c;
  PlotState st;
  PaintBox1Paint(c, 639, 351, st, {f.view(), sw, {3, 5, 0, 0}});
  auto xOf = [&](std::size_t n) { return 45 + static_cast<int>(f.samples[n].time * st.scaleX); };

  const auto teal = LinesWithPen(c, kTeal);
  ASSERT_EQ(teal.size(), 1u);
  EXPECT_EQ(std::tie(teal[0].x0, teal[0].y0, teal[0].x, teal[0].y),
            std::make_tuple(xOf(320), 0, xOf(320), 351));
  const auto maroon = LinesWithPen(c, kMaroon);
  ASSERT_EQ(maroon.size(), 2u);
  EXPECT_EQ(maroon[0].x, xOf(920));
  EXPECT_EQ(maroon[1].x, xOf(1320));
  const auto* three = c.FindText("3 [sec]");
  ASSERT_NE(three, nullptr);
  EXPECT_EQ(std::tie(three->x, three->y), std::make_tuple(xOf(920) - 6, 351 - 30));
  EXPECT_NE(c.FindText("5 [sec]"), nullptr);
  EXPECT_EQ(c.FindText("0 [sec]"), nullptr);
  EXPECT_EQ(c.font().color, kBlack);
}

// Delays a second apart on a narrow plot: their labels would run into each
// other on one line, so each that would goes a line higher.
TEST(PaintCurves, DelayLabelsThatWouldOverlapStandOneLineApart) {
  auto f = MakeSyntheticFlight({.burnTime = 1.6});
  const PlotSwitches sw = *ParseCurves("brenn");
  RecordingCanvas c;
  PlotState st;
  PaintBox1Paint(c, 200, 351, st, {f.view(), sw, {3, 4, 5, 9}});
  const auto maroon = LinesWithPen(c, kMaroon);
  ASSERT_EQ(maroon.size(), 4u);
  std::vector<const RecordingCanvas::Call*> labels;
  for (const char* text : {"3 [sec]", "4 [sec]", "5 [sec]", "9 [sec]"}) labels.push_back(c.FindText(text));
  std::set<int> rows;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    ASSERT_NE(labels[i], nullptr) << i;
    EXPECT_EQ(labels[i]->x, maroon[i].x - 6);  // beside its own line, as ever
    EXPECT_EQ((351 - 30 - labels[i]->y) % 11, 0) << labels[i]->y;
    rows.insert(labels[i]->y);
    for (std::size_t j = 0; j < i; ++j) {
      const bool apartX =
          labels[i]->x >= labels[j]->x + 7 * 5 + 5 || labels[j]->x >= labels[i]->x + 7 * 5 + 5;
      EXPECT_TRUE(apartX || labels[i]->y != labels[j]->y) << i << " runs into " << j;
    }
  }
  EXPECT_EQ(labels[0]->y, 351 - 30);  // the first stays on the line
  EXPECT_GT(rows.size(), 1u);
  EXPECT_LT(rows.size(), 4u);  // a label that fits lower is not lifted
}

TEST(PaintCurves, MarkersAtOrBeyondTheFlightEndAreLeftOut) {
  auto f = MakeSyntheticFlight({.burnTime = 1.6, .period = 4.0});
  // Ejection at 1.6 + 2 = 3.6 s is drawn; 1.6 + 3 = 4.6 s lies beyond the end.
  const PlotSwitches sw = *ParseCurves("brenn");
  RecordingCanvas c;
  PlotState st;
  PaintBox1Paint(c, 639, 351, st, {f.view(), sw, {2, 3, -1, 100}});
  EXPECT_EQ(LinesWithPen(c, kMaroon).size(), 1u);
  EXPECT_NE(c.FindText("2 [sec]"), nullptr);

  // A burn longer than the computed flight: no burnout line at all.
  f.results.burnoutTime = 20.0;
  RecordingCanvas late;
  PaintBox1Paint(late, 639, 351, st, {f.view(), sw, {2, 0, 0, 0}});
  EXPECT_TRUE(LinesWithPen(late, kTeal).empty());
  EXPECT_TRUE(LinesWithPen(late, kMaroon).empty());

  // An end time of 0 is drawn as 1 s for the markers too: 0.5 s lies inside.
  f.results.flightEndTime = 0.0;
  f.results.burnoutTime = -0.5;
  RecordingCanvas zero;
  PaintBox1Paint(zero, 639, 351, st, {f.view(), sw, {1, 2, 0, 0}});
  EXPECT_EQ(LinesWithPen(zero, kMaroon).size(), 1u);
  EXPECT_NE(zero.FindText("1 [sec]"), nullptr);
  EXPECT_EQ(f.results.flightEndTime, 0.0);
}

TEST(PaintCurves, ValuesBelowTheBottomLieOnTheBottomEdge) {
  // Lands after about 3 s: the descending velocity is far below the time axis.
  auto f = MakeSyntheticFlight({.thrust = 40.0, .burnTime = 0.2, .mass = 0.5, .period = 50.0});
  const PlotSwitches sw = *ParseCurves("v");
  RecordingCanvas c;
  PlotState st;
  PaintBox1Paint(c, 639, 120, st, {f.view(), sw});
  const auto v = LinesWithPen(c, kRed);
  ASSERT_FALSE(v.empty());
  int lowest = INT_MIN;
  for (const auto& l : v) lowest = std::max(lowest, l.y);
  EXPECT_EQ(lowest, st.plotBottom);
  EXPECT_EQ(v.back().y, 120);
}

TEST(SummaryLine, FormatsWithTheGivenSeparator) {
  FlightResults r;
  r.maxVelocity = 50.0, r.maxVelocityTime = 1.55, r.burnoutTime = 1.6, r.maxHeightTime = 6.25;
  EXPECT_EQ(SummaryLine(r, ','),
            "Max v:50,0 [m/sec] 180,0 [km/h] bei 1,6 [sec]        Brennschluss bei: 1,6 [sec]        "
            "empfohlene Verzögerung: 4,7 [sec]");
  EXPECT_EQ(SummaryLine(r, '.'),
            "Max v:50.0 [m/sec] 180.0 [km/h] bei 1.6 [sec]        Brennschluss bei: 1.6 [sec]        "
            "empfohlene Verzögerung: 4.7 [sec]");
  EXPECT_TRUE(SummaryLine(r, ',', 5.94).ends_with("empfohlene Verzögerung: 5,9 [sec]"));  // the free ascent's
}

TEST(PaintBox1Paint, WithoutResultsOnlyAxesAndGrid) {
  auto f = MakeSyntheticFlight();
  f.results.resultsValid = false;
  const PlotSwitches sw = *ParseCurves("hvaSF,brenn");
  RecordingCanvas c;
  PlotState st;
  EXPECT_FALSE(PaintBox1Paint(c, 639, 351, st, {f.view(), sw, {3, 0, 0, 0}}).has_value());
  EXPECT_TRUE(c.Texts().empty());
  EXPECT_EQ(c.Lines().size(), 3u + 19u + 2u + 8u);
  EXPECT_EQ(st.scaleX, 0.0);
  EXPECT_EQ(c.font(), (Font{"Arial", 0.0, 11, kBlack, false}));
  EXPECT_EQ(c.background, kWhite);
}

TEST(PaintAx, OneLabelPerGridLine) {
  RecordingCanvas c;
  PlotState st;
  PaintAxis(c, 639, 351, st);
  st.scaleX = 54.0;  // 10 s over 18 grid steps
  st.scaleY = 3.0;   // 70 units over 7
  c.calls.clear();
  PaintAx(c, 639, 351, st, ',');
  const auto texts = c.Texts();
  ASSERT_EQ(texts.size(), 19u + 2u + 8u);
  EXPECT_EQ(texts[0].text, "0,6");
  EXPECT_EQ(std::tie(texts[0].x, texts[0].y), std::make_tuple(70, 333));
  EXPECT_EQ(texts[17].text, "10,0");  // x = 585: the flight's end
  EXPECT_EQ(texts[19].text, "-10,0");
  EXPECT_EQ(std::tie(texts[19].x, texts[19].y), std::make_tuple(5, 289));
  EXPECT_EQ(texts[21].text, "10,0");
  EXPECT_EQ(texts[27].text, "70,0");  // y = 54
  EXPECT_EQ(std::tie(texts[27].x, texts[27].y), std::make_tuple(5, 49));

  c.calls.clear();
  st.scaleY = 0.0;
  PaintAx(c, 639, 351, st, ',');
  EXPECT_TRUE(c.calls.empty());
}

// A zoomed view spreads its time span over the grid as the whole flight
// spreads the flight: its start on the value axis, its end on the second
// grid line from the right; the top is the largest shown value within the
// span; labels, read-out and curve points all count from the start.
TEST(PaintBox1Paint, AZoomedViewCountsFromItsStart) {
  auto f = MakeSyntheticFlight({.period = 10.0});
  PlotSwitches sw = *ParseCurves("h");
  PlotInputs in{f.view(), sw};
  in.zoom = PlotZoom{2.0, 4.0, 0.0};
  RecordingCanvas c;
  PlotState st;
  PaintBox1Paint(c, 639, 351, st, in);
  EXPECT_EQ(st.startTime, 2.0);
  EXPECT_DOUBLE_EQ(st.scaleX, 18 * 30 / 2.0);
  double top = 0.0;
  for (std::size_t i = 0; i <= f.lastSample; ++i)
    if (f.samples[i].time >= 2.0 && f.samples[i].time <= 4.0) top = std::max(top, f.samples[i].height);
  EXPECT_DOUBLE_EQ(st.scaleY, 7 * 30 / top);
  // The first time label, one grid step right of the axis: 2 s + 30 px.
  EXPECT_NE(c.FindText(Format(',', "%.1f", 2.0 + 30 / st.scaleX)), nullptr);
  const auto texts = ReadOut(45 + 270, st, f.view(), ',');
  ASSERT_TRUE(texts);
  EXPECT_EQ(texts->time, "3,0");
  // The height line passes through the sample at 3 s where its x says.
  const FlightSample& s = f.samples[600];
  bool through = false;
  for (const auto& l : c.Lines())
    through |= l.x == 45 + static_cast<int>(std::trunc((s.time - 2.0) * st.scaleX)) &&
               l.y == 264 - static_cast<int>(std::trunc(s.height * st.scaleY));
  EXPECT_TRUE(through);
}

// Whatever the width, the screen writes no time label its right edge cuts.
TEST(PaintBox1Paint, NoTimeLabelRunsPastTheRightEdge) {
  auto f = MakeSyntheticFlight({.period = 10.0});
  PlotSwitches sw;
  for (int width = 639; width <= 700; ++width) {
    RecordingCanvas c;
    PlotState st;
    PaintBox1Paint(c, width, 351, st, {f.view(), sw});
    int labels = 0;
    for (const auto& t : c.Texts()) {
      if (t.y != 351 - 18) continue;
      ++labels;
      EXPECT_LE(t.x + c.TextWidth(t.text), width) << width << ": " << t.text;
    }
    EXPECT_GE(labels, 18) << width;
  }
}

}  // namespace
}  // namespace komet
