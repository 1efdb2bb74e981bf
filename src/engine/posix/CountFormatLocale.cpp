// SPDX-License-Identifier: MIT
// The separator and grouping of a locale from the C library.
#include <langinfo.h>
#include <locale.h>

#include "engine/CountFormat.h"

namespace quorvella {

void CountFormat::ReadLocale(const char* name) {
  locale_t locale = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return;
  // The C locale groups nothing; "#,##0" still asks for thousands, so keep
  // the English grouping there.
  const std::string separator = nl_langinfo_l(THOUSEP, locale);
  const std::string grouping = nl_langinfo_l(GROUPING, locale);
  if (!separator.empty() && !grouping.empty()) {
    separator_ = separator;
    grouping_ = grouping;
  }
  freelocale(locale);
}

}  // namespace quorvella
