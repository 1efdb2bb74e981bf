// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "library/LocationMappings.h"

namespace quorvella {

// What the mappings are worked out from: the file locations of a library's
// tracks as the library gives them, before any mapping, and the library's own
// music folder (empty when it names none).
struct LibraryLocations {
  std::vector<std::string> paths;
  std::string musicFolder;
};

// Whether a file exists at a path of this computer.
using PathTest = std::function<bool(const std::string& path)>;

// Tracks that no rule maps and whose files are missing, under the longest
// folder they all share.
struct MissingGroup {
  std::string folder;  // as the first of its tracks spells it
  std::int64_t tracks = 0;
};

struct MappingCheck {
  struct RuleCount {
    std::int64_t mapped = 0;  // tracks whose location the rule maps
    std::int64_t found = 0;   // of those, the ones whose mapped file exists
  };
  std::vector<RuleCount> rules;  // in the order of the rules
  std::int64_t unmapped = 0;
  std::int64_t unmappedFound = 0;
  std::vector<MissingGroup> missing;  // the most tracks first
};

// Counts, for every rule, the tracks it maps and how many of those exist;
// then groups the tracks that no rule maps and that do not exist, first by
// their root (drive, network share, or first folder of a POSIX path), then
// under the longest folder the tracks of each root share.
MappingCheck CheckMappings(const std::vector<std::string>& locations,
                           const LocationMappings& mappings, const PathTest& exists);

// The same grouping for any list of locations.
std::vector<MissingGroup> GroupByFolder(const std::vector<std::string>& locations);

}  // namespace quorvella
