// SPDX-License-Identifier: MIT
#include "engine/PlaylistFiles.h"

#include "library/ITunes.h"
#include "platform/PathRules.h"
#include "platform/Text.h"
#include "settings/Settings.h"

namespace quorvella {

std::string_view PlaylistFileExtension(PlaylistEncoding encoding) {
  return encoding == PlaylistEncoding::Utf8 ? ".m3u8" : ".m3u";
}

std::string PlaylistFilePath(std::string_view folder, std::string_view sanitizedName,
                             PlaylistEncoding encoding) {
  // A folder that already ends in a separator (a root such as "D:\" or "/")
  // gets no second one; a doubled separator would name the same file anyway.
  std::string path = AddBackslash(folder);
  path += sanitizedName;
  path += PlaylistFileExtension(encoding);
  return path;
}

bool PlaylistFileExists(const Settings& settings, const FileSystem& files,
                        std::string_view playlistName) {
  return files.PathExists(PlaylistFilePath(settings.GetPlaylistFolder(),
                                           SanitizeFileName(playlistName, "_"),
                                           settings.GetPlaylistEncoding()));
}

std::string GetTrackLocation(const IITTrack& track) {
  try {
    // Trimmed in place: one copy of the location per song, not two.
    std::string location = track.GetProperty("Location");
    TrimSpacesInPlace(location);
    return location;
  } catch (...) {
    return {};
  }
}

int RecycleFile(FileSystem& files, const std::string& path, bool confirm) {
  // The desktop trash asks the user nothing, so there is no question for
  // `confirm` to allow or skip, and no way for the user to abort the move.
  (void)confirm;
  bool exists = false;
  try {
    exists = files.PathExists(path);
  } catch (...) {
    exists = false;
  }
  if (!exists) return 1;
  switch (files.MoveToTrash(path)) {
    case TrashResult::Moved:
      return 1;
    case TrashResult::Aborted:
      return 2;
    case TrashResult::Failed:
      break;
  }
  return 3;
}

}  // namespace quorvella
