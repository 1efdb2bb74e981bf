// SPDX-License-Identifier: MIT
#pragma once

#include "settings/OptionStore.h"

namespace quorvella {

// The Windows registry itself, through its ANSI functions: strings are
// stored in the ANSI code page, as the program always stored them, and read
// back into UTF-8. A key that cannot be opened reads as missing; a write that
// cannot be made reports false.
class WindowsRegistry final : public OptionStore {
 public:
  bool KeyExists(Hive hive, std::string_view keyPath) override;
  std::optional<RegValue> QueryValue(Hive hive, std::string_view keyPath,
                                     std::string_view valueName) override;
  bool SetValue(Hive hive, std::string_view keyPath, std::string_view valueName,
                const RegValue& value) override;
  bool DeleteValue(Hive hive, std::string_view keyPath, std::string_view valueName) override;

  // The program's own key under HKEY_CURRENT_USER.
  std::string Path() const override;
  bool Import(const RegDocument& document) override;
  // The program's own key; the rest of the registry is the system's.
  std::string Export() override;
  std::optional<std::string> Export(Hive hive, std::string_view keyPath) override;
};

}  // namespace quorvella
