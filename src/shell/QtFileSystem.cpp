// SPDX-License-Identifier: MIT
#include "shell/QtFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include "shell/AnsiTextFile.h"
#include "shell/Trash.h"
#include "shell/Utf8TextFile.h"

namespace quorvella {
namespace {

// Only a path in this system's own form names a file here. A Windows path
// such as D:\Lists\Mix.m3u (or any text not starting with "/") would
// otherwise be taken as a file name relative to the current folder, and a
// playlist would land there under that odd name.
bool IsLocal(const std::string& path) { return !path.empty() && path.front() == '/'; }

}  // namespace

bool QtFileSystem::PathExists(const std::string& path) const {
  if (!IsLocal(path)) return false;
  // stat follows links, so a link whose target is gone names nothing.
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

TrashResult QtFileSystem::MoveToTrash(const std::string& path) {
  if (!IsLocal(path)) return TrashResult::Failed;
  return MoveFileToTrash(path);
}

std::unique_ptr<TextFile> QtFileSystem::CreateTextFile(const std::string& path) {
  if (!IsLocal(path)) return nullptr;
  return AnsiTextFile::Create(path, ansiCodePage_);
}

std::unique_ptr<TextFile> QtFileSystem::CreateUtf8TextFile(const std::string& path) {
  if (!IsLocal(path)) return nullptr;
  return Utf8TextFile::Create(path);
}

bool QtFileSystem::RemoveFile(const std::string& path) {
  return IsLocal(path) && ::unlink(path.c_str()) == 0;
}

}  // namespace quorvella
