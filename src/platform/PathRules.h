// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace quorvella {

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
// fit the path buffer of the Windows function this stands for). In the
// Windows dialect two backslashes in a row hold an empty component, which
// counts like any other, as that function counts it; in the POSIX dialect a
// run of "/" counts as one, as the system reads it.
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

}  // namespace quorvella
