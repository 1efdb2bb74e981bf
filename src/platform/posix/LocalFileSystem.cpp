// SPDX-License-Identifier: MIT
#include "platform/LocalFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/AnsiTextFile.h"
#include "platform/PathRules.h"
#include "platform/Trash.h"

namespace quorvella {
namespace {

// Only a path in this system's own form names a file here. A Windows path
// such as D:\Lists\Mix.m3u (or any text not starting with "/") would
// otherwise be taken as a file name relative to the current folder, and a
// playlist would land there under that odd name.
bool IsLocal(const std::string& path) { return DialectOf(path) == PathDialect::Posix; }

}  // namespace

bool LocalFileSystem::PathExists(const std::string& path) const {
  if (!IsLocal(path)) return false;
  // stat follows links, so a link whose target is gone names nothing.
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

TrashResult LocalFileSystem::MoveToTrash(const std::string& path) {
  if (!IsLocal(path)) return TrashResult::Failed;
  return TrashFile(path);
}

std::unique_ptr<TextFile> LocalFileSystem::CreateTextFile(const std::string& path,
                                                         std::string& error) {
  if (!IsLocal(path)) {
    error = "not a full path of this computer";
    return nullptr;
  }
  return AnsiTextFile::Create(path, ansiCodePage_, error);
}

std::unique_ptr<TextFile> LocalFileSystem::CreateUtf8TextFile(const std::string& path,
                                                             std::string& error) {
  if (!IsLocal(path)) {
    error = "not a full path of this computer";
    return nullptr;
  }
  return AnsiTextFile::Create(path, kUtf8CodePage, error);
}

bool LocalFileSystem::RemoveFile(const std::string& path) {
  return IsLocal(path) && ::unlink(path.c_str()) == 0;
}

}  // namespace quorvella
