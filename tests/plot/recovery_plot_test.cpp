// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "model/rocket_file.h"
#include "plot/flight_plot.h"
#include "plot/synthetic_flight.h"
#include "sim/simulation.h"
#include "support/recording_canvas.h"

namespace komet {
namespace {

using testing::MakeSyntheticFlight;
using testing::RecordingCanvas;

constexpr Color kOlive{128, 128, 0};

std::vector<RecordingCanvas::Call> OliveLines(const RecordingCanvas& c) {
  std::vector<RecordingCanvas::Call> out;
  for (const auto& l : c.Lines())
    if (l.pen.color == kOlive) out.push_back(l);
  return out;
}

// The deployment marker stands at the first sample with the device's drag,
// with or without the burnout and delay markers, and only when the run
// opened a device within the computed flight. Beside the delay marker of
// the same moment its label goes one line up.
TEST(RecoveryPlot, DeploymentMarkerOnlyWhenADeviceOpened) {
  const struct {
    const char* what;
    bool deployed;
    std::size_t step;
    const char* curves;
    bool drawn;
    int labelRow;  // lines above the label line
  } cases[] = {
      {"opened, markers off", true, 1320, "h", true, 0},
      {"opened with the 5 s delay's marker", true, 1320, "h,brenn", true, 1},
      {"none opened", false, 1320, "h,brenn", false, 0},
      {"beyond the computed flight", true, 20000, "h", false, 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    auto f = MakeSyntheticFlight({.burnTime = 1.6});
    ASSERT_LT(f.lastSample, 20000u);
    f.results.deployed = k.deployed;
    f.results.deploymentStep = k.step;
    RecordingCanvas c;
    PlotState st;
    PaintBox1Paint(c, 639, 351, st, {f.view(), *ParseCurves(k.curves), {3, 5, 0, 0}});
    const auto olive = OliveLines(c);
    const auto* label = c.FindText("Bergung");
    ASSERT_EQ(olive.size(), k.drawn ? 1u : 0u);
    ASSERT_EQ(label != nullptr, k.drawn);
    if (!k.drawn) continue;
    const int x = 45 + static_cast<int>(f.samples[k.step].time * st.scaleX);
    EXPECT_EQ(std::tie(olive[0].x0, olive[0].y0, olive[0].x, olive[0].y), std::make_tuple(x, 0, x, 351));
    EXPECT_EQ(std::tie(label->x, label->y), std::make_tuple(x - 6, 351 - 30 - 11 * k.labelRow));
    if (const auto* five = c.FindText("5 [sec]")) {
      EXPECT_EQ(five->y, 351 - 30) << "the delay keeps its line";
    }
  }
}

// The example rocket under a 30 cm chute: the time axis follows the flight
// past the calculation period to the landing, the marker where it opened.
TEST(RecoveryPlot, TheWholeFlightToTheLandingWithItsMarker) {
  RocketRecord rocket =
      ReadRocketFile(KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6.kmw", RocketRecord{}).record;
  WriteRecovery(rocket, Recovery{.diameterMm = 300.0, .cw = kDefaultChuteCw, .delay = 5.0});
  Simulation sim;
  sim.RunSimulation(rocket, FixedConstants{});
  const FlightResults& r = sim.results();
  ASSERT_TRUE(r.deployed && r.landed);
  ASSERT_GT(r.flightEndTime, ConstantValues{}.calcPeriod);
  RecordingCanvas c;
  PlotState st;
  PaintBox1Paint(c, 639, 351, st, {MakeFlightView(sim), *ParseCurves("h")});
  EXPECT_DOUBLE_EQ(st.scaleX, 540.0 / r.flightEndTime);
  const auto olive = OliveLines(c);
  ASSERT_EQ(olive.size(), 1u);
  EXPECT_EQ(olive[0].x, 45 + static_cast<int>(std::trunc(r.deploymentTime * st.scaleX)));
}

}  // namespace
}  // namespace komet
