// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/FileUrl.h"

// A deterministic maker of music libraries for tests, the demo and the
// benchmark: the same options always give the same library, byte for byte.
//
// Besides the user playlists it always holds every special playlist a real
// library can have (the library playlist, Music, Movies, TV Shows, Podcasts,
// Audiobooks, iTunes U, Purchased Music, Party Shuffle, Genius, the built-in
// smart lists, and kinds the reader does not know), folders with nested
// playlists, smart lists, URL and Remote tracks, names with non-ASCII and
// reserved characters, several file types, and songs placed in, below,
// beside and away from the playlist folder <root>/Playlists.
namespace quorvella {

struct LibraryOptions {
  std::uint64_t Seed = 1;
  std::int32_t Tracks = 1000;
  // User playlists, folders included; the special playlists come on top.
  std::int32_t Playlists = 20;
  std::int32_t SongsPerPlaylist = 50;
  UrlForm Form = UrlForm::Posix;
  // The folder that holds Playlists/ and Music/, in the form's dialect.
  // Empty: D:\Music or /home/user/Music.
  std::string MusicRoot;
};

enum class TrackType { File, Url, Remote };

// Where a song file lies, seen from the playlist folder <root>/Playlists.
enum class SongPlace {
  None,                 // not a file (URL and Remote tracks)
  PlaylistFolder,       // <root>/Playlists/Artist - Title.mp3
  BelowPlaylistFolder,  // <root>/Playlists/Songs/Artist/Album/01 Title.mp3
  SiblingFolder,        // <root>/Music/Artist/Album/01 Title.mp3
  OtherVolume,          // E:\Music\... (Windows) or /media/backup/Music/... (POSIX)
  NetworkShare,         // \\nas\music\... (Windows form only)
};

struct GeneratedTrack {
  std::int32_t TrackId = 0;
  std::string Name;
  std::string Artist;
  std::string Album;
  std::string Kind;
  // Not written (the file stays near the size of real ones); they choose the
  // members of the special and built-in smart lists.
  std::string Genre;
  std::int32_t Year = 0;
  // The file's extension as its path spells it ("mp3", now and then "MP3");
  // empty for URL and Remote tracks.
  std::string Ext;
  std::int64_t Size = 0;
  std::int32_t TotalTimeMs = 0;  // 0: the key is left out
  std::int32_t TrackNumber = 0;
  std::int64_t DateAdded = 0;  // seconds since 1970, UTC
  std::string PersistentId;
  TrackType Type = TrackType::File;
  // Whether "Track Type" is written; older libraries leave it out of some
  // file tracks, whose file: Location alone says what they are.
  bool WritesTrackType = true;
  SongPlace Place = SongPlace::None;
  // The song file in the form's dialect (D:\Music\... or /home/...); empty
  // for URL and Remote tracks.
  std::string Path;
  // The "Location" value before XML escaping; empty when the key is left
  // out (Remote tracks).
  std::string Location;
};

struct GeneratedPlaylist {
  std::string Name;
  std::string Description;  // empty: the key is left out
  std::int32_t PlaylistId = 0;
  std::string PersistentId;
  std::string ParentPersistentId;  // the folder holding it; empty at the top
  bool Master = false;
  bool Folder = false;
  bool Visible = true;
  bool AllItems = false;
  bool Smart = false;              // has "Smart Info" and "Smart Criteria"
  std::int32_t DistinguishedKind = 0;  // 0: the key is left out
  // The key written as true besides the kind ("Music", "Podcasts",
  // "Purchased Music", ...); empty for none.
  std::string FlagKey;
  // How an empty playlist is written: without "Playlist Items" (as iTunes
  // does), or with an empty array.
  bool WritesEmptyItems = false;
  // Track IDs in playlist order. May repeat a track, and "Lost Items" names
  // tracks that are not in the library, as trimmed real files do.
  std::vector<std::int32_t> Items;
};

struct GeneratedLibrary {
  LibraryOptions Options;
  std::string MusicRoot;       // the root actually used, no trailing separator
  std::string PlaylistFolder;  // <root>/Playlists in the form's dialect
  std::string LibraryPersistentId;
  std::string ApplicationVersion;
  std::int64_t Date = 0;  // seconds since 1970, UTC
  std::vector<GeneratedTrack> Tracks;
  std::vector<GeneratedPlaylist> Playlists;

  // The track with this ID, or null for an ID the library does not hold.
  const GeneratedTrack* FindTrack(std::int32_t trackId) const;
  const GeneratedPlaylist* FindPlaylist(const std::string& name) const;
};

GeneratedLibrary GenerateLibrary(const LibraryOptions& options);

// Creates every song file that lies under the music root as an empty file,
// with the folders it needs; files elsewhere (another volume) are left out.
// POSIX form only. Returns the number of files created; on failure returns
// -1 and says why in `error`.
std::int64_t CreateSongFiles(const GeneratedLibrary& library, std::string& error);

}  // namespace quorvella
