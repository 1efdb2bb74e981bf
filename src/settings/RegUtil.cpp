// SPDX-License-Identifier: MIT
#include "settings/RegUtil.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "platform/Text.h"

namespace quorvella {
namespace {

// The text of a string value as the registry's ANSI query hands it back: the
// data less its terminating NUL, and only when it fits the buffer in the
// code page.
std::string StringFromValue(const std::optional<RegValue>& value, int ansiCodePage) {
  if (!value || value->type != regtype::kSz || value->data.empty()) return {};
  const auto& data = value->data;
  const bool terminated = data.back() == 0;
  std::string text(data.begin(), data.end() - (terminated ? 1 : 0));
  // The buffer held the data, embedded NULs and all.
  std::size_t needed = text.size() + 1;
  // A character never takes more bytes in a code page than in UTF-8, so
  // only a text too long in UTF-8 needs converting to be measured.
  if (needed > RegUtil::kValueBufferSize) {
    needed = AnsiEncoder(ansiCodePage).Encode(text).size() + 1;
  }
  if (needed > RegUtil::kValueBufferSize) return {};
  // Anything after an embedded NUL is not part of the text.
  if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

template <typename F>
auto Guarded(F f, decltype(f()) fallback) noexcept -> decltype(f()) {
  try {
    return f();
  } catch (...) {
    return fallback;
  }
}

}  // namespace

bool RegUtil::RegKeyExists(Hive hive, std::string_view keyPath) const {
  return Guarded([&] { return backend_.KeyExists(hive, keyPath); }, false);
}

std::string RegUtil::RegGetString(Hive hive, std::string_view keyPath,
                                  std::string_view valueName) const {
  return Guarded(
      [&] { return StringFromValue(backend_.QueryValue(hive, keyPath, valueName), ansiCodePage_); },
      std::string());
}

bool RegUtil::RegGetBool(Hive hive, std::string_view keyPath, std::string_view valueName,
                         bool defaultValue) const {
  const std::string text = LowerCase(TrimSpaces(RegGetString(hive, keyPath, valueName)));
  if (text == "true") return true;
  if (text == "false") return false;
  if (const auto number = ParseRegNumber(text)) return *number != 0.0;
  return defaultValue;
}

std::string RegUtil::RegGetKeyDefault(Hive hive, std::string_view keyPath) const {
  return RegGetString(hive, keyPath, "");
}

void RegUtil::RegSetString(Hive hive, std::string_view keyPath, std::string_view valueName,
                           std::string_view text) const {
  Guarded([&] { return backend_.SetValue(hive, keyPath, valueName, RegValue::String(text)); },
          false);
}

std::optional<double> ParseRegNumber(std::string_view input) {
  const std::string text = TrimSpaces(input);
  if (text.empty()) return std::nullopt;
  // Hexadecimal and octal literals as "&H1F" and "&O17".
  if (text.size() > 2 && text[0] == '&') {
    const char radix = text[1];
    const int base = (radix == 'h' || radix == 'H') ? 16 : (radix == 'o' || radix == 'O') ? 8 : 0;
    if (base == 0) return std::nullopt;
    const std::string digits = text.substr(2);
    if (digits.empty() || digits.size() > 16) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(digits.c_str(), &end, base);
    if (errno != 0 || *end != '\0' || digits[0] == '-' || digits[0] == '+') return std::nullopt;
    return static_cast<double>(value);
  }
  // Decimal: optional sign, digits with at most one decimal point, optional
  // exponent. Words such as "inf" or "nan" are not numbers.
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') ++i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t expStart = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (j == expStart) return std::nullopt;
    i = j;
  }
  if (i != text.size()) return std::nullopt;
  errno = 0;
  const double value = std::strtod(text.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(value)) return std::nullopt;
  return value;
}

}  // namespace quorvella
