// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

// How playlist files are written: in the ANSI code page as .m3u files (the
// default), or as UTF-8 .m3u8 files, which pyTivo reads with every name intact.
namespace quorvella {

enum class PlaylistEncoding { Ansi, Utf8 };

// Kept in a key of its own below the program's key, so that the four options
// stay as they are.
inline constexpr std::string_view PlaylistsKey = "Software\\Brenlow Software\\Quorvella\\Playlists";
inline constexpr std::string_view PlaylistEncodingValueName = "Encoding";

// "ansi" or "utf-8", as stored and as the command line takes it.
std::string_view PlaylistEncodingName(PlaylistEncoding encoding);
// Either name in any letter case, with spaces around, "utf8" too; nullopt
// for anything else.
std::optional<PlaylistEncoding> ParsePlaylistEncoding(std::string_view text);

}  // namespace quorvella
