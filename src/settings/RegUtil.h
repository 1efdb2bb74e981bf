// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "platform/AnsiCodePage.h"
#include "settings/RegistryBackend.h"

namespace quorvella {

// The five registry operations; the only code that touches the registry.
// None of them reports an error: a problem gives the empty text, false or the
// default, and a failed write leaves the store as it was.
class RegUtil {
 public:
  // Values whose text, terminating NUL included, needs more than this many
  // bytes in the ANSI code page read as empty text: the registry's ANSI
  // query hands a value back in that code page, one byte per character in
  // the single-byte ones, whatever the store keeps.
  static constexpr std::size_t kValueBufferSize = 1024;

  explicit RegUtil(RegistryBackend& backend, int ansiCodePage = UserAnsiCodePage())
      : backend_(backend), ansiCodePage_(ansiCodePage) {}

  bool RegKeyExists(Hive hive, std::string_view keyPath) const;
  // A REG_SZ value's text; anything else reads as empty text.
  std::string RegGetString(Hive hive, std::string_view keyPath, std::string_view valueName) const;
  // "true"/"false" in any case and with spaces around, or a number (non-zero
  // is true); anything else gives the default.
  bool RegGetBool(Hive hive, std::string_view keyPath, std::string_view valueName,
                  bool defaultValue) const;
  // The key's unnamed default value.
  std::string RegGetKeyDefault(Hive hive, std::string_view keyPath) const;
  // Stores text as a REG_SZ value, creating the key and every key above it.
  void RegSetString(Hive hive, std::string_view keyPath, std::string_view valueName,
                    std::string_view text) const;

  RegistryBackend& Backend() const { return backend_; }

 private:
  RegistryBackend& backend_;
  int ansiCodePage_;
};

// The lenient reading of a number that RegGetBool applies: nullopt when the
// text is not a number or its value is out of range.
std::optional<double> ParseRegNumber(std::string_view text);

}  // namespace quorvella
