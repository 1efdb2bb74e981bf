// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvella {

// Formats counts as "#,##0": digits grouped with the separator and grouping
// of a locale (1,234 in English, 1.234 in German).
class CountFormat {
 public:
  // The user's numeric locale (LC_ALL, LC_NUMERIC, LANG).
  CountFormat();
  // A named locale such as "de_DE.UTF-8"; the C locale's rules when it is not
  // installed.
  explicit CountFormat(std::string_view localeName);

  std::string operator()(std::int64_t count) const;

 private:
  void ReadLocale(const char* name);
  std::string separator_ = ",";
  std::string grouping_ = "\3";
};

}  // namespace quorvella
