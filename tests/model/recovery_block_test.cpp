// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "model/recovery.h"
#include "support/recovery_fixtures.h"

namespace komet {
namespace {

using Kind = Recovery::Kind;
using Deployment = Recovery::Deployment;

// A parachute (a: diameter) or streamer (a: length, b: width) in mm.
Recovery Make(Kind kind, double a, double b, double cw, Deployment d, double delay, double inflation) {
  Recovery r = kind == Kind::Parachute ? testing::Chute(a, d, delay, inflation) : testing::Streamer(a, b);
  r.cw = cw;
  r.deployment = d;
  r.delay = delay;
  r.inflationTime = inflation;
  return r;
}

const std::vector<Recovery>& Samples() {
  static const std::vector<Recovery> samples = {
      Make(Kind::Parachute, 300, 0, 0.8, Deployment::Delay, 5.0, 0.0),
      Make(Kind::Parachute, 5000, 0, 2.5, Deployment::Apogee, 0.0, 2.5),
      Make(Kind::Parachute, 50, 0, 0.3, Deployment::Delay, 25.0, 0.35),
      Make(Kind::Streamer, 1200, 60, 0.0498, Deployment::Apogee, 7.3, 0.0),
      Make(Kind::Streamer, 10000, 1000, 1.0, Deployment::Delay, 0.0, 1.0),
  };
  return samples;
}

std::vector<std::uint8_t> FileBytes(const RocketRecord& r) {
  std::vector<std::uint8_t> b(RocketRecord::kSize);
  EncodeRocketRecord(r, b);
  return b;
}

TEST(RecoveryBlockTest, RoundTripsThroughTheRocketFileAndTouchesOnlyTheReservedBytes) {
  RocketRecord plain;
  InitRakete(plain);
  const std::vector<std::uint8_t> before = FileBytes(plain);
  for (const Recovery& r : Samples()) {
    RocketRecord rocket = plain;
    WriteRecovery(rocket, r);
    const std::vector<std::uint8_t> bytes = FileBytes(rocket);
    for (std::size_t i = 0; i < rocket_layout::kReserved; ++i) ASSERT_EQ(bytes[i], before[i]) << "byte " << i;
    const std::optional<Recovery> back = ReadRecovery(DecodeRocketRecord(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, StoredRecovery(r));
    EXPECT_NEAR(back->cw, r.cw, 0.0005);
    EXPECT_NEAR(back->delay, r.delay, 0.05);
    // Written again, the block does not change: a saved rocket reads back as saved.
    RocketRecord again = plain;
    WriteRecovery(again, *back);
    EXPECT_EQ(again.reserved, rocket.reserved);
  }
}

// The block's bytes as a file holds them: little-endian fields at their
// offsets, the check a CRC-8 (polynomial x^8 + x^2 + x + 1, start 0) over
// every other byte.
TEST(RecoveryBlockTest, GoldenBytes) {
  const struct {
    Recovery recovery;
    std::array<std::uint8_t, 12> bytes;
  } cases[] = {
      // 300 mm, cw 800/1000, charge after 50/10 s, opens at once.
      {Make(Kind::Parachute, 300, 0, 0.8, Deployment::Delay, 5.0, 0.0),
       {0x42, 0x01, 0x3F, 0x01, 0x2C, 0x01, 0x00, 0x00, 0x20, 0x03, 0x32, 0x00}},
      // 1200 x 60 mm at apogee (flags 2 | 4), cw 0.0498 kept as 50/1000,
      // delay 73/10 s, inflation 25/100 s.
      {Make(Kind::Streamer, 1200, 60, 0.0498, Deployment::Apogee, 7.3, 0.25),
       {0x42, 0x01, 0x63, 0x06, 0xB0, 0x04, 0x3C, 0x00, 0x32, 0x00, 0x49, 0x19}},
  };
  for (const auto& c : cases) {
    RocketRecord rocket;
    WriteRecovery(rocket, c.recovery);
    const std::vector<std::uint8_t> bytes = FileBytes(rocket);
    const std::vector<std::uint8_t> block(bytes.begin() + rocket_layout::kReserved, bytes.end());
    EXPECT_EQ(block, std::vector<std::uint8_t>(c.bytes.begin(), c.bytes.end()));
    RocketRecord read;
    std::copy(c.bytes.begin(), c.bytes.end(), read.reserved.begin());
    EXPECT_EQ(ReadRecovery(read), StoredRecovery(c.recovery));
  }
}

TEST(RecoveryBlockTest, AnyChangedByteOrForeignBytesReadAsNoRecovery) {
  for (const Recovery& r : Samples()) {
    RocketRecord rocket;
    WriteRecovery(rocket, r);
    for (std::size_t i = 0; i < rocket.reserved.size(); ++i)
      for (const std::uint8_t flip : {0x01, 0x80, 0xFF}) {
        RocketRecord damaged = rocket;
        damaged.reserved[i] ^= flip;
        EXPECT_FALSE(ReadRecovery(damaged)) << "byte " << i << " ^ " << int(flip);
      }
  }
  RocketRecord foreign;
  EXPECT_FALSE(ReadRecovery(foreign));  // zeros: every file written without recovery
  foreign.reserved.fill(0xFF);
  EXPECT_FALSE(ReadRecovery(foreign));
  for (std::uint8_t& b : foreign.reserved) b = static_cast<std::uint8_t>(&b - foreign.reserved.data() + 'A');
  EXPECT_FALSE(ReadRecovery(foreign));
  WriteRecovery(foreign, std::nullopt);
  EXPECT_EQ(foreign.reserved, RocketRecord{}.reserved);
}

// (The dialog's form holds each field to its range; here what it cannot
// type.) A value that is no number is out of range; the charge's delay
// plays no part when electronics open the device.
TEST(RecoveryBlockTest, NoNumberIsOutOfRangeAndApogeeIgnoresTheDelay) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(
      RecoveryProblem(Make(Kind::Parachute, nan, 0, 0.8, Deployment::Delay, 5, 0)).rfind("Fallschirm", 0),
      0u);
  EXPECT_EQ(RecoveryProblem(Make(Kind::Streamer, 1200, 60, nan, Deployment::Delay, 5, 0)).rfind("cw", 0), 0u);
  EXPECT_EQ(RecoveryProblem(Make(Kind::Parachute, 300, 0, 0.8, Deployment::Apogee, 99, 0)), "");
  EXPECT_NE(RecoveryProblem(Make(Kind::Parachute, 300, 0, 0.8, Deployment::Delay, 99, 0)), "");
}

TEST(RecoveryBlockTest, StreamerRuleFallsWithLength) {
  // A metre of 80 g/m² material: 0.034 × 105/105 × 2/1.
  EXPECT_NEAR(StreamerCw(1000.0, 80.0), 0.068, 1e-12);
  EXPECT_GT(StreamerCw(500.0), StreamerCw(2000.0));
  EXPECT_GT(StreamerCw(1000.0, 60.0), StreamerCw(1000.0, 20.0));
}

}  // namespace
}  // namespace komet
