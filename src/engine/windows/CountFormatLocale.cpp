// SPDX-License-Identifier: MIT
// The separator and grouping of a locale from Windows' own locale data.
#include <windows.h>

#include <climits>

#include "engine/CountFormat.h"
#include "platform/windows/WideText.h"

namespace quorvella {
namespace {

// "de_DE.UTF-8" names the locale Windows calls "de-DE"; "" is the user's.
std::wstring WindowsLocaleName(std::string_view name) {
  name = name.substr(0, name.find_first_of(".@"));
  std::wstring wide = Utf8ToWide(name);
  for (wchar_t& c : wide) {
    if (c == L'_') c = L'-';
  }
  return wide;
}

std::string LocaleText(const wchar_t* locale, LCTYPE type) {
  wchar_t text[16] = {};
  if (GetLocaleInfoEx(locale, type, text, 16) <= 0) return {};
  return WideToUtf8(text);
}

// Windows writes a grouping as "3;0" (threes throughout) or "3;2;0"; one
// without the final 0, such as "3", groups only once. In the C form each
// byte is a size, the last repeats, CHAR_MAX stops.
std::string CGrouping(const std::string& windows) {
  std::string sizes;
  for (const char c : windows) {
    if (c >= '0' && c <= '9') sizes += static_cast<char>(c - '0');
  }
  if (sizes.empty()) return sizes;
  if (sizes.back() == 0) {
    sizes.pop_back();
  } else {
    sizes += static_cast<char>(CHAR_MAX);
  }
  return sizes;
}

}  // namespace

void CountFormat::ReadLocale(const char* name) {
  const std::string_view given(name);
  // The C locale groups nothing; "#,##0" still asks for thousands, so keep
  // the English grouping there, as for a locale Windows does not know.
  if (given == "C" || given == "POSIX") return;
  const std::wstring locale = WindowsLocaleName(given);
  const wchar_t* const which = locale.empty() ? LOCALE_NAME_USER_DEFAULT : locale.c_str();
  const std::string separator = LocaleText(which, LOCALE_STHOUSAND);
  const std::string grouping = CGrouping(LocaleText(which, LOCALE_SGROUPING));
  if (!separator.empty() && !grouping.empty()) {
    separator_ = separator;
    grouping_ = grouping;
  }
}

}  // namespace quorvella
