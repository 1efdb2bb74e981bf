// SPDX-License-Identifier: MIT
#include "library/xml/XmlLibrary.h"

#include <algorithm>

namespace quorvella {
namespace {

bool IsLocationName(std::string_view name) {
  constexpr std::string_view kLocation = "location";
  return std::equal(
      name.begin(), name.end(), kLocation.begin(), kLocation.end(),
      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + ('a' - 'A') : a) == b; });
}

// The tracks of one playlist, in the playlist's order.
class XmlTrackCollection final : public IITTrackCollection {
 public:
  XmlTrackCollection(std::shared_ptr<const XmlLibrary> library, const XmlPlaylist& playlist)
      : library_(std::move(library)), playlist_(playlist) {}

  std::int32_t Count() const override {
    return static_cast<std::int32_t>(playlist_.Items().size());
  }
  std::shared_ptr<IITTrack> Item(std::int32_t index) const override {
    const auto& items = playlist_.Items();
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
      throw LibraryError("The playlist \"" + playlist_.NameText() + "\" has no track at position " +
                         std::to_string(index) + ".");
    }
    return library_->TrackAt(items[static_cast<std::size_t>(index)]);
  }

 private:
  std::shared_ptr<const XmlLibrary> library_;
  const XmlPlaylist& playlist_;
};

}  // namespace

std::string XmlTrack::GetProperty(std::string_view name) const {
  if (!IsLocationName(name)) {
    throw LibraryError("A track of the iTunes library has no property \"" + std::string(name) +
                       "\".");
  }
  if (!HasLocation()) {
    throw LibraryError("The track \"" + Name() + "\" is not a file and has no location.");
  }
  return std::string(LocationView());
}

std::shared_ptr<IITTrackCollection> XmlPlaylist::Tracks() const {
  return std::make_shared<XmlTrackCollection>(library_->shared_from_this(), *this);
}

std::shared_ptr<IITPlaylistCollection> XmlLibrary::Playlists() const {
  // The library is its own playlist collection; the view shares ownership.
  return std::const_pointer_cast<XmlLibrary>(shared_from_this());
}

std::shared_ptr<IITPlaylist> XmlLibrary::Item(std::int32_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= playlists_.size()) {
    throw LibraryError("The iTunes library has no playlist at position " + std::to_string(index) +
                       ".");
  }
  auto self = std::const_pointer_cast<XmlLibrary>(shared_from_this());
  return {self, &self->playlists_[static_cast<std::size_t>(index)]};
}

std::shared_ptr<IITTrack> XmlLibrary::TrackAt(std::int32_t index) const {
  auto self = std::const_pointer_cast<XmlLibrary>(shared_from_this());
  return {self, &self->tracks_.at(static_cast<std::size_t>(index))};
}

void XmlLibrary::AddPlaylist(std::string name, std::int32_t playlistId, std::int32_t kind,
                             std::int32_t specialKind, bool smart,
                             std::vector<std::int32_t> items) {
  playlists_.emplace_back(*this, std::move(name), playlistId, kind, specialKind, smart,
                          std::move(items));
}

void XmlLibrary::IndexPlaylists() {
  byId_.clear();
  byId_.reserve(playlists_.size());
  for (std::size_t i = 0; i < playlists_.size(); ++i) {
    byId_.emplace_back(playlists_[i].playlistID(), static_cast<std::int32_t>(i));
  }
  std::sort(byId_.begin(), byId_.end());
}

std::shared_ptr<IITPlaylist> XmlLibrary::FindPlaylist(std::int32_t playlistId) const {
  const auto found =
      std::lower_bound(byId_.begin(), byId_.end(), std::make_pair(playlistId, std::int32_t{0}));
  if (found == byId_.end() || found->first != playlistId) return nullptr;
  return Item(found->second);
}

std::size_t XmlLibrary::MemoryBytes() const {
  std::size_t bytes =
      sizeof(*this) + texts_.AllocatedBytes() + tracks_.size() * sizeof(XmlTrack) +
      playlists_.capacity() * sizeof(XmlPlaylist) + byId_.capacity() * sizeof(byId_[0]);
  for (const XmlPlaylist& playlist : playlists_) {
    bytes += playlist.Items().capacity() * sizeof(std::int32_t) + playlist.NameText().capacity();
  }
  return bytes;
}

}  // namespace quorvella
