// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/read_out.h"

#include <gtest/gtest.h>

#include <climits>

#include "plot/synthetic_flight.h"

namespace komet {
namespace {

using testing::MakeSyntheticFlight;

struct Expected {
  const char* time;
  const char* height;  // nullptr: panel not written
  const char* velocity;
  const char* kmh;
  const char* accel;
};

void ExpectTexts(const std::optional<ReadOutTexts>& r, const Expected& e) {
  ASSERT_TRUE(r.has_value());
  if (e.time != nullptr) {
    EXPECT_EQ(r->time, e.time);
  }
  auto same = [](const std::optional<std::string>& got, const char* want) {
    if (want == nullptr) {
      EXPECT_FALSE(got.has_value()) << *got;
    } else {
      EXPECT_EQ(got.value_or("<none>"), want);
    }
  };
  same(r->height, e.height);
  same(r->velocity, e.velocity);
  same(r->velocityKmh, e.kmh);
  same(r->accel, e.accel);
}

class ReadOutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    flight.samples[1000] = {4.995, 0.0, 123.45, 0.0, -9.81, 50.0, 0.0};
    flight.samples[flight.lastSample] = {flight.samples[flight.lastSample].time, 0, 7.0, 0, 1.3, -2.0, 0};
    state.scaleX = 30.0;
  }
  testing::SyntheticFlight flight = MakeSyntheticFlight({.period = 8.0});
  PlotState state;  // plotOriginX 45
};

TEST_F(ReadOutTest, TimeAndTheSampleOneStepBefore) {
  // 150 px at 30 px/s: 5 s, sample 1000.
  ExpectTexts(ReadOut(195, state, flight.view(), '.'), {"5.0", "123.5", "50.0", "180.0", "-9.8"});
  ExpectTexts(ReadOut(195, state, flight.view(), ','), {"5,0", "123,5", "50,0", "180,0", "-9,8"});
}

TEST_F(ReadOutTest, RightOfTheFlightShowsItsLastSample) {
  ASSERT_EQ(flight.lastSample, 1600u);
  for (int x : {45 + 30 * 9, 45 + 30 * 400, 2'000'000'000})
    ExpectTexts(ReadOut(x, state, flight.view(), '.'), {nullptr, "7.0", "-2.0", "-7.2", "1.3"});
}

TEST_F(ReadOutTest, OnOrLeftOfTheAxisChangesNothing) {
  for (int x : {45, 44, 0, -5, INT_MIN}) EXPECT_FALSE(ReadOut(x, state, flight.view(), '.').has_value()) << x;
}

TEST_F(ReadOutTest, WithoutScaleThePixelDistanceAndNoValues) {
  state.scaleX = 0.0;
  flight.results.resultsValid = false;
  ExpectTexts(ReadOut(145, state, flight.view(), '.'), {"100.0", nullptr, nullptr, nullptr, nullptr});
  flight.results.resultsValid = true;  // scale cleared by the empty rocket, no paint since
  ExpectTexts(ReadOut(145, state, flight.view(), '.'), {"100.0", nullptr, nullptr, nullptr, nullptr});
  state.scaleX = 30.0;
  flight.results.resultsValid = false;
  ExpectTexts(ReadOut(195, state, flight.view(), '.'), {"5.0", nullptr, nullptr, nullptr, nullptr});
}

TEST(StatusPanels, ReadOutFieldsAreTheLoweredOnes) {
  int lowered = 0;
  for (std::size_t i = 0; i < kStatusPanels.size(); ++i) {
    const bool readOut = i == kPanelTime || i == kPanelHeight || i == kPanelVelocity ||
                         i == kPanelVelocityKmh || i == kPanelAccel;
    EXPECT_EQ(kStatusPanels[i].lowered, readOut) << i;
    if (readOut) {
      EXPECT_TRUE(kStatusPanels[i].text.empty());
    }
    lowered += kStatusPanels[i].lowered;
  }
  EXPECT_EQ(lowered, 5);
  EXPECT_EQ(kStatusPanels[10].text, "[m/sec²]");
}

}  // namespace
}  // namespace komet
