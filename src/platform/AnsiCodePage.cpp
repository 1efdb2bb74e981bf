// SPDX-License-Identifier: MIT
#include "platform/AnsiCodePage.h"

#include "platform/Text.h"

namespace quorvella {
namespace {

struct LanguageCodePage {
  std::string_view language;  // ISO 639 code, with "@modifier" where the script decides
  int codePage;
};

// The code pages Windows gives these languages; the variants with a script
// modifier come first so that they win over the plain language.
constexpr LanguageCodePage kLanguageCodePages[] = {
    {"sr@latin", 1250}, {"bs@cyrillic", 1251}, {"az@cyrillic", 1251}, {"uz@cyrillic", 1251},
    // Central European
    {"bs", 1250}, {"cs", 1250}, {"dsb", 1250}, {"hr", 1250}, {"hsb", 1250}, {"hu", 1250},
    {"pl", 1250}, {"ro", 1250}, {"sk", 1250}, {"sl", 1250}, {"sq", 1250}, {"tk", 1250},
    // Cyrillic
    {"ba", 1251}, {"be", 1251}, {"bg", 1251}, {"kk", 1251}, {"ky", 1251}, {"mk", 1251},
    {"mn", 1251}, {"ru", 1251}, {"sah", 1251}, {"sr", 1251}, {"tg", 1251}, {"tt", 1251},
    {"uk", 1251},
    {"el", 1253},
    {"az", 1254}, {"tr", 1254}, {"uz", 1254},
    {"he", 1255}, {"iw", 1255},
    {"ar", 1256}, {"ckb", 1256}, {"fa", 1256}, {"ug", 1256}, {"ur", 1256},
    {"et", 1257}, {"lt", 1257}, {"lv", 1257},
    {"vi", 1258},
    {"th", 874},
    {"ja", 932},
    {"ko", 949},
};

}  // namespace

int AnsiCodePageOfLocale(std::string_view localeName) {
  // language[_territory][.codeset][@modifier]
  std::string_view modifier;
  if (const std::size_t at = localeName.find('@'); at != std::string_view::npos) {
    modifier = localeName.substr(at + 1);
    localeName = localeName.substr(0, at);
  }
  localeName = localeName.substr(0, localeName.find('.'));
  std::string_view territory;
  if (const std::size_t underscore = localeName.find('_'); underscore != std::string_view::npos) {
    territory = localeName.substr(underscore + 1);
    localeName = localeName.substr(0, underscore);
  }
  const std::string language = LowerAscii(localeName);

  if (language == "zh") {
    const std::string region = LowerAscii(territory);
    return region == "tw" || region == "hk" || region == "mo" ? 950 : 936;
  }
  const std::string withScript = language + "@" + LowerAscii(modifier);
  for (const auto& entry : kLanguageCodePages) {
    if (entry.language == withScript || entry.language == language) return entry.codePage;
  }
  return kWesternCodePage;
}

}  // namespace quorvella
