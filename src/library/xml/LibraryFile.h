// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "library/xml/XmlLibraryReader.h"

// The library file open for reading, which is what differs between systems:
// how it is opened, read in order and at an offset, and what tells one of
// its versions from the next. One file per system: posix/, windows/.
namespace quorvella {

class LibraryFile {
 public:
  // Throws LibraryError when the path cannot be opened or is not a file.
  explicit LibraryFile(const std::string& path);
  ~LibraryFile();
  LibraryFile(const LibraryFile&) = delete;
  LibraryFile& operator=(const LibraryFile&) = delete;

  // The next bytes in order, 0 at the end; throws LibraryError when the
  // system cannot read them.
  std::size_t Read(void* buffer, std::size_t size);
  // Bytes from `offset`, for a second look; 0 at the end or on an error.
  std::size_t ReadAt(std::uint64_t offset, char* buffer, std::size_t size);
  // The signature of the version that was opened.
  FileSignature Signature() const { return signature_; }

 private:
  std::string path_;
  std::intptr_t handle_ = -1;  // a descriptor on POSIX, a HANDLE on Windows
  FileSignature signature_;
};

}  // namespace quorvella
