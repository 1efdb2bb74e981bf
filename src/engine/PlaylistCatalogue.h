// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>

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

  // Rebuilds the rows. fBusy is true while it runs, and setWaitCursor is
  // called with true at the start and false at the end, also when a failure
  // of the library (a LibraryError, passed on) ends the refresh early.
  void Refresh(IiTunes& iTunes, bool& fBusy, std::int32_t& fSourceId,
               const std::function<void(bool)>& setWaitCursor = {});

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
