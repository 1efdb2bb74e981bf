// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"

namespace quorvella {

// A text file written in an ANSI code page (each line converted from UTF-8),
// or in UTF-8 itself when the code page is kUtf8CodePage; each line ended
// with CR LF, no byte order mark. Lines are collected in a large buffer
// and written in few system calls, so a write failure may surface at a later
// WriteLine or at Close; both throw std::runtime_error then.
//
// The lines go into a new file beside the path, which takes the path's place
// only when everything was written and closed: a full disk leaves no cut-off
// playlist behind, and until then a file already at the path stays as it was.
inline constexpr int kUtf8CodePage = 65001;  // the number Windows gives UTF-8

class AnsiTextFile final : public TextFile {
 public:
  // Creates the new file in the path's folder; null, with the system's reason
  // in `error`, when it cannot be made.
  static std::unique_ptr<AnsiTextFile> Create(const std::string& path, int codePage,
                                              std::string& error);

  // Readies the new files of a run about to write about `count` files into
  // `folder` (ending in a separator) while other work goes on, where the
  // system gains by it.
  static void Prepare(const std::string& folder, std::size_t count);

  // The bytes a file of these lines holds.
  static std::string Encode(const std::vector<std::string>& lines, int codePage);

  // Closes the file as Close does; a failure then leaves nothing behind.
  ~AnsiTextFile() override;
  void WriteLine(std::string_view line) override;
  // Writes what is left, closes the file and moves it to the path.
  void Close() override;

 private:
  // Big enough that a playlist of a few thousand songs takes a handful of
  // writes.
  static constexpr std::size_t kBufferSize = 64 * 1024;

  AnsiTextFile(int fd, std::string path, std::string partPath, int codePage);
  void Flush();
  // Appends the line as the file stores it; encoder null for UTF-8.
  static void AppendLine(AnsiEncoder* encoder, std::string_view line, std::string& out);
  // Closes and removes the new file, then throws.
  [[noreturn]] void Fail(int error);

  int fd_;
  std::string path_;
  std::string partPath_;  // the new file until it takes the path's place
  std::unique_ptr<AnsiEncoder> encoder_;  // null for UTF-8
  std::string buffer_;
};

}  // namespace quorvella
