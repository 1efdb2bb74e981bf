// SPDX-License-Identifier: MIT
// What a text file does the same on every system: how a line becomes bytes,
// and when the collected bytes are written. Opening, writing, closing and
// moving the file into place are each system's own (posix/, windows/).
#include "platform/AnsiTextFile.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Normalization.h"

namespace quorvella {

AnsiTextFile::AnsiTextFile(int fd, std::string path, std::string partPath, int codePage)
    : fd_(fd),
      path_(std::move(path)),
      partPath_(std::move(partPath)),
      encoder_(codePage == kUtf8CodePage ? nullptr : std::make_unique<AnsiEncoder>(codePage)) {
  buffer_.reserve(kBufferSize + 1024);
}

AnsiTextFile::~AnsiTextFile() {
  try {
    Close();
  } catch (const std::exception&) {
    // Whoever wanted to know called Close themselves.
  }
}

void AnsiTextFile::AppendLine(AnsiEncoder* encoder, std::string_view line, std::string& out) {
  if (!encoder) {
    // Not composed or otherwise changed: a song's path must keep the bytes
    // of the file's name on disk.
    out += line;
  } else if (std::any_of(line.begin(), line.end(), [](char c) { return (c & 0x80) != 0; })) {
    // Libraries made on a Mac spell accents as a letter followed by a
    // combining mark, which a code page cannot hold; composed first, "é"
    // stays "é" instead of losing its accent.
    encoder->Append(ComposeNfc(line), out);
  } else {
    encoder->Append(line, out);
  }
  out += "\r\n";
}

std::string AnsiTextFile::Encode(const std::vector<std::string>& lines, int codePage) {
  std::unique_ptr<AnsiEncoder> encoder;
  if (codePage != kUtf8CodePage) encoder = std::make_unique<AnsiEncoder>(codePage);
  std::string bytes;
  for (const std::string& line : lines) AppendLine(encoder.get(), line, bytes);
  return bytes;
}

void AnsiTextFile::WriteLine(std::string_view line) {
  if (fd_ < 0) throw std::runtime_error("The file " + path_ + " is already closed.");
  AppendLine(encoder_.get(), line, buffer_);
  if (buffer_.size() >= kBufferSize) Flush();
}

}  // namespace quorvella
