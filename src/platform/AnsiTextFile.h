// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"

namespace quorvella {

// A text file written in an ANSI code page: each line converted from UTF-8,
// ended with CR LF, no byte order mark. Lines are collected in a large buffer
// and written in few system calls, so a write failure may surface at a later
// WriteLine or at Close; both throw std::runtime_error then.
class AnsiTextFile final : public TextFile {
 public:
  // Creates the file, or empties an existing one; null when it cannot be
  // opened for writing.
  static std::unique_ptr<AnsiTextFile> Create(const std::string& path, int codePage);

  ~AnsiTextFile() override;
  void WriteLine(std::string_view line) override;
  void Close() override;

 private:
  AnsiTextFile(int fd, std::string path, int codePage);
  void Flush();
  [[noreturn]] void Fail(int error);

  int fd_;
  std::string path_;
  AnsiEncoder encoder_;
  std::string buffer_;
};

}  // namespace quorvella
