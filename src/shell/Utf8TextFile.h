// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace quorvella {

// A text file written in UTF-8: each line stored byte for byte as given and
// ended with CR LF, no byte order mark (a reader that does not expect one
// would take it as part of the first line). Lines are collected and written
// in few system calls, so a write failure may surface at a later WriteLine
// or at Close; both throw std::runtime_error then.
class Utf8TextFile final : public TextFile {
 public:
  // Creates the file, or empties an existing one; null when it cannot be
  // opened for writing.
  static std::unique_ptr<Utf8TextFile> Create(const std::string& path);

  ~Utf8TextFile() override;
  void WriteLine(std::string_view line) override;
  void Close() override;

 private:
  Utf8TextFile(int fd, std::string path);
  void Flush();
  [[noreturn]] void Fail(int error);

  int fd_;
  std::string path_;
  std::string buffer_;
};

}  // namespace quorvella
