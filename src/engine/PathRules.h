// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "engine/FileSystem.h"

namespace quorvella {

class IITTrack;
class Settings;

// A path is read in the dialect its own form names: a text that begins with
// "/" is a POSIX path ("/" separators, letter case significant); anything
// else is a Windows path (backslash separators, a root of drive letter or
// server and share, letter case ignored, non-ASCII letters included).
enum class PathDialect { Windows, Posix };
PathDialect DialectOf(std::string_view path);
// The separator of the path's dialect.
char SeparatorOf(std::string_view path);

// The file name for a playlist name: the control characters 1 to 31 and
// " * / : < > ? \ | each become the replacement; everything else stays.
std::string SanitizeFileName(std::string_view name, std::string_view replacement);

// Leading and trailing spaces removed and one separator of the path's dialect
// at the end; the empty text stays empty.
std::string AddBackslash(std::string_view folder);

// The path of file relative to folder (".\" or "..\" forms, "./" or "../" in
// the POSIX dialect), or the empty text when there is none (another root or
// another dialect, or a result of 260 characters or more, which would not
// fit the path buffer of the Windows function this stands for). Runs of
// separators count as one.
std::string RelativePathTo(std::string_view folder, std::string_view file);

// How a song is sorted while a playlist is written.
enum class SongPathClass { Written, LikelyUnreachable, Unreachable, WrongFormat };

struct SortedSongPath {
  SongPathClass pathClass = SongPathClass::Unreachable;
  std::string path;  // what is written into the playlist (empty when nothing is)
};

// Sorts a song whose file type is published, from RelativePathTo's result:
// a leading ".\" (or "./") is dropped, a leading "..\" (or "../") is likely
// unreachable (written all the same), the empty text is unreachable.
SortedSongPath SortSongPath(std::string_view relativePath);

// The writer's playlist file path: the folder as stored, one separator of
// the folder's dialect, the sanitised name and ".m3u". A folder that already
// ends in a separator gives a doubled one, which names the same file.
std::string PlaylistFilePath(std::string_view folder, std::string_view sanitizedName);

// Whether the file that publishing this playlist name would write already
// lies in the configured playlist folder.
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
