// SPDX-License-Identifier: MIT
#include "platform/AnsiCodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/EnvironmentVariable.h"

namespace quorvella {
namespace {

TEST(AnsiCodePageOfLocale, MapsTheLanguageToItsWindowsCodePage) {
  const std::pair<const char*, int> cases[] = {
      {"", 1252}, {"C", 1252}, {"POSIX", 1252}, {"C.UTF-8", 1252}, {"en_US.UTF-8", 1252},
      {"de_DE@euro", 1252}, {"fr_CA", 1252}, {"pt_BR.UTF-8", 1252}, {"eo", 1252},
      {"pl_PL.UTF-8", 1250}, {"cs_CZ", 1250}, {"hu_HU.ISO-8859-2", 1250}, {"ru_RU.UTF-8", 1251},
      {"uk_UA", 1251}, {"sr_RS", 1251}, {"sr_RS@latin", 1250}, {"el_GR.UTF-8", 1253},
      {"tr_TR", 1254}, {"uz_UZ", 1254}, {"uz_UZ@cyrillic", 1251}, {"he_IL", 1255},
      {"ar_EG.UTF-8", 1256}, {"fa_IR", 1256}, {"lt_LT", 1257}, {"lv_LV", 1257}, {"et_EE", 1257},
      {"vi_VN", 1258}, {"th_TH.UTF-8", 874}, {"ja_JP.eucJP", 932}, {"ko_KR.UTF-8", 949},
      {"zh_CN.GB2312", 936}, {"zh_SG", 936}, {"zh", 936}, {"zh_TW.Big5", 950},
      {"zh_HK.UTF-8", 950}, {"RU_ru", 1251},
  };
  for (const auto& [locale, codePage] : cases) {
    EXPECT_EQ(AnsiCodePageOfLocale(locale), codePage) << locale;
  }
}

TEST(UserAnsiCodePage, TakesTheFirstSetVariable) {
  testing::ScopedEnvironmentVariable all("LC_ALL", nullptr), ctype("LC_CTYPE", nullptr),
      lang("LANG", nullptr);
  std::vector<int> read = {UserAnsiCodePage()};
  // An empty variable counts as unset.
  for (auto [variable, value] : {std::pair{&lang, "pl_PL.UTF-8"}, {&ctype, "ru_RU.UTF-8"},
                                 {&all, ""}, {&all, "el_GR.UTF-8"}}) {
    variable->Set(value);
    read.push_back(UserAnsiCodePage());
  }
  EXPECT_EQ(read, (std::vector<int>{1252, 1250, 1251, 1251, 1253}));
}

// Where the best-fit tables differ: Windows' own gives the spacing acute
// accent for a combining one and has nothing for "ế" in Western; the C
// library's transliteration has the reverse.
#ifdef _WIN32
constexpr const char* kLoneAccentIn1252 = "\xB4";
constexpr const char* kEWithCircumflexAndAcuteIn1252 = "?";
#else
constexpr const char* kLoneAccentIn1252 = "?";
constexpr const char* kEWithCircumflexAndAcuteIn1252 = "e";
#endif

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(AnsiEncoder, ConvertsWithBestFitOrQuestionMark) {
  // Every character the code page lacks becomes one byte: a best fit of one
  // character, or "?" where the only substitute is longer or there is none.
  // An unknown code page is Western.
  const struct { int codePage; std::string utf8; std::string expected; } cases[] = {
      {1252, "#EXTM3U", "#EXTM3U"}, {1252, "Café – 5 €", "Caf\xE9 \x96 5 \x80"},
      {1252, "Őrült Łódź", "Or\xFClt L\xF3" "dz"},  // best fit drops the accent
      {1252, "A → B", "A ? B"},                     // not "->"
      {1252, "⅓ cup", "? cup"},                     // not " 1/3 "
      {1252, "ﬁne", "?ne"},                         // not "fi"
      {1252, "\xCC\x81", kLoneAccentIn1252},        // an accent on its own
      {1252, "日本", "??"}, {1252, "a\xFF" "b", "a?b"},  // not UTF-8
      {1252, "end\xC3", "end?"},                    // cut-off character
      {1252, "\xC0\x80|\xED\xA0\x80|\x80", "?|?|?"},  // overlong, surrogate, stray
      {1250, "Łódź", "\xA3\xF3\x64\x9F"}, {1251, "Жук €", "\xC6\xF3\xEA \x88"},
      {1251, "é Æ", "e ?"}, {1253, "Ωμέγα", "\xD9\xEC\xDD\xE3\xE1"},
      {1258, "ê ế", "\xEA ?"},          // no letter and accent for the one it lacks
      {1255, "\xEF\xAC\xAA", "?"},      // "שׁ" as one character
      {1255, "ש\xD7\x81", "\xF9\xD1"},  // the same as letter and point: two characters
      {932, "日本€é", "\x93\xFA\x96\x7B?e"}, {99999, "5 €", "5 \x80"},
      // A long line keeps one byte for each character; "ế" has a best fit in
      // Western, while the Vietnamese converter spells it as two bytes, which
      // is refused.
      {1252, Repeat("⅓éế", 1000),
       Repeat(std::string("?\xE9") + kEWithCircumflexAndAcuteIn1252, 1000)},
      {1258, Repeat("⅓éế", 1000), Repeat("?\xE9?", 1000)},
  };
  for (const auto& c : cases) {
    AnsiEncoder encoder(c.codePage);
    EXPECT_EQ(encoder.CodePage(), c.codePage == 99999 ? 1252 : c.codePage);
    EXPECT_EQ(encoder.Encode(c.utf8), c.expected) << c.codePage << " " << c.utf8.substr(0, 40);
  }
  // Appending goes on after bad input.
  AnsiEncoder encoder(1252);
  std::string out = "x";
  for (const char* piece : {"\xFF", "é", "", "→", "plain"}) encoder.Append(piece, out);
  EXPECT_EQ(out, "x?\xE9?plain");
}

}  // namespace
}  // namespace quorvella
