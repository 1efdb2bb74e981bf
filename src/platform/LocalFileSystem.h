// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"

namespace quorvella {

// The computer's own file system: the desktop's trash, and text files in
// the ANSI code page of the user's locale (or the one given) or in UTF-8.
// Only a path in this system's own form names a file; any other (a Windows
// path on Linux, a relative path) names nothing, so that nothing is ever
// created in the current folder under an odd name.
class LocalFileSystem final : public FileSystem {
 public:
  LocalFileSystem() : LocalFileSystem(UserAnsiCodePage()) {}
  explicit LocalFileSystem(int ansiCodePage) : ansiCodePage_(ansiCodePage) {}

  bool PathExists(const std::string& path) const override;
  TrashResult MoveToTrash(const std::string& path) override;
  std::unique_ptr<TextFile> CreateTextFile(const std::string& path, std::string& error) override;
  std::unique_ptr<TextFile> CreateUtf8TextFile(const std::string& path,
                                               std::string& error) override;
  bool HoldsTextFile(const std::string& path, const std::vector<std::string>& lines,
                     bool utf8) const override;
  bool RemoveFile(const std::string& path) override;
  void PrepareFiles(const std::string& folder, std::size_t count, std::size_t trashed) override;

  int AnsiCodePage() const override { return ansiCodePage_; }

 private:
  // Whether the path is a full path in this system's own form: the rule
  // that differs between systems, with existence and removal (per system).
  static bool IsLocal(const std::string& path);
  std::unique_ptr<TextFile> NewTextFile(const std::string& path, int codePage,
                                        std::string& error) const;

  int ansiCodePage_;
};

}  // namespace quorvella
