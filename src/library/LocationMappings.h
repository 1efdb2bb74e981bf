// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathRules.h"

namespace quorvella {

// One rule: a track location that begins with `from` names the same file
// under the folder `to` of this computer. `from` is a full path in the form
// of the computer that wrote the library (C:\Music, \\nas\music, /Volumes/x);
// `to` is a folder here.
struct LocationMapping {
  std::string from;
  std::string to;

  friend bool operator==(const LocationMapping&, const LocationMapping&) = default;
};

// Whether a text can be the `from` of a rule: a POSIX path ("/..."), a path
// on a drive ("C:" followed by nothing or a separator) or a network share
// ("\\server" with at least its server name).
bool IsMappableFrom(std::string_view from);

// The rules that carry a library's locations onto this computer. A location
// matches `from` by whole path components, with the letter case rule of
// `from`'s dialect: a Windows `from` ignores letter case and takes either
// separator, a POSIX one compares exactly. The longest matching `from` wins,
// whatever the order of the rules; the rest of the location is joined onto
// `to` with "/". Rules whose `from` is no full path never match.
class LocationMappings {
 public:
  LocationMappings() = default;
  // A rule whose `from` names the place of an earlier one replaces it.
  explicit LocationMappings(const std::vector<LocationMapping>& rules);

  // In the order they were added.
  const std::vector<LocationMapping>& Rules() const { return rules_; }
  bool Empty() const { return rules_.empty(); }

  // The position of the rule whose `from` names the same place, or nullopt.
  std::optional<std::size_t> Find(std::string_view from) const;
  // Adds a rule at the end, or replaces the rule of the same `from` in its
  // place; true when it replaced one.
  bool Add(LocationMapping rule);
  // Removes the rule of the same `from`; false when there was none.
  bool Remove(std::string_view from);

  struct Match {
    std::size_t rule;       // position in Rules()
    std::size_t restStart;  // where the rest of the location begins
  };
  std::optional<Match> MatchLocation(std::string_view location) const;

  // The location as it is found on this computer, or nullopt when no rule
  // maps it.
  std::optional<std::string> Map(std::string_view location) const;
  // The same into `out` (its old content replaced), without allocating once
  // `out` has grown; false, with `out` untouched, when no rule maps it.
  bool MapInto(std::string_view location, std::string& out) const;

 private:
  // A `from` taken apart once, so that matching a location compares
  // components without allocating.
  struct Compiled {
    std::size_t rule = 0;
    PathDialect dialect = PathDialect::Windows;
    // The separators before the first component: 1 for POSIX, 2 for a
    // network share, 0 for a drive.
    std::size_t leading = 0;
    // Never empty ones; lower-cased in the Windows dialect.
    std::vector<std::string> components;
    // The same as one text, with one separator ("\\" in the Windows
    // dialect) between components: a location without runs of separators
    // matches when it begins with it.
    std::string prefix;
  };
  static std::optional<Compiled> CompileFrom(std::string_view from);
  static bool SamePlace(const Compiled& a, const Compiled& b);
  void Compile();
  static bool Matches(const Compiled& rule, std::string_view location, std::size_t& restStart);
  static std::optional<bool> MatchesPrefix(const Compiled& rule, std::string_view location,
                                           std::size_t& restStart);

  std::vector<LocationMapping> rules_;
  std::vector<Compiled> compiled_;  // the longest first
};

}  // namespace quorvella
