// SPDX-License-Identifier: MIT
#include "platform/AnsiTextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

#include "platform/Normalization.h"

namespace quorvella {
namespace {

// Big enough that a playlist of a few thousand songs takes a handful of
// writes.
constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

std::unique_ptr<AnsiTextFile> AnsiTextFile::Create(const std::string& path, int codePage) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  return std::unique_ptr<AnsiTextFile>(new AnsiTextFile(fd, path, codePage));
}

AnsiTextFile::AnsiTextFile(int fd, std::string path, int codePage)
    : fd_(fd), path_(std::move(path)), encoder_(codePage) {
  buffer_.reserve(kBufferSize + 1024);
}

AnsiTextFile::~AnsiTextFile() {
  try {
    Close();
  } catch (const std::exception&) {
    // Whoever wanted to know called Close themselves.
  }
}

void AnsiTextFile::WriteLine(std::string_view line) {
  if (fd_ < 0) throw std::runtime_error("The file " + path_ + " is already closed.");
  if (std::any_of(line.begin(), line.end(), [](char c) { return (c & 0x80) != 0; })) {
    // Libraries made on a Mac spell accents as a letter followed by a
    // combining mark, which a code page cannot hold; composed first, "é"
    // stays "é" instead of losing its accent.
    encoder_.Append(ComposeNfc(line), buffer_);
  } else {
    encoder_.Append(line, buffer_);
  }
  buffer_ += "\r\n";
  if (buffer_.size() >= kBufferSize) Flush();
}

void AnsiTextFile::Close() {
  if (fd_ < 0) return;
  Flush();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) Fail(errno);
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
  // call fails too instead of writing a file with a hole in it.
  buffer_.clear();
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  throw std::runtime_error("Could not write " + path_ + ": " + std::strerror(error));
}

}  // namespace quorvella
