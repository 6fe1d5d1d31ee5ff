// SPDX-License-Identifier: GPL-3.0-or-later
// The plot on every surface size, over flights whose tables end right after
// their end marker (or carry none), so any read past the computed flight is
// either an AddressSanitizer report or a stale value on the surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "plot/flight_plot.h"
#include "plot/read_out.h"
#include "plot/synthetic_flight.h"

namespace komet {
namespace {

using testing::MakeSyntheticFlight;
using testing::SyntheticFlight;

// Counts calls and keeps the extremes of the coordinates; stores nothing.
class BoundsCanvas : public Canvas {
 public:
  void MoveTo(int x, int y) override { See(x, y); }
  void LineTo(int x, int y) override { See(x, y), ++lines; }
  void Rectangle(int x1, int y1, int x2, int y2) override { See(x1, y1), See(x2, y2); }
  void SetPen(const Pen& p) override { pen_ = p; }
  const Pen& pen() const override { return pen_; }
  void SetFont(const Font& f) override { font_ = f; }
  const Font& font() const override { return font_; }
  void SetTextBackground(std::optional<Color>) override {}
  void TextOut(int x, int y, std::string_view) override { See(x, y), ++texts; }
  int TextWidth(std::string_view t) override { return static_cast<int>(t.size()) * 6; }
  int TextHeight(std::string_view) override { return 11; }
  FontMetrics Metrics() override { return {13, 11, 2, 0}; }

  int minY = INT_MAX, maxY = INT_MIN, minX = INT_MAX, maxX = INT_MIN;
  long long lines = 0, texts = 0;

 private:
  void See(int x, int y) {
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  Pen pen_;
  Font font_;
};

// The flight's table cut to the series and its end marker: a read past it
// is a heap overflow.
struct TightFlight {
  explicit TightFlight(SyntheticFlight f) : flight(std::move(f)) {
    table.assign(flight.samples.begin(), flight.samples.begin() + flight.lastSample + 2);
  }
  FlightView view() { return {table, flight.lastSample, flight.results, flight.constants}; }
  SyntheticFlight flight;
  std::vector<FlightSample> table;
};

struct Size {
  int w, h;
};

// Every pair of the small sizes around the grid thresholds, and huge ones.
std::vector<Size> SurfaceSizes(bool everyPair) {
  const int small[] = {0, 1, 2, 29, 45, 46, 75, 104, 105, 333, 639, 1920};
  std::vector<Size> out;
  for (int w : small)
    for (int h : small)
      if (everyPair || w == h || w == 639 || h == 351) out.push_back({w, h});
  for (int other : {1, 351, 1920}) out.push_back({INT_MAX, other}), out.push_back({other, INT_MAX});
  out.push_back({kMaxPlotSurfaceSize, kMaxPlotSurfaceSize});
  out.push_back({INT_MAX, INT_MAX});
  out.push_back({-5, -5});
  return out;
}

void PaintEverySize(FlightView view, const std::array<std::int8_t, 4>& delays, bool everyPair) {
  const PlotSwitches sw = *ParseCurves("hvaSF,brenn");
  for (const auto [w, h] : SurfaceSizes(everyPair)) {
    SCOPED_TRACE(::testing::Message() << w << " x " << h);
    BoundsCanvas c;
    PlotState st;
    ASSERT_TRUE(PaintBox1Paint(c, w, h, st, {view, sw, delays}).has_value());
    // Stale entries would draw at about -1e9 × scale; the coordinate limit is never reached.
    EXPECT_GT(c.minY, -kCanvasCoordinateLimit);
    EXPECT_LE(c.maxY, std::clamp(h, 0, kMaxPlotSurfaceSize) + kPlotGridStep);  // one grid line may lie below
    EXPECT_LE(c.maxX, std::max(std::clamp(w, 0, kMaxPlotSurfaceSize), 45) + kPlotGridStep);
    for (int x : {w - 1, w, w / 2, INT_MAX}) ReadOut(x, st, view, '.');
  }
}

TEST(PlotBounds, ShortFlightOnEverySurface) {
  TightFlight f(MakeSyntheticFlight({.thrust = 40.0, .burnTime = 0.2, .mass = 0.5, .period = 50.0}));
  ASSERT_LT(f.flight.lastSample, 1000u);
  // Burnout and every delay lie beyond this short flight.
  f.flight.results.burnoutTime = 30.0;
  PaintEverySize(f.view(), {1, 2, 127, 3}, true);
}

TEST(PlotBounds, LongFlightOnEverySurface) {
  TightFlight f(MakeSyntheticFlight({.thrust = 100.0, .burnTime = 3.0, .mass = 1.0, .period = 50.0}));
  ASSERT_EQ(f.flight.lastSample, 10000u);
  PaintEverySize(f.view(), {3, 5, 0, 8}, false);
}

TEST(PlotBounds, EmptySeriesDrawsSampleOne) {
  TightFlight f(testing::MakeEmptySeries());
  PaintEverySize(f.view(), {3, 0, 0, 0}, true);
}

TEST(PlotBounds, ATableWithoutEndMarkerStopsAtTheLastSample) {
  SyntheticFlight f = MakeSyntheticFlight({.period = 2.0});
  for (std::size_t i = f.lastSample + 1; i < f.samples.size(); ++i) f.samples[i].time = 1.0;  // no marker
  const PlotSwitches sw = *ParseCurves("h");
  for (std::size_t last : {f.lastSample, std::size_t{80000}}) {
    FlightView view{f.samples, last, f.results, f.constants};
    BoundsCanvas c;
    PlotState st;
    PaintBox1Paint(c, 639, 351, st, {view, sw});
    if (last == f.lastSample) {
      EXPECT_EQ(c.lines, 32 + static_cast<long long>(last) + 2);
    } else {
      EXPECT_LT(c.minY, -100000);  // a lastSample past the table still stops at its end
    }
  }
}

}  // namespace
}  // namespace komet
