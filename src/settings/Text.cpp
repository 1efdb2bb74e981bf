// SPDX-License-Identifier: MIT
#include "Text.h"

#include <locale.h>
#include <wctype.h>

namespace quorvella {
namespace {

// Case mapping must not depend on the user's locale settings, so it uses the
// C.UTF-8 locale's tables, which cover all of Unicode.
locale_t CaseLocale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return l;
  }();
  return locale;
}

// Decodes one UTF-8 sequence at text[pos]; returns the code point and advances
// pos. An invalid byte comes back as itself with the high bit, so it is never
// mapped and is copied unchanged.
char32_t NextCodePoint(std::string_view text, std::size_t& pos, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  std::size_t need = 0;
  char32_t cp = 0;
  if (lead < 0x80) {
    length = 1;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    need = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    need = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    need = 3;
    cp = lead & 0x07;
  } else {
    length = 1;
    return 0xFFFFFFFF;
  }
  if (pos + need >= text.size()) {
    length = 1;
    return 0xFFFFFFFF;
  }
  for (std::size_t i = 1; i <= need; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      length = 1;
      return 0xFFFFFFFF;
    }
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  length = need + 1;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

template <typename Map>
std::string MapCase(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  const locale_t locale = CaseLocale();
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t length = 1;
    const char32_t cp = NextCodePoint(text, pos, length);
    if (cp == 0xFFFFFFFF || locale == static_cast<locale_t>(nullptr)) {
      out.append(text.substr(pos, length));
    } else if (cp < 0x80) {
      out += static_cast<char>(map(static_cast<wint_t>(cp), locale));
    } else {
      AppendUtf8(out, static_cast<char32_t>(map(static_cast<wint_t>(cp), locale)));
    }
    pos += length;
  }
  return out;
}

}  // namespace

std::string TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string LowerCase(std::string_view text) {
  return MapCase(text, [](wint_t c, locale_t l) { return towlower_l(c, l); });
}

std::string UpperCase(std::string_view text) {
  return MapCase(text, [](wint_t c, locale_t l) { return towupper_l(c, l); });
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace quorvella
