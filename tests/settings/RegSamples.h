// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/RegTree.h"
#include "settings/RegistryBackend.h"

namespace quorvella::test {

inline RegValue Raw(std::uint32_t type, std::string_view bytes) {
  return RegValue{type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

// A tree of the given values, set in order: {key, name, value[, hive]}.
struct RegRow { std::string key, name; RegValue value; Hive hive = Hive::CurrentUser; };
inline RegTree Tree(std::initializer_list<RegRow> rows) {
  RegTree tree;
  for (const RegRow& row : rows) tree.SetValue(row.hive, row.key, row.name, row.value);
  return tree;
}

// One value of every type and shape that a store must keep unchanged,
// including the ones that cannot be written as "name"="text".
inline std::vector<std::pair<std::string, RegValue>> EveryKindOfValue() {
  std::string allBytes;
  for (int i = 0; i < 256; ++i) allBytes += static_cast<char>(i);
  using namespace std::string_view_literals;
  return {
      {"", RegValue::String("the default value")}, {"Plain", RegValue::String("D:\\Lists")},
      {"Quotes \"and\" \\slashes\\", RegValue::String("say \"hi\" to C:\\")},
      {"Empty", RegValue::String("")},
      {"Non-ASCII \xC3\xA9 \xE2\x98\x83", RegValue::String("f\xC3\xBCr \xF0\x9F\x8E\xB5")},
      {"Two lines", RegValue::String("a\r\nb")},
      {"Semicolon ; [bracket]", RegValue::String("; not a comment")},
      {"Embedded NUL", Raw(regtype::kSz, "a\0b\0"sv)}, {"No NUL", Raw(regtype::kSz, "ab")},
      {"No data", Raw(regtype::kSz, "")}, {"Long", RegValue::String(std::string(1500, 'w'))},
      {"Expand", RegValue::String("%USERPROFILE%\\Music", regtype::kExpandSz)},
      {"Multi", Raw(regtype::kMultiSz, "a\0\xC3\xA9\0\0"sv)}, {"Dword", RegValue::Dword(0xDEADBEEF)},
      {"Short dword", Raw(regtype::kDword, "\1\2\3")},
      {"Big-endian dword", Raw(regtype::kDwordBigEndian, "\0\0\0\x2A"sv)},
      {"Qword", Raw(regtype::kQword, "\1\2\3\4\5\6\7\x08")}, {"Binary", Raw(regtype::kBinary, allBytes)},
      {"Empty binary", Raw(regtype::kBinary, "")}, {"None", Raw(regtype::kNone, "")},
      {"Link", Raw(regtype::kLink, "\\\0R\0"sv)}, {"Odd type", Raw(0xFFFF0011, "\1")},
  };
}

}  // namespace quorvella::test
