// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "library/ITunes.h"
#include "engine/PlaylistListView.h"

namespace quorvella {

class Settings;

// The kind code of a playlist: 1 purchased music, 2 party shuffle, 3 the
// library, 4 a folder, 5 videos, 6 a normal list, 7 a smart list, 8 podcasts,
// 0 anything else.
PlaylistKindCode KindCodeOf(const IITPlaylist& playlist);
bool IsListedKind(PlaylistKindCode code);
// The kinds that "Check All" checks.
bool IsCheckAllKind(PlaylistKindCode code);

// The checklist of the library's playlists: rebuilt from the library on a
// refresh; a row is checked when its playlist file already exists.
class PlaylistCatalogue {
 public:
  PlaylistCatalogue(PlaylistListView& list, const Settings& settings, const FileSystem& files,
                    EventPump& pump)
      : list_(list), settings_(settings), files_(files), pump_(pump) {}

  // Rebuilds the rows, letting the window handle its input after each
  // playlist. Returns the library source of the last listed playlist, or
  // nothing when none was listed. A failure of the library (a LibraryError)
  // is passed on and leaves the rows listed so far.
  std::optional<std::int32_t> Refresh(IiTunes& iTunes);

  // Unchecks every row, or checks exactly the rows of a kind Check All takes,
  // leaving any "all rated songs" list unchecked.
  void SetAllChecks(bool check);

 private:
  PlaylistListView& list_;
  const Settings& settings_;
  const FileSystem& files_;
  EventPump& pump_;
};

}  // namespace quorvella
