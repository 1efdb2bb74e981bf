// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/CodePageRoundTrip.h"
#include "settings/PlaylistEncoding.h"

namespace quorvella {

// A pyTivo music share: its section name and the folder it publishes.
struct MusicShare {
  std::string name;
  std::string path;
  friend bool operator==(const MusicShare&, const MusicShare&) = default;
};

// The pyTivo music share that holds a folder, if one does.
using MusicShareLookup = std::function<std::optional<MusicShare>(const std::string& folder)>;

// pyTivo reads .m3u playlists in Windows-1252, whatever the computer's own
// code page is.
inline constexpr int kPyTivoM3uCodePage = 1252;

// Songs written into a playlist that the server will still not play. Kept
// apart from PublishStats, whose counters the report reads as they are.
struct ServerReachStats {
  // The song's path, joined to the playlist folder and normalised, lies
  // outside the pyTivo share that holds the playlist folder.
  std::int32_t SongsOutsideShare = 0;
  // The song's path does not come back intact from an .m3u playlist.
  std::int32_t SongsNotInCodePage = 0;

  friend bool operator==(const ServerReachStats&, const ServerReachStats&) = default;
};

// Judges each written song the way the server reads the playlist: pyTivo
// joins an entry to the playlist's folder, normalises it ("/" only, ".."
// taken away lexically) and plays it only inside the share; an .m3u file is
// read back in a code page that may not hold every character.
class ServerReach {
 public:
  // fileCodePage is the code page .m3u files are written in; the server reads
  // them in that code page too, except pyTivo, which reads Windows-1252.
  ServerReach(std::string playlistFolder, std::optional<MusicShare> share,
              PlaylistEncoding encoding, int fileCodePage);
  ~ServerReach();
  ServerReach(const ServerReach&) = delete;
  ServerReach& operator=(const ServerReach&) = delete;

  // Counts one written song by the path line written for it.
  void CountWrittenSong(std::string_view pathLine, ServerReachStats& stats);

  // Whether the entry resolves inside the share; true when there is no share.
  bool InShare(std::string_view pathLine) const;
  // Whether the entry comes back from the playlist file as it was written.
  bool NameSurvives(std::string_view pathLine);

  const std::optional<MusicShare>& Share() const { return share_; }
  PlaylistEncoding Encoding() const { return encoding_; }
  // The code page the server reads .m3u playlists in.
  int ReadCodePage() const { return readCodePage_; }

 private:
  std::string playlistFolder_;
  std::optional<MusicShare> share_;
  std::string shareRoot_;  // the share's path, normalised, without a trailing "/"
  PlaylistEncoding encoding_;
  int readCodePage_;
  std::unique_ptr<CodePageRoundTrip> roundTrip_;  // null for UTF-8 playlists
};

// A path joined and normalised as pyTivo does it: POSIX paths only, "." and
// ".." taken away lexically (".." at the root stays at the root), no trailing
// "/" except for the root itself.
std::string NormalizeJoinedPath(std::string_view folder, std::string_view entry);

// Whether path is root or lies below it, both already normalised.
bool IsInsideFolder(std::string_view path, std::string_view root);

}  // namespace quorvella
