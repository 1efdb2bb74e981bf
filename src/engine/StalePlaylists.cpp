// SPDX-License-Identifier: MIT
#include "engine/StalePlaylists.h"

#include <chrono>
#include <filesystem>
#include <set>
#include <system_error>

#include "engine/PlaylistFiles.h"
#include "platform/NativePath.h"
#include "platform/PathRules.h"

namespace quorvella {

std::optional<FileStamp> StampOf(const std::string& path) {
  std::error_code error;
  const std::filesystem::path file = NativePath(path);
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  const auto size = std::filesystem::file_size(file, error);
  if (error) return std::nullopt;
  const auto time = std::filesystem::last_write_time(file, error);
  if (error) return std::nullopt;
  return FileStamp{
      size,
      std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count()};
}

std::map<std::int32_t, std::string> CurrentPlaylistFileNames(IiTunes& library,
                                                             PlaylistEncoding encoding) {
  std::map<std::int32_t, std::string> names;
  const auto source = library.LibrarySource();
  if (!source) return names;
  const auto playlists = source->Playlists();
  const std::int32_t count = playlists ? playlists->Count() : 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const auto playlist = playlists->Item(i);
    if (!playlist) continue;
    names[playlist->playlistID()] =
        SanitizeFileName(playlist->Name(), "_") + std::string(PlaylistFileExtension(encoding));
  }
  return names;
}

std::string PublishedFilePath(const std::string& folder, const std::string& name) {
  return Utf8Path(NativePath(folder) / NativePath(name));
}

std::vector<StalePlaylist> FindStalePlaylists(
    const std::string& folder, const std::vector<PublishedFile>& record,
    const std::map<std::int32_t, std::string>& currentNames) {
  std::set<std::string> taken;
  for (const auto& [id, name] : currentNames) taken.insert(name);
  std::vector<StalePlaylist> stale;
  for (const PublishedFile& file : record) {
    // A name another playlist now writes is that playlist's file.
    if (taken.count(file.name) != 0) continue;
    StalePlaylist entry{file, PublishedFilePath(folder, file.name)};
    const auto stamp = StampOf(entry.path);
    if (!stamp) {
      entry.state = StalePlaylist::State::Gone;
    } else if (*stamp != FileStamp{file.size, file.mtimeNs}) {
      entry.state = StalePlaylist::State::ChangedSince;
    }
    stale.push_back(std::move(entry));
  }
  return stale;
}

void NotePlaylistFile(std::vector<PublishedFile>& record, std::int32_t playlistId,
                      const std::string& path, PlaylistFileOutcome outcome) {
  const std::string name = Utf8Path(NativePath(path).filename());
  switch (outcome) {
    case PlaylistFileOutcome::Written:
    case PlaylistFileOutcome::Unchanged:
      ForgetPublishedFile(record, name);
      if (const auto stamp = StampOf(path)) {
        record.push_back({name, playlistId, stamp->size, stamp->mtimeNs});
      }
      break;
    case PlaylistFileOutcome::Deleted:
      ForgetPublishedFile(record, name);
      break;
    case PlaylistFileOutcome::Failed:
      break;
  }
}

StaleRemoval RemoveStalePlaylist(FileSystem& files, const StalePlaylist& stale,
                                 std::vector<PublishedFile>& record) {
  const auto stamp = StampOf(stale.path);
  StaleRemoval outcome = StaleRemoval::Moved;
  if (!stamp) {
    outcome = StaleRemoval::Gone;
  } else if (*stamp != FileStamp{stale.record.size, stale.record.mtimeNs}) {
    outcome = StaleRemoval::ChangedSince;
  } else if (files.MoveToTrash(stale.path) != TrashResult::Moved) {
    return StaleRemoval::NotMoved;
  }
  ForgetPublishedFile(record, stale.record.name);
  return outcome;
}

}  // namespace quorvella
