// SPDX-License-Identifier: MIT
#include "platform/AnsiTextFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <stdexcept>
#include <unistd.h>

#include "platform/posix/SpareFiles.h"

namespace quorvella {
namespace {

// The folder of path, with its last separator.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Numbers the hidden names of this process's new files.
unsigned g_partCounter = 0;

// Gives a new file a name of its own in the folder of path, by `make` (which
// fails with EEXIST when the name is taken). The name is hidden and not a
// playlist's, so a media server that looks meanwhile sees no half-written
// playlist. The name does not grow with the playlist's, which may already be
// as long as the file system allows. False, with errno set, when no name
// would do.
template <typename Make>
bool MakePartFile(const std::string& path, std::string& partPath, Make make) {
  const std::string folder = FolderOf(path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    partPath = folder + ".quorvella-" + std::to_string(::getpid()) + "-" +
               std::to_string(++g_partCounter) + ".part";
    if (make(partPath)) return true;
    if (errno != EEXIST) break;
  }
  partPath.clear();
  return false;
}

}  // namespace

void AnsiTextFile::Prepare(const std::string& folder, std::size_t count) {
  PrepareSpareFiles(folder, count);
}

std::unique_ptr<AnsiTextFile> AnsiTextFile::Create(const std::string& path, int codePage,
                                                   std::string& error) {
  // A folder of that name could not be replaced by the finished file; that is
  // known now, before anything is written.
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    error = std::strerror(EISDIR);
    return nullptr;
  }
  // An unnamed file gets its name at Close; where the folder takes none, the
  // file is made here under its name.
  std::string partPath;
  int fd = TakeSpareFile(FolderOf(path));
  if (fd < 0 && !MakePartFile(path, partPath, [&fd](const std::string& name) {
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd >= 0;
      })) {
    error = std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<AnsiTextFile>(
      new AnsiTextFile(fd, path, std::move(partPath), codePage));
}

void AnsiTextFile::Close() {
  if (fd_ < 0) return;
  Flush();
  // An unnamed file is named before it is closed, which would end it.
  if (partPath_.empty() &&
      !MakePartFile(path_, partPath_, [this](const std::string& name) {
        return NameSpareFile(fd_, name);
      })) {
    Fail(errno);
  }
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
  if (!partPath_.empty()) ::unlink(partPath_.c_str());
  throw std::runtime_error("Could not write " + path_ + ": " + std::strerror(error));
}

}  // namespace quorvella
