// SPDX-License-Identifier: MIT
#include "engine/CountFormat.h"

#include <climits>

namespace quorvella {

CountFormat::CountFormat() { ReadLocale(""); }

CountFormat::CountFormat(std::string_view localeName) { ReadLocale(std::string(localeName).c_str()); }

std::string CountFormat::operator()(std::int64_t count) const {
  const bool negative = count < 0;
  // Work on the magnitude as unsigned so the smallest value does not overflow.
  std::uint64_t magnitude =
      negative ? static_cast<std::uint64_t>(-(count + 1)) + 1 : static_cast<std::uint64_t>(count);
  const std::string digits = std::to_string(magnitude);

  // Group sizes from the right, as the locale's grouping string gives them:
  // each byte is a size, the last one repeats, CHAR_MAX stops grouping.
  std::string out;
  std::size_t pos = digits.size();
  std::size_t groupIndex = 0;
  int size = grouping_.empty() ? 0 : grouping_[0];
  while (pos > 0) {
    if (size <= 0 || size == CHAR_MAX || static_cast<std::size_t>(size) >= pos) {
      out.insert(0, digits, 0, pos);
      break;
    }
    out.insert(0, digits, pos - static_cast<std::size_t>(size), static_cast<std::size_t>(size));
    out.insert(0, separator_);
    pos -= static_cast<std::size_t>(size);
    if (groupIndex + 1 < grouping_.size()) size = grouping_[++groupIndex];
  }
  return negative ? "-" + out : out;
}

}  // namespace quorvella
