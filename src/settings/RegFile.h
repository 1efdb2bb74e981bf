// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/RegTree.h"
#include "settings/RegistryBackend.h"

// The registry export format: "Windows Registry Editor Version 5.00" (and the
// older "REGEDIT4") text files of [key] lines followed by "name"=value lines.
namespace quorvella {

// A deletion a document asks for: a key with everything below it
// ("[-HKEY_CURRENT_USER\Key]") or one value ("name"=-).
struct RegDeletion {
  Hive hive = Hive::CurrentUser;
  std::string keyPath;
  std::optional<std::string> valueName;  // none: the whole key

  friend bool operator==(const RegDeletion&, const RegDeletion&) = default;
};

// A parsed document. The tree is what the document leaves in an empty store,
// so carrying out `deletions` on a store and then merging `tree` into it has
// the same effect as carrying out the document line by line.
struct RegDocument {
  RegTree tree;
  std::vector<RegDeletion> deletions;
};

struct RegParseError {
  std::size_t line = 0;  // 1-based
  std::string message;

  // "line 12: expected ..."
  std::string Text() const;
};

struct RegParseResult {
  RegDocument document;  // meaningful only when there is no error
  std::optional<RegParseError> error;
};

// Reads a document in UTF-16LE (with byte order mark) or UTF-8 (with or
// without one), with CRLF or LF line ends. Keys of hives other than the three
// the program knows are skipped.
RegParseResult ParseRegFile(std::string_view bytes);

// Writes every key of the tree, as a version 5.00 document in UTF-16LE with
// byte order mark and CRLF line ends: the form the Windows registry editor
// writes and reads, so a file moves between the two without conversion.
std::string SerializeRegFile(const RegTree& tree);

// Writes one key and everything below it; nullopt when the key does not exist.
std::optional<std::string> SerializeRegKey(const RegTree& tree, Hive hive,
                                           std::string_view keyPath);

// Keys nest at most this deep, as in the registry itself; the limit also
// keeps a garbled file from building a huge tree.
inline constexpr std::size_t kMaxRegKeyDepth = 512;

// Whether a value can be written and read back unchanged: names on one line,
// keys no deeper than kMaxRegKeyDepth, and all texts in UTF-8.
bool RegFileCanHold(std::string_view keyPath, std::string_view valueName, const RegValue& value);

}  // namespace quorvella
