// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace komet {
namespace {

TEST(FormatTest, WritesTheGivenDecimalSeparator) {
  const struct {
    char sep;
    const char* fmt;
    double value;
    const char* out;
  } cases[] = {
      {'.', "%.1f", 1.25, "1.2"},
      {',', "%.1f", 1.35, "1,4"},
      {',', "%.2f", 1.17, "1,17"},
      {',', "%.3f", 9.81, "9,810"},
      {'.', "%.0f", 50.0, "50"},
      {'.', "%4.1f", 3.14159, " 3.1"},
      {'.', "%5.0f", 12.0, "   12"},
      {'.', "%3.2f", 0.5, "0.50"},
      {',', "%2.2f", -0.125, "-0,12"},
      {'.', "%.17g", 0.1, "0.10000000000000001"},
      {'.', "%.17g", 100000.0, "100000"},
      {'.', "%g", 1e-7, "1e-07"},
      {'.', "%e", 12345.678, "1.234568e+04"},
      {'.', "%-6.1f|", 2.0, "2.0   |"},
      {'.', "%+.1f", 2.0, "+2.0"},
      {'.', "%08.2f", -3.5, "-0003.50"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.sep, c.fmt, c.value), c.out) << c.fmt << " " << c.value;
}

TEST(FormatTest, IntegersTextsAndLiterals) {
  EXPECT_EQ(Format('.', "%d [sec]", 3), "3 [sec]");
  EXPECT_EQ(Format('.', "Stufe   %d", 2), "Stufe   2");
  EXPECT_EQ(Format('.', "%5d|%-3d|", -42, 7), "  -42|7  |");
  EXPECT_EQ(Format('.', "%s und %s", "a", std::string("b")), "a und b");
  EXPECT_EQ(Format('.', "100%%"), "100%");
  // Literal points are not separators.
  EXPECT_EQ(Format(',', "V.: %.2f", 1.09), "V.: 1,09");
}

TEST(FormatTest, SummaryLineOfThePlot) {
  EXPECT_EQ(Format(',', "Max v:%.1f [m/sec] %.1f [km/h] bei %.1f [sec]", 50.0, 180.0, 1.25),
            "Max v:50,0 [m/sec] 180,0 [km/h] bei 1,2 [sec]");
}

TEST(FormatTest, NonFiniteAndMissingArguments) {
  EXPECT_EQ(Format('.', "%.1f", std::nan("")), "nan");
  EXPECT_EQ(Format('.', "%.1f", -INFINITY), "-inf");
  EXPECT_EQ(Format('.', "a%db"), "ab");
  EXPECT_EQ(Format('.', "%d", 2.9), "2");
}

TEST(FormatTest, IgnoresTheProcessLocale) {
  // The window layer sets the user's locale; the separator must still be ours.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale";
  EXPECT_EQ(Format('.', "%.2f", 1.5), "1.50");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace komet
