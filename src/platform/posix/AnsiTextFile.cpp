// SPDX-License-Identifier: MIT
#include "platform/AnsiTextFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <stdexcept>
#include <unistd.h>


namespace quorvella {
namespace {

// Opens a new file with a name of its own in the folder of path. The name is
// hidden and not a playlist's, so a media server that looks meanwhile sees
// no half-written playlist. The name does not grow with the playlist's,
// which may already be as long as the file system allows.
int OpenPartFile(const std::string& path, std::string& partPath) {
  static unsigned counter = 0;
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    partPath = folder + ".quorvella-" + std::to_string(::getpid()) + "-" +
               std::to_string(++counter) + ".part";
    const int fd = ::open(partPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::unique_ptr<AnsiTextFile> AnsiTextFile::Create(const std::string& path, int codePage,
                                                   std::string& error) {
  // A folder of that name could not be replaced by the finished file; that is
  // known now, before anything is written.
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    error = std::strerror(EISDIR);
    return nullptr;
  }
  std::string partPath;
  const int fd = OpenPartFile(path, partPath);
  if (fd < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<AnsiTextFile>(
      new AnsiTextFile(fd, path, std::move(partPath), codePage));
}

void AnsiTextFile::Close() {
  if (fd_ < 0) return;
  Flush();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) Fail(errno);
  if (::rename(partPath_.c_str(), path_.c_str()) != 0) Fail(errno);
}

void AnsiTextFile::Flush() {
  std::size_t written = 0;
  while (written < buffer_.size()) {
    const ssize_t result = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
    if (result < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    written += static_cast<std::size_t>(result);
  }
  buffer_.clear();
}

void AnsiTextFile::Fail(int error) {
  // The file is no use after a failed write: close it so that every later
  // call fails too, and remove it, so that no file with a hole in it or a
  // missing end is left.
  buffer_.clear();
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  ::unlink(partPath_.c_str());
  throw std::runtime_error("Could not write " + path_ + ": " + std::strerror(error));
}

}  // namespace quorvella
