// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "platform/TextEncoding.h"

namespace quorvella {
namespace {

using namespace std::string_literals;

TEST(TextEncoding, Utf8ValidityIsStrict) {
  EXPECT_TRUE(IsValidUtf8("a\0\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5"s));
  for (const std::string& bad : {"\xC0\xAF"s, "\xE0\x80\xAF"s, "\xED\xA0\x80"s, "\xF4\x90\x80\x80"s,
                                 "\xC3"s, "\xE2\x82"s, "\x80"s, "\xFF"s}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(bad);
  }
}

TEST(TextEncoding, Windows1252MapsItsHighRangeAndKeepsTheUndefinedBytes) {
  EXPECT_EQ(Windows1252ToUtf8("\x80\x81\x9F\xE9"), "\xE2\x82\xAC\xC2\x81\xC5\xB8\xC3\xA9");
  EXPECT_EQ(Utf8OrWindows1252("\xC3\xA9"), "\xC3\xA9");
  EXPECT_EQ(Utf8OrWindows1252("\xC3\xA9\xE9"), "\xC3\x83\xC2\xA9\xC3\xA9");
}

TEST(TextEncoding, Utf16LeConvertsBothWaysAndRepairsWhatItCannotRead) {
  const std::string text = "a\0\xC3\xA9\xF0\x9F\x8E\xB5"s;
  const std::string utf16 = "a\0\0\0\xE9\0\x3C\xD8\xB5\xDF"s;
  EXPECT_EQ(Utf8ToUtf16Le(text), utf16);
  EXPECT_EQ(Utf16LeToUtf8(utf16), text);
  EXPECT_EQ(Utf16LeToUtf8("\x3C\xD8" "a\0"s), "\xEF\xBF\xBD" "a") << "unpaired surrogate";
  EXPECT_EQ(Utf16LeToUtf8("\xB5\xDF"s), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16LeToUtf8("a\0\0"s), "a\0"s) << "odd last byte";
  EXPECT_EQ(Utf8ToUtf16Le("\xE9"), "\xE9\0"s) << "not UTF-8: read as Windows-1252";
}

}  // namespace
}  // namespace quorvella
