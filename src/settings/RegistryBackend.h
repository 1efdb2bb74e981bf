// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// The three registry hives the program reads.
enum class Hive { CurrentUser, LocalMachine, ClassesRoot };

// Value types, numbered as the registry numbers them. Any other number may
// occur in a store and is kept as it is.
namespace regtype {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kDwordBigEndian = 5;
inline constexpr std::uint32_t kLink = 6;
inline constexpr std::uint32_t kMultiSz = 7;
inline constexpr std::uint32_t kQword = 11;
}  // namespace regtype

// One registry value as the program's text functions see it: the string types
// (1, 2, 7) hold UTF-8 bytes with their terminating NUL(s); all other types
// hold their raw bytes.
struct RegValue {
  std::uint32_t type = regtype::kNone;
  std::vector<std::uint8_t> data;

  static RegValue String(std::string_view text, std::uint32_t type = regtype::kSz);
  static RegValue Dword(std::uint32_t value);

  friend bool operator==(const RegValue&, const RegValue&) = default;
};

// A persistent key/value store shaped like the registry. Key paths are
// backslash-separated and, like value names, compared without regard to
// letter case. An empty value name stands for the key's default value.
// Implementations never throw: a store that cannot be read behaves as empty,
// and a write that cannot be made reports false.
class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  virtual bool KeyExists(Hive hive, std::string_view keyPath) = 0;
  virtual std::optional<RegValue> QueryValue(Hive hive, std::string_view keyPath,
                                             std::string_view valueName) = 0;
  // Creates the key and every missing key above it.
  virtual bool SetValue(Hive hive, std::string_view keyPath, std::string_view valueName,
                        const RegValue& value) = 0;
  // Removes a value; true when it is gone, whether or not it was there. A
  // store that cannot remove values reports false.
  virtual bool DeleteValue(Hive /*hive*/, std::string_view /*keyPath*/,
                           std::string_view /*valueName*/) {
    return false;
  }
};

// "HKEY_CURRENT_USER" and so on; the names used in .reg files.
std::string_view HiveName(Hive hive);
std::optional<Hive> HiveFromName(std::string_view name);

}  // namespace quorvella
