// SPDX-License-Identifier: MIT
#include "platform/PathRules.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>
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
// after it.
struct PathParts {
  PathDialect dialect = PathDialect::Windows;
  std::string root;
  std::vector<std::string_view> components;
};

// POSIX: runs of "/" count as one, as the system reads them, so no component
// is empty (a written ".." must climb exactly the folders that are there).
void SplitPosix(std::string_view rest, std::vector<std::string_view>& components) {
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('/', start);
    if (end == std::string_view::npos) end = rest.size();
    if (end > start) components.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
}

// Windows: every backslash ends a component, so two in a row leave an empty
// one between them, which counts like any other; only the empty last one
// that a trailing backslash leaves is ignored.
void SplitWindows(std::string_view rest, std::vector<std::string_view>& components) {
  if (rest.empty()) return;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = rest.find('\\', start);
    if (end == std::string_view::npos) {
      if (start < rest.size()) components.push_back(rest.substr(start));
      return;
    }
    components.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
}

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  // Enough for most paths at once: a publish takes every song's apart.
  parts.components.reserve(16);
  parts.dialect = DialectOf(path);
  if (parts.dialect == PathDialect::Posix) {
    parts.root += '/';
    SplitPosix(path.substr(1), parts.components);
    return parts;
  }
  std::string_view rest;
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
    parts.root = LowerAscii(path.substr(0, 2));
    rest = path.substr(2);
  } else if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // \\server\share: both names belong to the root.
    const std::string_view names = path.substr(2);
    const std::size_t serverEnd = std::min(names.find('\\'), names.size());
    if (serverEnd == 0) return parts;
    parts.root += "\\\\";
    parts.root += LowerCase(names.substr(0, serverEnd));
    rest = names.substr(serverEnd);
    if (rest.size() > 1 && rest[1] != '\\') {
      const std::size_t shareEnd = std::min(rest.find('\\', 1), rest.size());
      parts.root += '\\';
      parts.root += LowerCase(rest.substr(1, shareEnd - 1));
      rest = rest.substr(shareEnd);
    }
  } else {
    return parts;  // a relative Windows path has no root to share
  }
  // The backslash after the root belongs to it.
  if (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
  SplitWindows(rest, parts.components);
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
  return RelativePathFrom(folder).To(file);
}

RelativePathFrom::RelativePathFrom(std::string_view folder) {
  PathParts parts = SplitPath(folder);
  dialect_ = parts.dialect;
  root_ = std::move(parts.root);
  components_.assign(parts.components.begin(), parts.components.end());
}

std::string RelativePathFrom::To(std::string_view file) const {
  const PathParts to = SplitPath(file);
  if (dialect_ != to.dialect || root_.empty() || root_ != to.root) return {};

  std::size_t shared = 0;
  while (shared < components_.size() && shared < to.components.size() &&
         SameComponent(dialect_, components_[shared], to.components[shared])) {
    ++shared;
  }

  const char separator = dialect_ == PathDialect::Posix ? '/' : '\\';
  std::string result;
  result.reserve(file.size() + 3 * components_.size() + 2);
  if (shared == components_.size()) {
    result += '.';
    result += separator;
  } else {
    for (std::size_t i = shared; i < components_.size(); ++i) {
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
