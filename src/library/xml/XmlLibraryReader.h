// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "library/LocationMappings.h"
#include "library/xml/PlaylistIds.h"
#include "library/xml/XmlLibrary.h"

namespace quorvella {

// What tells one version of a file from the next without reading it.
struct FileSignature {
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  std::uint64_t inode = 0;
  friend bool operator==(const FileSignature&, const FileSignature&) = default;
};

// The signature of the file at the path now, or nullopt when there is none.
std::optional<FileSignature> SignatureOf(const std::string& path);

// Reads the library file that iTunes writes (an Apple XML property list) as a
// stream, keeping only what the library model needs. Playlists are numbered
// through `ids`, which is left untouched when reading fails. Throws
// LibraryError naming the file (and, for broken XML, the line and column)
// when the file cannot be read or is not an iTunes library. Defects inside
// an otherwise sound library are left out and the rest is read: a value of
// the wrong type or form under a key the model reads, an entry that is not
// a dictionary, a track or playlist item without a usable "Track ID"; each
// becomes a warning of the library (XmlLibrary::Warnings) with its line.
// Keys the model does not read, and items naming a track the file does not
// hold, are passed over without a word. `signature` receives the signature
// of the version that was read. Track locations pass through `mappings`,
// when given, as they are read. A large file is read by two threads at
// once, each parsing a half; what is read is the same.
std::shared_ptr<XmlLibrary> ReadXmlLibraryFile(const std::string& path, PlaylistIds& ids,
                                               FileSignature* signature = nullptr,
                                               const LocationMappings* mappings = nullptr);

// ReadXmlLibraryFile with two parsers whatever the file's size (a large file
// is read so, split in its middle), the second one's part beginning at the
// first place found from `from` on: for tests.
std::shared_ptr<XmlLibrary> ReadXmlLibraryFileSplit(const std::string& path, PlaylistIds& ids,
                                                    std::uint64_t from);

// The same for a library held in memory; `fileName` names it in messages.
std::shared_ptr<XmlLibrary> ReadXmlLibrary(std::string_view content, const std::string& fileName,
                                           PlaylistIds& ids,
                                           const LocationMappings* mappings = nullptr);

}  // namespace quorvella
