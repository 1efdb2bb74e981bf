// SPDX-License-Identifier: MIT
#include "engine/MappingCheck.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "platform/PathRules.h"
#include "platform/Text.h"

namespace quorvella {
namespace {

// A location taken apart: the root that groups it, and its folders below
// that root (the file's own name left out).
struct Folders {
  PathDialect dialect = PathDialect::Windows;
  std::string key;   // the root, compared: lower-cased in the Windows dialect
  std::string root;  // the root as written: "/", "C:", "\\server\share"
  std::vector<std::string_view> names;
};

Folders SplitFolders(std::string_view location) {
  Folders folders;
  folders.dialect = DialectOf(location);
  std::vector<std::string_view> parts;
  std::size_t pos = 0;
  while (pos < location.size()) {
    std::size_t end = pos;
    while (end < location.size() && location[end] != '/' &&
           (folders.dialect == PathDialect::Posix || location[end] != '\\')) {
      ++end;
    }
    if (end > pos) parts.push_back(location.substr(pos, end - pos));
    pos = end + 1;
  }
  if (!parts.empty()) parts.pop_back();  // the file
  std::size_t rootParts = 0;
  if (folders.dialect == PathDialect::Posix) {
    folders.root.assign(1, '/');  // not = "/": GCC 12 warns falsely (-Wrestrict) there
    // A POSIX path's first folder is what a drive is to a Windows one:
    // /Users, /Volumes, /home.
    if (!parts.empty()) folders.key = parts.front();
  } else if (location.size() >= 2 && location[1] == ':' && !parts.empty()) {
    folders.root = std::string(parts.front());
    rootParts = 1;
  } else if (location.starts_with("\\\\") && parts.size() >= 2) {
    folders.root = "\\\\" + std::string(parts[0]) + "\\" + std::string(parts[1]);
    rootParts = 2;
  }
  if (folders.dialect == PathDialect::Windows) folders.key = LowerCase(folders.root);
  folders.names.assign(parts.begin() + static_cast<std::ptrdiff_t>(rootParts), parts.end());
  return folders;
}

bool SameName(PathDialect dialect, std::string_view a, std::string_view b) {
  if (a == b) return true;
  return dialect == PathDialect::Windows && LowerCase(a) == LowerCase(b);
}

std::string FolderText(const Folders& folders) {
  const char separator = folders.dialect == PathDialect::Posix ? '/' : '\\';
  std::string text = folders.root;
  for (std::size_t i = 0; i < folders.names.size(); ++i) {
    if (i > 0 || (!text.empty() && text.back() != separator)) text += separator;
    text += folders.names[i];
  }
  // A drive's root folder is "C:\", not "C:".
  if (text.size() == 2 && text[1] == ':') text += '\\';
  return text;
}

}  // namespace

std::vector<MissingGroup> GroupByFolder(const std::vector<std::string>& locations) {
  struct Group {
    Folders shared;  // the folders every track so far shares
    std::int64_t tracks = 0;
  };
  std::map<std::pair<PathDialect, std::string>, Group> groups;
  for (const std::string& location : locations) {
    Folders folders = SplitFolders(location);
    auto [it, added] = groups.try_emplace({folders.dialect, folders.key});
    Group& group = it->second;
    ++group.tracks;
    if (added) {
      group.shared = std::move(folders);
      continue;
    }
    auto& shared = group.shared.names;
    std::size_t common = 0;
    while (common < shared.size() && common < folders.names.size() &&
           SameName(folders.dialect, shared[common], folders.names[common])) {
      ++common;
    }
    shared.resize(common);
  }
  std::vector<MissingGroup> result;
  result.reserve(groups.size());
  for (const auto& [key, group] : groups) {
    result.push_back({FolderText(group.shared), group.tracks});
  }
  std::stable_sort(result.begin(), result.end(), [](const MissingGroup& a, const MissingGroup& b) {
    return a.tracks > b.tracks;
  });
  return result;
}

MappingCheck CheckMappings(const std::vector<std::string>& locations,
                           const LocationMappings& mappings, const PathTest& exists) {
  MappingCheck check;
  check.rules.resize(mappings.Rules().size());
  std::vector<std::string> missing;
  std::string mapped;
  for (const std::string& location : locations) {
    if (mappings.MapInto(location, mapped)) {
      MappingCheck::RuleCount& count = check.rules[mappings.MatchLocation(location)->rule];
      ++count.mapped;
      if (exists(mapped)) ++count.found;
      continue;
    }
    ++check.unmapped;
    // A path in the Windows form names no file on this computer.
    if (DialectOf(location) == PathDialect::Posix && exists(location)) {
      ++check.unmappedFound;
    } else {
      missing.push_back(location);
    }
  }
  check.missing = GroupByFolder(missing);
  return check;
}

}  // namespace quorvella
