// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "library/ITunes.h"
#include "library/xml/TextArena.h"

namespace quorvella {

class XmlLibrary;

// A place where the library file is malformed, and what became of what it
// holds there: '"Track ID" is <string>, not <integer>; ignored'.
struct LibraryWarning {
  std::uint64_t line = 0;  // 1-based
  std::string text;

  friend bool operator==(const LibraryWarning&, const LibraryWarning&) = default;
};

// The source ID of the one library source an XML library has.
inline constexpr std::int32_t XmlLibrarySourceId = 1;

// A track of the library file. Kept small: a library holds a hundred
// thousand of them, and their texts live in the library's arena.
class XmlTrack final : public IITTrack {
 public:
  XmlTrack(std::string_view name, std::int32_t duration) noexcept
      : name_(name.data()),
        nameLength_(static_cast<std::uint32_t>(name.size())),
        duration_(duration) {}

  void SetLocation(std::string_view path) noexcept {
    location_ = path.data() != nullptr ? path.data() : "";
    locationLength_ = static_cast<std::uint32_t>(path.size());
  }

  std::string Name() const override { return std::string(NameView()); }
  std::int32_t Duration() const override { return duration_; }
  // "Location" (in any letter case) is the only property; a track that is
  // not a file has none.
  std::string GetProperty(std::string_view name) const override;

  std::string_view NameView() const { return {name_, nameLength_}; }
  bool HasLocation() const { return location_ != nullptr; }
  std::string_view LocationView() const { return {location_, locationLength_}; }

 private:
  const char* name_;
  const char* location_ = nullptr;
  std::uint32_t nameLength_;
  std::uint32_t locationLength_ = 0;
  std::int32_t duration_;
};

// A playlist of the library file, with its tracks as positions in the
// library's track list.
class XmlPlaylist final : public IITPlaylist, public IITUserPlaylist {
 public:
  XmlPlaylist(XmlLibrary& library, std::string name, std::int32_t playlistId, std::int32_t kind,
              std::int32_t specialKind, bool smart, std::vector<std::int32_t> items)
      : library_(&library),
        name_(std::move(name)),
        items_(std::move(items)),
        playlistId_(playlistId),
        kind_(kind),
        specialKind_(specialKind),
        smart_(smart) {}

  std::int32_t Kind() const override { return kind_; }
  const IITUserPlaylist* QueryUserPlaylist() const override {
    return kind_ == ITPlaylistKindUser ? this : nullptr;
  }
  std::string Name() const override { return name_; }
  std::int32_t playlistID() const override { return playlistId_; }
  std::int32_t sourceID() const override { return XmlLibrarySourceId; }
  std::shared_ptr<IITTrackCollection> Tracks() const override;

  std::int32_t SpecialKind() const override { return specialKind_; }
  bool Smart() const override { return smart_; }

  const std::string& NameText() const { return name_; }
  const std::vector<std::int32_t>& Items() const { return items_; }

 private:
  XmlLibrary* library_;
  std::string name_;
  std::vector<std::int32_t> items_;
  std::int32_t playlistId_;
  std::int32_t kind_;
  std::int32_t specialKind_;
  bool smart_;
};

// One reading of the library file: its tracks and playlists, and the library
// source that enumerates them. Everything handed out shares ownership of the
// whole, so it stays valid after a newer reading replaced this one.
class XmlLibrary final : public IITSource,
                         public IITPlaylistCollection,
                         public std::enable_shared_from_this<XmlLibrary> {
 public:
  explicit XmlLibrary(std::string fileName) : fileName_(std::move(fileName)) {}
  XmlLibrary(const XmlLibrary&) = delete;
  XmlLibrary& operator=(const XmlLibrary&) = delete;

  std::shared_ptr<IITPlaylistCollection> Playlists() const override;
  std::int32_t Count() const override { return static_cast<std::int32_t>(playlists_.size()); }
  std::shared_ptr<IITPlaylist> Item(std::int32_t index) const override;

  // The playlist with this playlistID, or null.
  std::shared_ptr<IITPlaylist> FindPlaylist(std::int32_t playlistId) const;
  std::shared_ptr<IITTrack> TrackAt(std::int32_t index) const;

  const std::string& FileName() const { return fileName_; }
  // The library's "Music Folder" as a path in its own form (before any
  // mapping); empty when the file names none.
  const std::string& MusicFolder() const { return musicFolder_; }
  const std::deque<XmlTrack>& TrackList() const { return tracks_; }
  const std::vector<XmlPlaylist>& PlaylistList() const { return playlists_; }

  // Filling, by the reader.
  TextArena& Texts() { return texts_; }
  void SetMusicFolder(std::string folder) { musicFolder_ = std::move(folder); }
  std::deque<XmlTrack>& MutableTracks() { return tracks_; }
  void AddPlaylist(std::string name, std::int32_t playlistId, std::int32_t kind,
                   std::int32_t specialKind, bool smart, std::vector<std::int32_t> items);
  // Makes FindPlaylist work; called once when every playlist is in.
  void IndexPlaylists();

  // Where the file is malformed: the first warnings in file order, and how
  // many there were in all (more than are kept when the file is very bad).
  // None for a sound file.
  const std::vector<LibraryWarning>& Warnings() const { return warnings_; }
  std::size_t WarningCount() const { return warningCount_; }
  void SetWarnings(std::vector<LibraryWarning> first, std::size_t count) {
    warnings_ = std::move(first);
    warningCount_ = count;
  }

  // Memory held, roughly; for the benchmark.
  std::size_t MemoryBytes() const;

 private:
  std::string fileName_;
  std::string musicFolder_;
  TextArena texts_;
  // In blocks: a growing vector would hold the old and the new copy at once
  // (one and a half times the tracks) at its last growth, the peak of a load.
  std::deque<XmlTrack> tracks_;
  std::vector<XmlPlaylist> playlists_;
  std::vector<std::pair<std::int32_t, std::int32_t>> byId_;  // playlistID, position
  std::vector<LibraryWarning> warnings_;
  std::size_t warningCount_ = 0;
};

}  // namespace quorvella
