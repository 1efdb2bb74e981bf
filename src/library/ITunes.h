// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

// The music library as the program sees it: exactly the objects and
// operations of the iTunes automation interface that the program uses. A
// backend (the XML library file, or iTunes itself on Windows) implements them.
// Objects are shared: one handed out stays valid for as long as it is held,
// even after the library behind it was reloaded.
namespace quorvella {

// Thrown by every operation below that fails, except the by-name property
// read of a track, which callers treat as a lookup that may fail. The message
// says what failed in words a user can act on.
class LibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Playlist kinds (IITPlaylist::Kind).
inline constexpr std::int32_t ITPlaylistKindLibrary = 1;
inline constexpr std::int32_t ITPlaylistKindUser = 2;

// Special kinds of user playlists (IITUserPlaylist::SpecialKind).
inline constexpr std::int32_t ITUserPlaylistSpecialKindNone = 0;
inline constexpr std::int32_t ITUserPlaylistSpecialKindPurchasedMusic = 1;
inline constexpr std::int32_t ITUserPlaylistSpecialKindPartyShuffle = 2;
inline constexpr std::int32_t ITUserPlaylistSpecialKindPodcasts = 3;
inline constexpr std::int32_t ITUserPlaylistSpecialKindFolder = 4;
inline constexpr std::int32_t ITUserPlaylistSpecialKindVideos = 5;

class IITTrack {
 public:
  virtual ~IITTrack() = default;
  virtual std::string Name() const = 0;
  // Length in whole seconds.
  virtual std::int32_t Duration() const = 0;
  // A property looked up by its name at run time ("Location" is the one the
  // program reads). Throws LibraryError when the track has no such property.
  virtual std::string GetProperty(std::string_view name) const = 0;
};

class IITTrackCollection {
 public:
  virtual ~IITTrackCollection() = default;
  virtual std::int32_t Count() const = 0;
  // The track at a 0-based position, in the playlist's own order.
  virtual std::shared_ptr<IITTrack> Item(std::int32_t index) const = 0;
};

// What a user playlist adds (the program asks for it only when Kind is 2).
class IITUserPlaylist {
 public:
  virtual ~IITUserPlaylist() = default;
  virtual std::int32_t SpecialKind() const = 0;
  virtual bool Smart() const = 0;
};

class IITPlaylist {
 public:
  virtual ~IITPlaylist() = default;
  virtual std::int32_t Kind() const = 0;
  // The user-playlist view of this playlist, or null when it is not one.
  virtual const IITUserPlaylist* QueryUserPlaylist() const = 0;
  virtual std::string Name() const = 0;
  virtual std::int32_t playlistID() const = 0;
  virtual std::int32_t sourceID() const = 0;
  virtual std::shared_ptr<IITTrackCollection> Tracks() const = 0;
};

class IITPlaylistCollection {
 public:
  virtual ~IITPlaylistCollection() = default;
  virtual std::int32_t Count() const = 0;
  // The playlist at a 0-based position, in the order the library gives them.
  virtual std::shared_ptr<IITPlaylist> Item(std::int32_t index) const = 0;
};

class IITSource {
 public:
  virtual ~IITSource() = default;
  virtual std::shared_ptr<IITPlaylistCollection> Playlists() const = 0;
};

// The application object.
class IiTunes {
 public:
  virtual ~IiTunes() = default;
  virtual std::shared_ptr<IITSource> LibrarySource() = 0;
  // The playlist with these IDs (track and database ID 0), or null when the
  // library no longer has it.
  virtual std::shared_ptr<IITPlaylist> GetITObjectByID(std::int32_t sourceID,
                                                       std::int32_t playlistID,
                                                       std::int32_t trackID,
                                                       std::int32_t databaseID) = 0;
};

}  // namespace quorvella
