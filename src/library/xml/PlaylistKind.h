// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace quorvella {

// Special kinds beyond the ones the program names (ITunes.h), as the library
// model reports the library's built-in playlists.
inline constexpr std::int32_t ITUserPlaylistSpecialKindMusic = 6;
inline constexpr std::int32_t ITUserPlaylistSpecialKindMovies = 7;
inline constexpr std::int32_t ITUserPlaylistSpecialKindTVShows = 8;
inline constexpr std::int32_t ITUserPlaylistSpecialKindBooks = 9;
inline constexpr std::int32_t ITUserPlaylistSpecialKindITunesU = 10;
inline constexpr std::int32_t ITUserPlaylistSpecialKindGenius = 11;
// Every other built-in playlist (voice memos, tones, downloads, rentals, ...).
inline constexpr std::int32_t ITUserPlaylistSpecialKindOther = 12;

// The markers of a playlist entry in the library file that decide its kind.
struct PlaylistMarkers {
  bool master = false;
  bool folder = false;
  bool purchasedMusic = false;
  bool partyShuffle = false;
  bool podcasts = false;
  bool music = false;
  bool movies = false;
  bool tvShows = false;
  bool books = false;  // "Audiobooks" or "Books"
  bool iTunesU = false;
  std::optional<std::int32_t> distinguishedKind;
};

struct PlaylistKind {
  std::int32_t kind = 0;
  std::int32_t specialKind = 0;  // meaningful for user playlists only
  friend bool operator==(const PlaylistKind&, const PlaylistKind&) = default;
};

// Kind and special kind of a playlist entry: the first rule that matches wins.
// Whether the playlist is visible plays no part (a hidden podcasts list is
// still the podcasts list).
PlaylistKind ClassifyPlaylist(const PlaylistMarkers& markers);

}  // namespace quorvella
