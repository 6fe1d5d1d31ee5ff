// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/motor_match.h"

#include <gtest/gtest.h>

namespace komet {
namespace {

TEST(MotorMatchTest, MatchesSlotsByNameIgnoringCase) {
  MotorList list = {{"A8", 0, -1}, {"c6", 1, -1}, {"C6", 2, -1}, {"D12", 3, -1}};
  SortMotorList(list);  // A8, c6, C6, D12
  RocketRecord r;
  InitRakete(r);
  r.stages[0].counts = {1, 0, 2};
  r.stages[0].motors[0].name.assign("C6");
  r.stages[0].motors[1].name.assign("A8");  // count 0: never selected
  r.stages[0].motors[2].name.assign("d12");
  r.stages[1].counts = {1, 0, 0};
  r.stages[1].motors[0].name.assign("Unbekannt");
  const MotorSelections sel = MatchRocketMotors(list, r);
  EXPECT_EQ(sel[0], 2) << "the last matching entry wins";
  EXPECT_EQ(sel[1], -1);
  EXPECT_EQ(sel[2], 3);
  EXPECT_EQ(sel[3], -1);
}

}  // namespace
}  // namespace komet
