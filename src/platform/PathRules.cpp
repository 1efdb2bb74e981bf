// SPDX-License-Identifier: MIT
#include "platform/PathRules.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace quorvella {
namespace {

// The relative path is built in a buffer of this many characters, its
// terminating NUL included; a longer result is no relative path at all.
constexpr std::size_t kRelativePathBuffer = 260;

bool IsReplacedInFileName(unsigned char c) {
  if (c >= 1 && c <= 31) return true;
  switch (c) {
    case '"': case '*': case '/': case ':': case '<':
    case '>': case '?': case '\\': case '|':
      return true;
    default:
      return false;
  }
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A path taken apart: its root (empty when it has none) and the components
// after it. Runs of separators count as one, as the file functions read them,
// so no component is empty.
struct PathParts {
  PathDialect dialect = PathDialect::Windows;
  std::string root;
  std::vector<std::string_view> components;
};

void SplitComponents(std::string_view rest, char separator,
                     std::vector<std::string_view>& components) {
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find(separator, start);
    if (end == std::string_view::npos) end = rest.size();
    if (end > start) components.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
}

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  parts.dialect = DialectOf(path);
  std::string_view rest;
  if (parts.dialect == PathDialect::Posix) {
    parts.root = "/";
    rest = path.substr(1);
  } else if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
    parts.root = LowerAscii(path.substr(0, 2));
    rest = path.substr(2);
  } else if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // \\server\share: both names belong to the root.
    std::vector<std::string_view> names;
    SplitComponents(path.substr(2), '\\', names);
    if (names.empty()) return parts;
    const std::size_t rootNames = names.size() >= 2 ? 2 : 1;
    parts.root = "\\\\" + LowerCase(names[0]);
    if (rootNames == 2) parts.root += "\\" + LowerCase(names[1]);
    parts.components.assign(names.begin() + rootNames, names.end());
    return parts;
  } else {
    return parts;  // a relative Windows path has no root to share
  }
  SplitComponents(rest, SeparatorOf(path), parts.components);
  return parts;
}

bool SameComponent(PathDialect dialect, std::string_view a, std::string_view b) {
  if (dialect == PathDialect::Posix) return a == b;
  return a == b || LowerCase(a) == LowerCase(b);
}

// Characters, not bytes: the buffer held one byte per character of the code
// page, and a character the code page could not hold still took one byte.
std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace

PathDialect DialectOf(std::string_view path) {
  return !path.empty() && path.front() == '/' ? PathDialect::Posix : PathDialect::Windows;
}

char SeparatorOf(std::string_view path) {
  return DialectOf(path) == PathDialect::Posix ? '/' : '\\';
}

std::string SanitizeFileName(std::string_view name, std::string_view replacement) {
  // Byte by byte is safe on UTF-8: every replaced character is ASCII, and the
  // bytes of a multi-byte character are all 0x80 or above.
  std::string result;
  result.reserve(name.size());
  for (const char c : name) {
    if (IsReplacedInFileName(static_cast<unsigned char>(c))) {
      result += replacement;
    } else {
      result += c;
    }
  }
  return result;
}

std::string AddBackslash(std::string_view folder) {
  std::string result = TrimSpaces(folder);
  if (result.empty()) return result;
  const char separator = SeparatorOf(result);
  if (result.back() != separator) result += separator;
  return result;
}

std::string RelativePathTo(std::string_view folder, std::string_view file) {
  const PathParts from = SplitPath(folder);
  const PathParts to = SplitPath(file);
  if (from.dialect != to.dialect || from.root.empty() || from.root != to.root) return {};

  std::size_t shared = 0;
  while (shared < from.components.size() && shared < to.components.size() &&
         SameComponent(from.dialect, from.components[shared], to.components[shared])) {
    ++shared;
  }

  const char separator = from.dialect == PathDialect::Posix ? '/' : '\\';
  std::string result;
  if (shared == from.components.size()) {
    result += '.';
    result += separator;
  } else {
    for (std::size_t i = shared; i < from.components.size(); ++i) {
      result += "..";
      result += separator;
    }
  }
  for (std::size_t i = shared; i < to.components.size(); ++i) {
    if (i > shared) result += separator;
    result += to.components[i];
  }
  if (CharacterCount(result) >= kRelativePathBuffer) return {};
  return result;
}

SortedSongPath SortSongPath(std::string_view relativePath) {
  if (StartsWith(relativePath, ".\\") || StartsWith(relativePath, "./")) {
    relativePath.remove_prefix(2);
  }
  if (StartsWith(relativePath, "..\\") || StartsWith(relativePath, "../")) {
    return {SongPathClass::LikelyUnreachable, std::string(relativePath)};
  }
  if (relativePath.empty()) return {SongPathClass::Unreachable, {}};
  return {SongPathClass::Written, std::string(relativePath)};
}

}  // namespace quorvella
