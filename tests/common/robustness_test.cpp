// Number texts that come from files or from nowhere a user would type them.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "common/komet_error.h"
#include "common/numbers.h"

namespace komet {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumberRobustness, ParseNumberNeverGivesNaN) {
  const struct {
    std::string text;
    double expected;
  } cases[] = {
      {"nan", 0.0},
      {"NaN", 0.0},
      {"-nan", 0.0},
      {"inf", 0.0},
      {"-Infinity", 0.0},
      {"1e99999999999999999", kInf},  // the exponent is cut at the 20th character
      {"-1e400", -kInf},
      {"1e-99999", 0.0},
      {"\xFF\xFE"
       "5",
       0.0},  // malformed UTF-8 is no digit
      {std::string("4\0"
                   "2",
                   3),
       4.0},  // a zero byte ends the number
      {std::string(400, '9'), 99999999999999999999.0},
  };
  for (const auto& c : cases) {
    const double v = ParseNumber(c.text);
    EXPECT_FALSE(std::isnan(v)) << c.text;
    EXPECT_EQ(v, c.expected) << c.text;
  }
}

// The count fields of a rocket file reach ParseInteger as the texts of the
// stage form, so their extremes must come back whole.
TEST(NumberRobustness, ParseIntegerTakesTheExtremesOfAStoredCount) {
  EXPECT_EQ(ParseInteger("2147483647"), std::numeric_limits<int>::max());
  EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<int>::min());
}

TEST(NumberRobustness, ParseIntegerRefusesEverySignAfterTheFirst) {
  // "+-5" was read as -5: the plus was dropped and the rest taken whole.
  for (const char* bad :
       {"+-5", "-+5", "++5", "--5", "+ 5", "- 5", "2147483648", "-2147483649", "\t5", "5\n"}) {
    try {
      const int v = ParseInteger(bad);
      ADD_FAILURE() << '"' << bad << "\" gave " << v;
    } catch (const KometError& e) {
      EXPECT_EQ(e.kind(), KometError::Kind::Conversion) << bad;
    }
  }
}

}  // namespace
}  // namespace komet
