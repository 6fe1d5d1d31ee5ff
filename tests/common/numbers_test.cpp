// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "common/komet_error.h"

namespace komet {
namespace {

struct ParseCase {
  const char* text;
  double expected;
};

class ParseNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, GivesTheNumberReadBeforeTheFirstInvalidCharacter) {
  EXPECT_DOUBLE_EQ(ParseNumber(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseNumberTest,
                         ::testing::Values(ParseCase{"", 0.0}, ParseCase{"abc", 0.0}, ParseCase{"12.5", 12.5},
                                           ParseCase{"12,5", 12.5}, ParseCase{"12.5 g", 12.5},
                                           ParseCase{"-3x", -3.0}, ParseCase{"+4", 4.0}, ParseCase{"1e", 1.0},
                                           ParseCase{"1e+", 1.0}, ParseCase{"1.5e2", 150.0},
                                           ParseCase{"2E-3", 0.002}, ParseCase{"1.2.3", 1.2},
                                           ParseCase{",5", 0.5}, ParseCase{".5", 0.5}, ParseCase{"5.", 5.0},
                                           ParseCase{"   7", 7.0}, ParseCase{"-", 0.0}, ParseCase{".", 0.0},
                                           // Only the first comma is the point; the second ends the number.
                                           ParseCase{"1,2,3", 1.2}, ParseCase{"1,5.3", 1.5},
                                           // Only the first 20 characters count.
                                           ParseCase{"12345678901234567890123", 12345678901234567890.0},
                                           ParseCase{"0.000000000000000001234", 1e-18},
                                           // Umlauts count as one character each when cutting.
                                           ParseCase{"ääääääääääääääääää12", 0.0}, ParseCase{"1e-400", 0.0}));

TEST(ParseNumberTest, OverflowGivesInfinityOfTheSign) {
  EXPECT_EQ(ParseNumber("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseNumber("-1e999"), -std::numeric_limits<double>::infinity());
}

TEST(RoundHalfEvenTest, RoundsHalvesToTheEvenNeighbour) {
  const struct {
    double in;
    std::int64_t out;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {920.0, 920}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(RoundHalfEvenTest, ClampsWhatNoIntegerHolds) {
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(RoundHalfEven(-1e300), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(RoundToInt(1e20), std::numeric_limits<int>::max());
  EXPECT_EQ(TruncToInt(-1e20), std::numeric_limits<int>::min());
}

TEST(TruncTest, CutsTowardZero) {
  EXPECT_EQ(Trunc(2.9), 2);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(TruncToInt(-0.5), 0);
}

TEST(ParseIntegerTest, AcceptsOnlyWholeIntegers) {
  EXPECT_EQ(ParseInteger("3"), 3);
  EXPECT_EQ(ParseInteger(" -12 "), -12);
  EXPECT_EQ(ParseInteger("+7"), 7);
  for (const char* bad : {"", "x", "1.5", "3a", "99999999999", " "}) {
    try {
      ParseInteger(bad);
      ADD_FAILURE() << bad;
    } catch (const KometError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(bad) + "' ist kein gültiger Integerwert");
      EXPECT_EQ(e.kind(), KometError::Kind::Conversion);
    }
  }
}

// Number texts that come from files or from nowhere a user would type them.
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumberFromFilesTest, ParseNumberNeverGivesNaN) {
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
TEST(NumberFromFilesTest, ParseIntegerTakesTheExtremesOfAStoredCount) {
  EXPECT_EQ(ParseInteger("2147483647"), std::numeric_limits<int>::max());
  EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<int>::min());
}

TEST(NumberFromFilesTest, ParseIntegerRefusesEverySignAfterTheFirst) {
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

TEST(ParseStrictNumberTest, TakesOnlyAWholeNumber) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"4,5", 4.5}, {" -0.25 ", -0.25}, {"+3", 3.0}, {"1e3", 1000.0}, {"", {}},      {"  ", {}},
      {"12 g", {}}, {"1,5,3", {}},      {"abc", {}}, {"inf", {}},     {"1e999", {}}, {",", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseStrictNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace komet
