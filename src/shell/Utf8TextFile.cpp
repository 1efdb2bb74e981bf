// SPDX-License-Identifier: MIT
#include "shell/Utf8TextFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace quorvella {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

std::unique_ptr<Utf8TextFile> Utf8TextFile::Create(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  return std::unique_ptr<Utf8TextFile>(new Utf8TextFile(fd, path));
}

Utf8TextFile::Utf8TextFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {
  buffer_.reserve(kBufferSize + 1024);
}

Utf8TextFile::~Utf8TextFile() {
  try {
    Close();
  } catch (const std::exception&) {
    // Whoever wanted to know called Close themselves.
  }
}

void Utf8TextFile::WriteLine(std::string_view line) {
  if (fd_ < 0) throw std::runtime_error("The file " + path_ + " is already closed.");
  // Not composed or otherwise changed: a song's path must keep the bytes of
  // the file's name on disk.
  buffer_ += line;
  buffer_ += "\r\n";
  if (buffer_.size() >= kBufferSize) Flush();
}

void Utf8TextFile::Close() {
  if (fd_ < 0) return;
  Flush();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) Fail(errno);
}

void Utf8TextFile::Flush() {
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

void Utf8TextFile::Fail(int error) {
  // Closed at once, so that every later call fails too instead of leaving a
  // file with a hole in it.
  buffer_.clear();
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  throw std::runtime_error("Could not write " + path_ + ": " + std::strerror(error));
}

}  // namespace quorvella
