// Names in the order a reader expects them: numbers by value.

#include "common/natural_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace komet {
namespace {

TEST(NaturalOrderTest, NumbersSortByTheirValue) {
  const std::vector<std::string> sorted = {
      "1/2A3", "A2",   "A3 [Estes]",  "A10", "a10 [Klima]",     "B6",  "C6",
      "D2",    "D007", "D12 [Estes]", "D16", "F12345678901234", "G40", "Z"};
  for (std::size_t i = 0; i + 1 < sorted.size(); ++i)
    EXPECT_LT(NaturalSortKey(sorted[i]), NaturalSortKey(sorted[i + 1]))
        << sorted[i] << " / " << sorted[i + 1];
}

TEST(NaturalOrderTest, CaseAndLeadingZerosDoNotCount) {
  EXPECT_EQ(NaturalSortKey("d12 [estes]"), NaturalSortKey("D12 [Estes]"));
  EXPECT_EQ(NaturalSortKey("D012"), NaturalSortKey("D12"));
  EXPECT_EQ(NaturalSortKey("D0"), NaturalSortKey("D000"));
  EXPECT_NE(NaturalSortKey("D1"), NaturalSortKey("D10"));
}

}  // namespace
}  // namespace komet
