// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace quorvella {

// Hands out the playlistID of each playlist of the library file, keeping it
// for the life of the registry: a playlist keeps the number it was first seen
// with even when a rewritten file numbers it differently, so a number stored
// earlier still finds it. Playlists are told apart by their persistent ID.
class PlaylistIds {
 public:
  // Starts a new reading of the file: numbers given out from now on are
  // unique among the playlists of that reading.
  void BeginLoad() { usedThisLoad_.clear(); }

  // The number of the playlist with this persistent ID (empty when the file
  // gives none) and the number the file gives it, if any.
  std::int32_t Assign(std::string_view persistentId, std::optional<std::int32_t> fileId);

 private:
  std::int32_t Fresh();
  bool Taken(std::int32_t id) const { return taken_.contains(id); }
  std::int32_t Use(std::int32_t id);

  std::unordered_map<std::string, std::int32_t> byKey_;
  std::unordered_set<std::int32_t> taken_;
  std::unordered_set<std::int32_t> usedThisLoad_;
  std::int32_t next_ = 1;
};

}  // namespace quorvella
