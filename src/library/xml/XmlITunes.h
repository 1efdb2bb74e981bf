// SPDX-License-Identifier: MIT
#pragma once

#include <future>
#include <memory>
#include <string>

#include "library/ITunes.h"
#include "library/xml/PlaylistIds.h"
#include "library/xml/XmlLibrary.h"
#include "library/xml/XmlLibraryReader.h"

namespace quorvella {

// The application object over an iTunes XML library file. The file is read
// when the object is made, when it is first used, or meanwhile on a thread
// of its own from the object's making on; and read again whenever
// it changed on disk (size, modification time or identity) by the time the
// library source or a playlist by ID is asked for. Playlists keep their
// playlistID across such re-readings for the life of the object.
class XmlITunes final : public IiTunes {
 public:
  // When the file is read: now, at the first question (a window can then
  // show itself before a large library is read), or from now on beside the
  // caller, the first question waiting for it (a window can show itself
  // while it is read). A file that cannot be read is reported at the first
  // question in the two latter cases.
  enum class Reading { Now, OnFirstUse, InBackground };

  // Throws LibraryError when the file is to be read now and cannot be.
  // Every reading carries the track locations through `mappings`.
  explicit XmlITunes(std::string path, Reading reading = Reading::Now,
                     LocationMappings mappings = {});

  std::shared_ptr<IITSource> LibrarySource() override;
  std::shared_ptr<IITPlaylist> GetITObjectByID(std::int32_t sourceID, std::int32_t playlistID,
                                               std::int32_t trackID,
                                               std::int32_t databaseID) override;

  const std::string& Path() const { return path_; }
  // The reading now in use (without checking the file); none while the
  // first one is still under way.
  std::shared_ptr<const XmlLibrary> Library() const { return library_; }

 private:
  // Reads the file again when it changed. Throws LibraryError when it is gone
  // or cannot be read; the previous reading then stays in use.
  void Refresh();

  std::string path_;
  LocationMappings mappings_;
  PlaylistIds ids_;
  FileSignature signature_;
  std::shared_ptr<XmlLibrary> library_;
  // The reading under way; it alone uses the members above until it is
  // taken.
  std::future<std::shared_ptr<XmlLibrary>> reading_;
};

}  // namespace quorvella
