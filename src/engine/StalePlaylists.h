// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/ClsPlaylistWriter.h"
#include "library/ITunes.h"
#include "platform/FileSystem.h"
#include "settings/PlaylistEncoding.h"
#include "settings/PublishedFiles.h"

namespace quorvella {

// A file's size and modification time, as the record keeps them.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t mtimeNs = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// Null when there is no regular file at the path.
std::optional<FileStamp> StampOf(const std::string& path);

// The file name each playlist of the library writes now, by playlist ID.
std::map<std::int32_t, std::string> CurrentPlaylistFileNames(IiTunes& library,
                                                             PlaylistEncoding encoding);

// A recorded file whose playlist is gone from the library or now writes
// under another name.
struct StalePlaylist {
  enum class State {
    Removable,     // as the program left it: may go to the trash
    Gone,          // no longer in the folder
    ChangedSince,  // changed by someone else since: left alone
  };
  PublishedFile record;
  std::string path;
  State state = State::Removable;
};

std::vector<StalePlaylist> FindStalePlaylists(
    const std::string& folder, const std::vector<PublishedFile>& record,
    const std::map<std::int32_t, std::string>& currentNames);

// Brings a record up to date with what a run did with one playlist's file: a
// file written or left as it was is the playlist's now, as it is now; a
// deleted one is no longer there.
void NotePlaylistFile(std::vector<PublishedFile>& record, std::int32_t playlistId,
                      const std::string& path, PlaylistFileOutcome outcome);

// What became of a stale file that was to go to the trash.
enum class StaleRemoval {
  Moved,         // in the trash
  NotMoved,      // the trash refused it: kept in the record, to be tried again
  Gone,          // no longer in the folder
  ChangedSince,  // changed by someone else since it was written: left in place
};

// Moves a stale file to the trash if it is still as the program left it (it
// is looked at again, as it may have changed since it was found), and drops
// it from the record unless the move failed.
StaleRemoval RemoveStalePlaylist(FileSystem& files, const StalePlaylist& stale,
                                 std::vector<PublishedFile>& record);

// The path of a recorded file in the folder.
std::string PublishedFilePath(const std::string& folder, const std::string& name);

}  // namespace quorvella
