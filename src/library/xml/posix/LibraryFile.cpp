// SPDX-License-Identifier: MIT
#include "library/xml/LibraryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "library/ITunes.h"

namespace quorvella {
namespace {

FileSignature SignatureFrom(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_size),
          static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
          static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

std::optional<FileSignature> SignatureOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return SignatureFrom(info);
}

LibraryFile::LibraryFile(const std::string& path) : path_(path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    throw LibraryError("The iTunes library file \"" + path +
                       "\" cannot be opened: " + std::strerror(errno) + ".");
  }
  handle_ = fd;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    throw LibraryError("The iTunes library \"" + path + "\" is not a file.");
  }
  signature_ = SignatureFrom(info);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

LibraryFile::~LibraryFile() { ::close(static_cast<int>(handle_)); }

std::size_t LibraryFile::Read(void* buffer, std::size_t size) {
  ssize_t got;
  do {
    got = ::read(static_cast<int>(handle_), buffer, size);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    throw LibraryError("The iTunes library file \"" + path_ +
                       "\" cannot be read: " + std::strerror(errno) + ".");
  }
  return static_cast<std::size_t>(got);
}

std::size_t LibraryFile::ReadAt(std::uint64_t offset, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got =
        ::pread(static_cast<int>(handle_), buffer, size, static_cast<off_t>(offset));
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return 0;
  }
}

}  // namespace quorvella
