// SPDX-License-Identifier: MIT
#include "platform/CaseMapping.h"

#include <locale.h>
#include <wctype.h>

#include "platform/TextEncoding.h"

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

}  // namespace

std::string MapCase(std::string_view text, bool lower) {
  std::string out;
  out.reserve(text.size());
  const locale_t locale = CaseLocale();
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = 0;
    if (!DecodeUtf8(text, pos, cp)) {
      // A byte that is not UTF-8 is copied unchanged.
      out += text[pos++];
    } else if (locale == static_cast<locale_t>(nullptr)) {
      // Without the locale's tables, at least A to Z are mapped.
      if (lower && cp >= 'A' && cp <= 'Z') cp += 'a' - 'A';
      if (!lower && cp >= 'a' && cp <= 'z') cp -= 'a' - 'A';
      AppendUtf8(out, cp);
    } else {
      const wint_t c = static_cast<wint_t>(cp);
      AppendUtf8(out, static_cast<char32_t>(lower ? towlower_l(c, locale) : towupper_l(c, locale)));
    }
  }
  return out;
}

}  // namespace quorvella
