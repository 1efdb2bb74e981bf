// SPDX-License-Identifier: MIT
#include "engine/PlaylistCatalogue.h"

#include <string>

#include "engine/PlaylistFiles.h"
#include "platform/PathRules.h"
#include "platform/Text.h"

namespace quorvella {

PlaylistKindCode KindCodeOf(const IITPlaylist& playlist) {
  const std::int32_t kind = playlist.Kind();
  if (kind == ITPlaylistKindLibrary) return 3;
  if (kind != ITPlaylistKindUser) return 0;
  const IITUserPlaylist* user = playlist.QueryUserPlaylist();
  if (user == nullptr) return 0;
  switch (user->SpecialKind()) {
    case ITUserPlaylistSpecialKindNone:
      return user->Smart() ? 7 : 6;
    case ITUserPlaylistSpecialKindPurchasedMusic:
      return 1;
    case ITUserPlaylistSpecialKindPartyShuffle:
      return 2;
    case ITUserPlaylistSpecialKindPodcasts:
      return 8;
    case ITUserPlaylistSpecialKindFolder:
      return 4;
    case ITUserPlaylistSpecialKindVideos:
      return 5;
    default:
      return 0;
  }
}

bool IsListedKind(PlaylistKindCode code) {
  return code == 1 || code == 2 || code == 3 || code == 6 || code == 7 || code == 8;
}

bool IsCheckAllKind(PlaylistKindCode code) { return code == 6 || code == 7 || code == 8; }

std::optional<std::int32_t> PlaylistCatalogue::Refresh(IiTunes& iTunes) {
  std::optional<std::int32_t> sourceId;
  list_.Clear();
  const auto playlists = iTunes.LibrarySource()->Playlists();
  const std::int32_t count = playlists->Count();
  for (std::int32_t i = 0; i < count; ++i) {
    const auto playlist = playlists->Item(i);
    const PlaylistKindCode code = KindCodeOf(*playlist);
    if (IsListedKind(code)) {
      const std::string name = playlist->Name();
      const int row = list_.AddRow(name);
      list_.SetIcon(row, code);
      list_.SetChecked(row, PlaylistFileExists(settings_, files_, name));
      list_.SetTag(row, std::to_string(playlist->playlistID()));
      sourceId = playlist->sourceID();
    }
    pump_.DoEvents();
  }
  return sourceId;
}

void PlaylistCatalogue::SetAllChecks(bool check) {
  for (int row = 0; row < list_.Count(); ++row) {
    if (!check) {
      list_.SetChecked(row, false);
    } else if (LowerCase(list_.Text(row)) == "all rated songs") {
      list_.SetChecked(row, false);
    } else {
      list_.SetChecked(row, IsCheckAllKind(list_.Icon(row)));
    }
  }
}

}  // namespace quorvella
