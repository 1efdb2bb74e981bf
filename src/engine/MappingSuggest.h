// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/MappingCheck.h"
#include "library/LocationMappings.h"
#include "platform/UserFolders.h"

namespace quorvella {

struct SuggestOptions {
  // Folders of this computer to look in, in order.
  std::vector<std::string> roots;
  // How many folder levels below a root are looked at.
  int maxDepth = 8;
  // When the search stops, found or not.
  std::chrono::milliseconds timeLimit{20'000};
  // Tracks tried for each missing folder.
  std::size_t sampleSize = 40;
};

struct MappingProposal {
  LocationMapping rule;
  std::int64_t sampled = 0;  // sampled missing tracks that the rule maps
  std::int64_t found = 0;    // of those, the ones it makes exist
};

struct MappingSuggestions {
  std::vector<MappingProposal> proposals;
  std::int64_t missing = 0;        // tracks that no rule maps and that do not exist
  std::int64_t foldersSeen = 0;    // folders looked at under the roots
  bool depthLimitReached = false;  // some folder lay deeper than maxDepth
  bool timeLimitReached = false;
};

// Where the search looks when it is not told: the user's music folder (the
// desktop's, else ~/Music) and the mount points /media, /mnt and /srv, those
// of them that are folders.
std::vector<std::string> DefaultSearchRoots(const Environment& env = ProcessEnvironment);

// Proposes rules for the tracks that no rule maps and whose files are
// missing. It looks under the roots for folders that hold the same relative
// tails as those tracks: first everything below the library's music folder,
// then, for each group of missing tracks (see GroupByFolder), the last folders
// and the file name (Artist/Album/01 Song.mp3) of sampled tracks. Where both
// sides then go on with the same folder names, letter case included, the rule
// is widened to cover them, so that one rule serves a whole copied tree, but
// never above the root it was found under. A proposal is made when it makes at least two
// sampled tracks (or the only one) and a quarter of those it maps exist.
MappingSuggestions SuggestMappings(const LibraryLocations& library,
                                   const LocationMappings& existing, const SuggestOptions& options,
                                   const PathTest& exists);

}  // namespace quorvella
