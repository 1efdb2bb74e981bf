// SPDX-License-Identifier: MIT
#include "library/xml/XmlITunes.h"

#include <utility>

namespace quorvella {

XmlITunes::XmlITunes(std::string path, Reading reading, LocationMappings mappings)
    : path_(std::move(path)), mappings_(std::move(mappings)) {
  if (reading == Reading::Now) library_ = ReadXmlLibraryFile(path_, ids_, &signature_, &mappings_);
  if (reading == Reading::InBackground) {
    reading_ = std::async(std::launch::async,
                          [this] { return ReadXmlLibraryFile(path_, ids_, &signature_, &mappings_); });
  }
}

void XmlITunes::Refresh() {
  if (reading_.valid()) {
    // Taken once, whatever it ends with: after a failure the file is read
    // again at the next question.
    auto reading = std::move(reading_);
    library_ = reading.get();
    return;
  }
  if (!library_) {
    library_ = ReadXmlLibraryFile(path_, ids_, &signature_, &mappings_);
    return;
  }
  const std::optional<FileSignature> now = SignatureOf(path_);
  if (!now) {
    throw LibraryError("The iTunes library file \"" + path_ + "\" is no longer there.");
  }
  if (*now == signature_) return;
  FileSignature read;
  library_ = ReadXmlLibraryFile(path_, ids_, &read, &mappings_);
  signature_ = read;
}

std::shared_ptr<IITSource> XmlITunes::LibrarySource() {
  Refresh();
  return library_;
}

std::shared_ptr<IITPlaylist> XmlITunes::GetITObjectByID(std::int32_t sourceID,
                                                        std::int32_t playlistID,
                                                        std::int32_t trackID,
                                                        std::int32_t databaseID) {
  Refresh();
  // Only playlists of the one source are asked for by ID.
  if (sourceID != XmlLibrarySourceId || trackID != 0 || databaseID != 0) return nullptr;
  return library_->FindPlaylist(playlistID);
}

}  // namespace quorvella
