// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/win1252.h"

#include <gtest/gtest.h>

#include "common/short_string.h"

namespace komet {
namespace {

TEST(Win1252Test, ConvertsBothWays) {
  const struct {
    const char* cp1252;
    const char* utf8;
  } cases[] = {{"abc", "abc"},
               {"\xC4\xD6\xDC\xE4\xF6\xFC\xDF", "ÄÖÜäöüß"},
               {"\x80 \x96 \xB2", "€ – ²"},
               {"Fl\xE4"
                "chen mm\xB2",
                "Flächen mm²"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
  }
}

TEST(Win1252Test, UnknownCharactersAndBrokenUtf8BecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("Rakete 🚀 Ω"), "Rakete ? ?");
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");  // truncated sequence
  EXPECT_EQ(Utf8ToCp1252("a\xC0\xAF"
                         "b"),
            "a??b");                               // overlong
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");  // surrogate
}

TEST(Win1252Test, UndefinedBytesSurviveARoundTrip) {
  const std::string bytes = "\x81\x8D\x8F\x90\x9D";
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes);
}

TEST(Win1252Test, CountsAndCutsCodePoints) {
  EXPECT_EQ(Utf8Length("Höhe"), 4u);
  EXPECT_EQ(Utf8Prefix("Höhe", 2), "Hö");
  EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
}

TEST(ShortStringTest, CutsToCapacityAndKeepsBytesAfterTheText) {
  ShortString<5> s("abcdefg");
  EXPECT_EQ(s.view(), "abcde");
  s.assign("xy");
  EXPECT_EQ(s.view(), "xy");
  EXPECT_EQ(s.raw()[0], 2);
  EXPECT_EQ(s.raw()[3], 'c');  // as it stood
}

TEST(ShortStringTest, ClampsALengthByteAboveCapacity) {
  ShortString<5> s;
  s.raw()[0] = 200;
  EXPECT_EQ(s.length(), 5u);
  EXPECT_EQ(s.view().size(), 5u);
}

}  // namespace
}  // namespace komet
