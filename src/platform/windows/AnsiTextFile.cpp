// SPDX-License-Identifier: MIT
#include "platform/AnsiTextFile.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "platform/windows/WideText.h"

namespace quorvella {
namespace {

// Opens a new file with a name of its own in the folder of path. The name is
// not a playlist's, so a media server that looks meanwhile sees no
// half-written playlist, and does not grow with the playlist's, which may
// already be as long as a path may be.
int OpenPartFile(const std::string& path, std::string& partPath) {
  static unsigned counter = 0;
  const std::size_t separator = path.find_last_of("\\/");
  const std::string folder =
      separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    partPath = folder + ".quorvella-" + std::to_string(_getpid()) + "-" +
               std::to_string(++counter) + ".part";
    const int fd = _wopen(Utf8ToWide(partPath).c_str(),
                          _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                          _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

// Each file is made when it is created.
void AnsiTextFile::Prepare(const std::string&, std::size_t) {}

std::unique_ptr<AnsiTextFile> AnsiTextFile::Create(const std::string& path, int codePage,
                                                   std::string& error) {
  // A folder of that name could not be replaced by the finished file; that is
  // known now, before anything is written.
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = std::strerror(EISDIR);
    return nullptr;
  }
  std::string partPath;
  const int fd = OpenPartFile(path, partPath);
  if (fd < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<AnsiTextFile>(new AnsiTextFile(fd, path, std::move(partPath), codePage));
}

void AnsiTextFile::Close() {
  if (fd_ < 0) return;
  Flush();
  const int fd = fd_;
  fd_ = -1;
  if (_close(fd) != 0) Fail(errno);
  if (!MoveFileExW(Utf8ToWide(partPath_).c_str(), Utf8ToWide(path_).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(Utf8ToWide(partPath_).c_str());
    throw std::runtime_error("Could not write " + path_ + ": " + SystemErrorText(error));
  }
}

void AnsiTextFile::Flush() {
  std::size_t written = 0;
  while (written < buffer_.size()) {
    const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(buffer_.size() - written, 1u << 30));
    const int result = _write(fd_, buffer_.data() + written, chunk);
    if (result < 0) Fail(errno);
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
    _close(fd_);
    fd_ = -1;
  }
  DeleteFileW(Utf8ToWide(partPath_).c_str());
  throw std::runtime_error("Could not write " + path_ + ": " + std::strerror(error));
}

}  // namespace quorvella
