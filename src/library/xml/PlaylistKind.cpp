// SPDX-License-Identifier: MIT
#include "library/xml/PlaylistKind.h"

#include "library/ITunes.h"

namespace quorvella {

PlaylistKind ClassifyPlaylist(const PlaylistMarkers& m) {
  const auto user = [](std::int32_t specialKind) {
    return PlaylistKind{ITPlaylistKindUser, specialKind};
  };
  const auto distinguished = [&m](std::int32_t value) {
    return m.distinguishedKind && *m.distinguishedKind == value;
  };

  if (m.master) return {ITPlaylistKindLibrary, ITUserPlaylistSpecialKindNone};
  if (m.folder) return user(ITUserPlaylistSpecialKindFolder);
  if (m.purchasedMusic || distinguished(19)) return user(ITUserPlaylistSpecialKindPurchasedMusic);
  if (m.partyShuffle || distinguished(22)) return user(ITUserPlaylistSpecialKindPartyShuffle);
  if (m.podcasts || distinguished(10)) return user(ITUserPlaylistSpecialKindPodcasts);
  if (m.music || distinguished(4)) return user(ITUserPlaylistSpecialKindMusic);
  if (m.movies || distinguished(2)) return user(ITUserPlaylistSpecialKindMovies);
  if (m.tvShows || distinguished(3)) return user(ITUserPlaylistSpecialKindTVShows);
  if (m.books || distinguished(5)) return user(ITUserPlaylistSpecialKindBooks);
  if (m.iTunesU || distinguished(31)) return user(ITUserPlaylistSpecialKindITunesU);
  if (distinguished(26)) return user(ITUserPlaylistSpecialKindGenius);
  if (m.distinguishedKind) {
    // The built-in smart lists ("90's Music", "Recently Played", ...) are
    // ordinary smart playlists to the program.
    if (*m.distinguishedKind >= 200 && *m.distinguishedKind <= 206) {
      return user(ITUserPlaylistSpecialKindNone);
    }
    return user(ITUserPlaylistSpecialKindOther);
  }
  return user(ITUserPlaylistSpecialKindNone);
}

}  // namespace quorvella
