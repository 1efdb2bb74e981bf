// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace quorvella {

// The counts of one publishing pass, written by the playlist writer and the
// publish run and read by the summary.
struct PublishStats {
  std::int32_t SongsInPlaylist = 0;         // written into the playlist now being written
  std::int32_t SongsWritten = 0;            // written in the whole run
  std::int32_t UnreachableSongs = 0;        // published type, but no relative path
  std::int32_t LikelyUnreachableSongs = 0;  // relative path climbs out of the folder
  std::int32_t WrongFormatSongs = 0;        // file type not published
  std::int32_t EmptyPlaylistsDeleted = 0;
  std::int32_t PlaylistsPublished = 0;      // checked playlists the run reached

  friend bool operator==(const PublishStats&, const PublishStats&) = default;
};

}  // namespace quorvella
