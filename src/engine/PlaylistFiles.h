// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "settings/PlaylistEncoding.h"

namespace quorvella {

class IITTrack;
class Settings;

// ".m3u" for playlists in the ANSI code page, ".m3u8" for UTF-8 ones: the
// extension tells a reader which encoding to expect.
std::string_view PlaylistFileExtension(PlaylistEncoding encoding);

// The path of a playlist's file, for the writer and the exists test alike:
// the folder trimmed, one separator of its dialect unless it already ends in
// one, the sanitised name and the encoding's extension.
std::string PlaylistFilePath(std::string_view folder, std::string_view sanitizedName,
                             PlaylistEncoding encoding = PlaylistEncoding::Ansi);

// Whether the file that publishing this playlist name would write already
// lies in the configured playlist folder, with the extension in use.
bool PlaylistFileExists(const Settings& settings, const FileSystem& files,
                        std::string_view playlistName);

// The track's file path from its "Location" property, trimmed; the empty text
// when it has none or the read fails in any way.
std::string GetTrackLocation(const IITTrack& track);

// Moves a file to the trash. 1 when done or when there was nothing to move,
// 2 when the operation was aborted, 3 when it failed. Only the existence test
// is guarded; a failure of the move itself reaches the caller.
int RecycleFile(FileSystem& files, const std::string& path, bool confirm);

}  // namespace quorvella
