// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"

namespace quorvella {

// The local file system: the desktop's trash, and text files in the ANSI
// code page of the user's locale (or the one given) or in UTF-8.
class QtFileSystem final : public FileSystem {
 public:
  QtFileSystem() : QtFileSystem(UserAnsiCodePage()) {}
  explicit QtFileSystem(int ansiCodePage) : ansiCodePage_(ansiCodePage) {}

  bool PathExists(const std::string& path) const override;
  TrashResult MoveToTrash(const std::string& path) override;
  std::unique_ptr<TextFile> CreateTextFile(const std::string& path) override;
  std::unique_ptr<TextFile> CreateUtf8TextFile(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;

  int AnsiCodePage() const override { return ansiCodePage_; }

 private:
  int ansiCodePage_;
};

}  // namespace quorvella
