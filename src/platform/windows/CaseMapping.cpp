// SPDX-License-Identifier: MIT
#include "platform/CaseMapping.h"

#include "platform/TextEncoding.h"
#include "platform/windows/WideText.h"

namespace quorvella {

std::string MapCase(std::string_view text, bool lower) {
  // The invariant locale's tables, so that the user's language (Turkish
  // dotted and dotless i) does not change the result. Bytes that are not
  // UTF-8 are kept out of the conversion and copied as they are.
  const DWORD flags = lower ? LCMAP_LOWERCASE : LCMAP_UPPERCASE;
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    char32_t cp = 0;
    while (end < text.size() && DecodeUtf8(text, end, cp)) {
    }
    if (end > pos) {
      const std::wstring wide = Utf8ToWide(text.substr(pos, end - pos));
      std::wstring mapped(wide.size(), L'\0');
      const int length = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, wide.data(),
                                       static_cast<int>(wide.size()), mapped.data(),
                                       static_cast<int>(mapped.size()), nullptr, nullptr, 0);
      mapped.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
      out += length > 0 ? WideToUtf8(mapped) : std::string(text.substr(pos, end - pos));
      pos = end;
    }
    if (pos < text.size()) out += text[pos++];
  }
  return out;
}

}  // namespace quorvella
