// SPDX-License-Identifier: MIT
#include "platform/LocalFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/PathRules.h"

namespace quorvella {

// Only a path in this system's own form names a file here. A Windows path
// such as D:\Lists\Mix.m3u (or any text not starting with "/") would
// otherwise be taken as a file name relative to the current folder, and a
// playlist would land there under that odd name.
bool LocalFileSystem::IsLocal(const std::string& path) {
  return DialectOf(path) == PathDialect::Posix;
}

bool LocalFileSystem::PathExists(const std::string& path) const {
  if (!IsLocal(path)) return false;
  // stat follows links, so a link whose target is gone names nothing.
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool LocalFileSystem::RemoveFile(const std::string& path) {
  return IsLocal(path) && ::unlink(path.c_str()) == 0;
}

}  // namespace quorvella
