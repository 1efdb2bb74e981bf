// SPDX-License-Identifier: MIT
#include "ui/shell/QtFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include "ui/shell/AnsiTextFile.h"
#include "ui/shell/Trash.h"

namespace quorvella {

bool QtFileSystem::PathExists(const std::string& path) const {
  // stat follows links, so a link whose target is gone names nothing.
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

TrashResult QtFileSystem::MoveToTrash(const std::string& path) {
  return MoveFileToTrash(path);
}

std::unique_ptr<TextFile> QtFileSystem::CreateTextFile(const std::string& path) {
  return AnsiTextFile::Create(path, ansiCodePage_);
}

bool QtFileSystem::RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

}  // namespace quorvella
