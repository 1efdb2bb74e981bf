// SPDX-License-Identifier: MIT
#include "library/LocationMappings.h"

#include <algorithm>

#include "platform/Text.h"

namespace quorvella {
namespace {

bool IsSeparator(PathDialect dialect, char c) {
  return c == '/' || (dialect == PathDialect::Windows && c == '\\');
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasNonAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; });
}

// A component of a location against a component of a `from`, which the
// Windows dialect has lower-cased already. A library holds a hundred thousand
// locations, so ASCII is compared in place; only other letters need the full
// case mapping.
bool SameComponent(PathDialect dialect, std::string_view part, const std::string& wanted) {
  if (dialect == PathDialect::Posix) return part == wanted;
  if (part.size() == wanted.size()) {
    bool other = false;
    for (std::size_t i = 0; i < part.size(); ++i) {
      char c = part[i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c == wanted[i]) continue;
      if (((static_cast<unsigned char>(c) | static_cast<unsigned char>(wanted[i])) & 0x80) == 0) {
        return false;
      }
      other = true;
      break;
    }
    if (!other) return true;
  } else if (!HasNonAscii(part) && !HasNonAscii(wanted)) {
    return false;
  }
  return LowerCase(part) == wanted;
}

}  // namespace

bool IsMappableFrom(std::string_view from) {
  if (from.empty()) return false;
  if (DialectOf(from) == PathDialect::Posix) return true;
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (from.size() >= 2 && IsAsciiLetter(from[0]) && from[1] == ':') {
    return from.size() == 2 || separator(from[2]);
  }
  return from.size() >= 3 && separator(from[0]) && separator(from[1]) && !separator(from[2]);
}

std::optional<LocationMappings::Compiled> LocationMappings::CompileFrom(std::string_view from) {
  if (!IsMappableFrom(from)) return std::nullopt;
  Compiled compiled;
  compiled.dialect = DialectOf(from);
  if (compiled.dialect == PathDialect::Posix) {
    compiled.leading = 1;
  } else if (IsSeparator(compiled.dialect, from[0])) {
    compiled.leading = 2;
  }
  std::size_t pos = compiled.leading;
  while (pos < from.size()) {
    std::size_t end = pos;
    while (end < from.size() && !IsSeparator(compiled.dialect, from[end])) ++end;
    // Runs of separators count as one, and a trailing one changes nothing.
    if (end > pos) {
      const std::string_view part = from.substr(pos, end - pos);
      compiled.components.push_back(compiled.dialect == PathDialect::Windows ? LowerCase(part)
                                                                             : std::string(part));
    }
    pos = end + 1;
  }
  const char separator = compiled.dialect == PathDialect::Posix ? '/' : '\\';
  compiled.prefix.assign(compiled.leading, separator);
  for (std::size_t i = 0; i < compiled.components.size(); ++i) {
    if (i > 0) compiled.prefix += separator;
    compiled.prefix += compiled.components[i];
  }
  return compiled;
}

bool LocationMappings::SamePlace(const Compiled& a, const Compiled& b) {
  return a.dialect == b.dialect && a.leading == b.leading && a.components == b.components;
}

LocationMappings::LocationMappings(const std::vector<LocationMapping>& rules) {
  for (const LocationMapping& rule : rules) Add(rule);
}

void LocationMappings::Compile() {
  compiled_.clear();
  for (std::size_t i = 0; i < rules_.size(); ++i) {
    if (auto compiled = CompileFrom(rules_[i].from)) {
      compiled->rule = i;
      compiled_.push_back(std::move(*compiled));
    }
  }
  // The first rule that matches is the longest: a rule with more components
  // than another can only match where that one would too.
  std::stable_sort(compiled_.begin(), compiled_.end(), [](const Compiled& a, const Compiled& b) {
    return a.components.size() > b.components.size();
  });
}

std::optional<std::size_t> LocationMappings::Find(std::string_view from) const {
  const auto wanted = CompileFrom(from);
  if (!wanted) {
    for (std::size_t i = 0; i < rules_.size(); ++i) {
      if (rules_[i].from == from) return i;
    }
    return std::nullopt;
  }
  for (const Compiled& compiled : compiled_) {
    if (SamePlace(compiled, *wanted)) return compiled.rule;
  }
  return std::nullopt;
}

bool LocationMappings::Add(LocationMapping rule) {
  const std::optional<std::size_t> existing = Find(rule.from);
  if (existing) {
    rules_[*existing] = std::move(rule);
  } else {
    rules_.push_back(std::move(rule));
  }
  Compile();
  return existing.has_value();
}

bool LocationMappings::Remove(std::string_view from) {
  const std::optional<std::size_t> existing = Find(from);
  if (!existing) return false;
  rules_.erase(rules_.begin() + static_cast<std::ptrdiff_t>(*existing));
  Compile();
  return true;
}

bool LocationMappings::Matches(const Compiled& rule, std::string_view location,
                               std::size_t& restStart) {
  const PathDialect dialect = rule.dialect;
  const auto separator = [&](std::size_t at) {
    return at < location.size() && IsSeparator(dialect, location[at]);
  };
  // The location's root must be of the same kind: two separators before a
  // server, none before a drive.
  for (std::size_t i = 0; i < rule.leading; ++i) {
    if (!separator(i)) return false;
  }
  std::size_t pos = rule.leading;
  if (rule.leading != 1 && separator(pos)) return false;
  for (const std::string& wanted : rule.components) {
    while (separator(pos)) ++pos;
    std::size_t end = pos;
    while (end < location.size() && !IsSeparator(dialect, location[end])) ++end;
    if (end == pos || !SameComponent(dialect, location.substr(pos, end - pos), wanted)) {
      return false;
    }
    pos = end;
  }
  while (separator(pos)) ++pos;
  restStart = pos;
  return true;
}

std::optional<bool> LocationMappings::MatchesPrefix(const Compiled& rule,
                                                    std::string_view location,
                                                    std::size_t& restStart) {
  const std::string& prefix = rule.prefix;
  if (location.size() < prefix.size()) return false;
  if (rule.dialect == PathDialect::Posix) {
    if (location.compare(0, prefix.size(), prefix) != 0) return false;
  } else {
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      char c = location[i];
      if (c == '/') c = '\\';
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c == prefix[i]) continue;
      // Other letters need the full case mapping, component by component.
      if (((static_cast<unsigned char>(c) | static_cast<unsigned char>(prefix[i])) & 0x80) != 0) {
        return std::nullopt;
      }
      return false;
    }
  }
  std::size_t pos = prefix.size();
  if (pos < location.size() && !IsSeparator(rule.dialect, location[pos])) {
    // "/" alone, or a root such as "\\\\server", already ends in a separator.
    if (pos == 0 || !IsSeparator(rule.dialect, location[pos - 1])) return false;
  }
  while (pos < location.size() && IsSeparator(rule.dialect, location[pos])) ++pos;
  restStart = pos;
  return true;
}

std::optional<LocationMappings::Match> LocationMappings::MatchLocation(
    std::string_view location) const {
  if (compiled_.empty() || location.empty()) return std::nullopt;
  const PathDialect dialect = DialectOf(location);
  // A location without runs of separators (past the two of a network share)
  // is compared with each rule's `from` as one text; a library holds a
  // hundred thousand of them.
  bool single = true;
  for (std::size_t i = 2; i < location.size() && single; ++i) {
    single = !(IsSeparator(dialect, location[i]) && IsSeparator(dialect, location[i - 1]));
  }
  if (location.size() >= 2 && dialect == PathDialect::Posix && location[1] == '/') single = false;
  for (const Compiled& compiled : compiled_) {
    if (compiled.dialect != dialect) continue;
    std::size_t restStart = 0;
    const std::optional<bool> quick =
        single ? MatchesPrefix(compiled, location, restStart) : std::nullopt;
    if (quick ? *quick : Matches(compiled, location, restStart)) {
      return Match{compiled.rule, restStart};
    }
  }
  return std::nullopt;
}

bool LocationMappings::MapInto(std::string_view location, std::string& out) const {
  const std::optional<Match> match = MatchLocation(location);
  if (!match) return false;
  std::string_view to = rules_[match->rule].to;
  // The rest of the song's path is joined in the dialect of `to`, where the
  // mapped path is read; a drive root such as "C:\\" keeps its separator.
  const PathDialect toDialect = DialectOf(to);
  const char separator = SeparatorOf(to);
  const bool driveTo = toDialect == PathDialect::Windows && to.size() >= 2 && to[1] == ':';
  const std::size_t keep = driveTo ? 3 : 1;
  while (to.size() > keep && IsSeparator(toDialect, to.back())) to.remove_suffix(1);
  const std::string_view rest = location.substr(match->restStart);
  out.assign(to);
  if (!rest.empty()) {
    if (out.empty() || !IsSeparator(toDialect, out.back())) out += separator;
    const std::size_t start = out.size();
    out += rest;
    // A backslash is a letter of a POSIX file name, so only a Windows
    // location's own separators are turned round for a POSIX `to`.
    const char other = toDialect == PathDialect::Posix ? '\\' : '/';
    if (toDialect == PathDialect::Windows || DialectOf(location) == PathDialect::Windows) {
      std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), other, separator);
    }
  }
  return true;
}

std::optional<std::string> LocationMappings::Map(std::string_view location) const {
  std::string mapped;
  if (!MapInto(location, mapped)) return std::nullopt;
  return mapped;
}

}  // namespace quorvella
