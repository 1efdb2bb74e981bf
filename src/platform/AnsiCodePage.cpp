// SPDX-License-Identifier: MIT
#include "platform/AnsiCodePage.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <locale.h>

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

// Best-fit substitutes come from the C.UTF-8 locale's transliteration table,
// whatever locale the program runs in, so that the same text always gives
// the same bytes. Null when that locale is missing; then the current one
// serves.
locale_t TransliterationLocale() {
  static const locale_t locale =
      newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

iconv_t AsIconv(void* descriptor) { return static_cast<iconv_t>(descriptor); }

bool Opened(iconv_t cd) { return cd != reinterpret_cast<iconv_t>(-1); }

iconv_t OpenEncoder(int codePage, bool bestFit) {
  std::string target = "CP" + std::to_string(codePage);
  if (bestFit) target += "//TRANSLIT";
  return iconv_open(target.c_str(), "UTF-8");
}

// The code pages in which a character may take two bytes.
bool IsDoubleByte(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

// Converts a short text as a whole into buffer; false when any of it cannot
// be converted or the result does not fit. The descriptor is left in its
// initial state either way.
bool ConvertWhole(iconv_t cd, std::string_view text, char* buffer, std::size_t size,
                  std::size_t& length) {
  // iconv takes a non-const input pointer but never writes through it.
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* out = buffer;
  std::size_t outLeft = size;
  const auto failed = static_cast<std::size_t>(-1);
  const bool converted = iconv(cd, &in, &inLeft, &out, &outLeft) != failed && inLeft == 0 &&
                         iconv(cd, nullptr, nullptr, &out, &outLeft) != failed;
  if (!converted) iconv(cd, nullptr, nullptr, nullptr, nullptr);
  length = static_cast<std::size_t>(out - buffer);
  return converted;
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The length of the UTF-8 character at the start of text, or 1 for a byte
// that does not begin a complete, valid one.
std::size_t CharacterLength(const char* text, std::size_t size) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
  }
  if (length > size) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}


// The number of characters as the conversion takes them apart: a byte that
// does not begin a complete, valid one counts alone.
std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(&text[i], text.size() - i)) {
    ++count;
  }
  return count;
}

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

int UserAnsiCodePage() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return AnsiCodePageOfLocale(value);
  }
  return kWesternCodePage;
}

AnsiEncoder::AnsiEncoder(int codePage)
    : codePage_(codePage), singleByte_(true), descriptor_(nullptr), bestFit_(nullptr) {
  iconv_t cd = OpenEncoder(codePage, false);
  if (!Opened(cd)) {
    codePage_ = kWesternCodePage;
    cd = OpenEncoder(kWesternCodePage, false);
  }
  if (!Opened(cd)) return;
  descriptor_ = cd;
  singleByte_ = !IsDoubleByte(codePage_);
  if (const iconv_t bestFit = OpenEncoder(codePage_, true); Opened(bestFit)) bestFit_ = bestFit;
}

AnsiEncoder::~AnsiEncoder() {
  if (descriptor_ != nullptr) iconv_close(AsIconv(descriptor_));
  if (bestFit_ != nullptr) iconv_close(AsIconv(bestFit_));
}

std::string AnsiEncoder::Encode(std::string_view utf8) {
  std::string out;
  Append(utf8, out);
  return out;
}

void AnsiEncoder::Append(std::string_view utf8, std::string& out) {
  // Every code page here keeps ASCII as it is, and most lines are all ASCII.
  if (IsAscii(utf8)) {
    out += utf8;
  } else {
    ConvertSlow(utf8, out);
  }
}

char AnsiEncoder::Substitute(std::string_view character) {
  if (bestFit_ == nullptr) return '?';
  const locale_t translit = TransliterationLocale();
  const locale_t previous =
      translit != static_cast<locale_t>(nullptr) ? uselocale(translit) : static_cast<locale_t>(nullptr);
  // Room for more than one byte, so that a longer substitute ("->" for an
  // arrow) shows itself as such and is refused.
  char buffer[8];
  std::size_t length = 0;
  const bool converted =
      ConvertWhole(AsIconv(bestFit_), character, buffer, sizeof buffer, length);
  if (translit != static_cast<locale_t>(nullptr)) uselocale(previous);
  return converted && length == 1 ? buffer[0] : '?';
}

void AnsiEncoder::ConvertSlow(std::string_view utf8, std::string& out) {
  if (descriptor_ == nullptr) {
    for (std::size_t i = 0; i < utf8.size(); i += CharacterLength(&utf8[i], utf8.size() - i)) {
      out += static_cast<unsigned char>(utf8[i]) < 0x80 ? utf8[i] : '?';
    }
    return;
  }
  const iconv_t cd = AsIconv(descriptor_);
  const std::size_t start = out.size();
  std::size_t used = start;
  out.resize(start + utf8.size() + 16);
  const auto grow = [&](std::size_t atLeast) {
    out.resize(out.size() + std::max(out.size() - start, atLeast));
  };

  // iconv takes a non-const input pointer but never writes through it.
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  while (inLeft > 0) {
    char* outPtr = out.data() + used;
    std::size_t outLeft = out.size() - used;
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    const int error = errno;
    used = static_cast<std::size_t>(outPtr - out.data());
    if (result != static_cast<std::size_t>(-1)) continue;
    if (error == E2BIG) {
      grow(16);
      continue;
    }
    // A character the code page lacks, a byte that is not UTF-8, or a
    // character cut off at the end.
    const std::size_t length = CharacterLength(in, inLeft);
    const char substitute = Substitute({in, length});
    in += length;
    inLeft -= length;
    if (used == out.size()) grow(16);
    out[used++] = substitute;
  }
  // Back to the initial shift state, for the code pages that have one.
  while (true) {
    char* outPtr = out.data() + used;
    std::size_t outLeft = out.size() - used;
    const std::size_t result = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    const int error = errno;
    used = static_cast<std::size_t>(outPtr - out.data());
    if (result != static_cast<std::size_t>(-1) || error != E2BIG) break;
    grow(16);
  }
  out.resize(used);
  // Some converters spell a character their code page lacks as a letter
  // and a combining accent (Vietnamese, Hebrew points): two bytes for one
  // character. Such a text is done again character by character.
  if (singleByte_ && out.size() - start != CharacterCount(utf8)) {
    out.resize(start);
    ConvertEach(utf8, out);
  }
}

void AnsiEncoder::ConvertEach(std::string_view utf8, std::string& out) {
  const iconv_t cd = AsIconv(descriptor_);
  char buffer[8];
  for (std::size_t i = 0; i < utf8.size();) {
    const std::string_view character = utf8.substr(i, CharacterLength(&utf8[i], utf8.size() - i));
    std::size_t length = 0;
    if (ConvertWhole(cd, character, buffer, sizeof buffer, length) && length == 1) {
      out += buffer[0];
    } else {
      out += Substitute(character);
    }
    i += character.size();
  }
}

}  // namespace quorvella
