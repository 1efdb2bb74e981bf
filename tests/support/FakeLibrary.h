// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/ITunes.h"

// A music library held in memory, for tests of the code above the library
// model. Playlists and tracks are plain records that a test fills in; any
// operation can be told to fail.
namespace quorvella::test {

struct FakeTrack final : IITTrack {
  std::string name;
  std::int32_t duration = 0;
  std::optional<std::string> location;  // no "Location" property when empty
  bool failName = false;
  // Run when the location is read: a test can let time pass there, as a
  // real library takes its time.
  std::function<void()> whenRead;

  std::string Name() const override {
    if (failName) throw LibraryError("The track's name could not be read.");
    return name;
  }
  std::int32_t Duration() const override { return duration; }
  std::string GetProperty(std::string_view property) const override {
    if (whenRead) whenRead();
    if (property == "Location" && location) return *location;
    throw LibraryError("The track has no property " + std::string(property) + ".");
  }
};

struct FakeTracks final : IITTrackCollection {
  std::vector<std::shared_ptr<FakeTrack>> tracks;
  std::int32_t Count() const override { return static_cast<std::int32_t>(tracks.size()); }
  std::shared_ptr<IITTrack> Item(std::int32_t index) const override {
    return tracks.at(static_cast<std::size_t>(index));
  }
};

struct FakePlaylist final : IITPlaylist, IITUserPlaylist {
  std::string name;
  std::int32_t kind = ITPlaylistKindUser;
  std::int32_t specialKind = ITUserPlaylistSpecialKindNone;
  bool smart = false;
  std::int32_t id = 0;
  std::int32_t source = 1;
  std::shared_ptr<FakeTracks> tracks = std::make_shared<FakeTracks>();

  std::int32_t Kind() const override { return kind; }
  const IITUserPlaylist* QueryUserPlaylist() const override {
    return kind == ITPlaylistKindUser ? this : nullptr;
  }
  std::int32_t SpecialKind() const override { return specialKind; }
  bool Smart() const override { return smart; }
  std::string Name() const override { return name; }
  std::int32_t playlistID() const override { return id; }
  std::int32_t sourceID() const override { return source; }
  std::shared_ptr<IITTrackCollection> Tracks() const override { return tracks; }

  FakePlaylist& Add(std::shared_ptr<FakeTrack> track) {
    tracks->tracks.push_back(std::move(track));
    return *this;
  }
};

struct FakePlaylists final : IITPlaylistCollection {
  std::vector<std::shared_ptr<FakePlaylist>> playlists;
  std::int32_t Count() const override { return static_cast<std::int32_t>(playlists.size()); }
  std::shared_ptr<IITPlaylist> Item(std::int32_t index) const override {
    return playlists.at(static_cast<std::size_t>(index));
  }
};

struct FakeSource final : IITSource {
  std::shared_ptr<FakePlaylists> playlists = std::make_shared<FakePlaylists>();
  std::shared_ptr<IITPlaylistCollection> Playlists() const override { return playlists; }
};

struct FakeITunes final : IiTunes {
  std::shared_ptr<FakeSource> source = std::make_shared<FakeSource>();
  bool failSource = false;
  int sourceReads = 0;  // how often the list of playlists was read

  std::shared_ptr<IITSource> LibrarySource() override {
    ++sourceReads;
    if (failSource) throw LibraryError("The library file could not be read.");
    return source;
  }
  std::shared_ptr<IITPlaylist> GetITObjectByID(std::int32_t sourceID, std::int32_t playlistID,
                                               std::int32_t, std::int32_t) override {
    for (const auto& p : source->playlists->playlists) {
      if (p->source == sourceID && p->id == playlistID) return p;
    }
    return nullptr;
  }

  FakePlaylist& AddPlaylist(std::string name, std::int32_t kind = ITPlaylistKindUser,
                            std::int32_t specialKind = ITUserPlaylistSpecialKindNone,
                            bool smart = false) {
    auto p = std::make_shared<FakePlaylist>();
    p->name = std::move(name);
    p->kind = kind;
    p->specialKind = specialKind;
    p->smart = smart;
    p->id = 100 + static_cast<std::int32_t>(source->playlists->playlists.size());
    source->playlists->playlists.push_back(p);
    return *p;
  }
  void RemovePlaylist(std::int32_t id) {
    auto& v = source->playlists->playlists;
    std::erase_if(v, [&](const auto& p) { return p->id == id; });
  }
};

inline std::shared_ptr<FakeTrack> Track(std::string name, std::optional<std::string> location,
                                        std::int32_t duration = 180) {
  auto t = std::make_shared<FakeTrack>();
  t->name = std::move(name);
  t->location = std::move(location);
  t->duration = duration;
  return t;
}

}  // namespace quorvella::test
