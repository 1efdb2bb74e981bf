// SPDX-License-Identifier: MIT
#include "platform/LocalFileSystem.h"

#include "platform/PathRules.h"
#include "platform/windows/WideText.h"

namespace quorvella {

// Only a full Windows path names a file here: a drive's root ("C:\") or a
// share ("\\server\share"). A relative one would be taken against the
// current folder, and a playlist would land there under an odd name.
bool LocalFileSystem::IsLocal(const std::string& path) {
  if (DialectOf(path) != PathDialect::Windows) return false;
  const bool drive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') ||
                                          (path[0] >= 'a' && path[0] <= 'z')) &&
                     path[1] == ':' && path[2] == '\\';
  return drive || path.starts_with("\\\\");
}

bool LocalFileSystem::PathExists(const std::string& path) const {
  return IsLocal(path) && GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool LocalFileSystem::RemoveFile(const std::string& path) {
  return IsLocal(path) && DeleteFileW(Utf8ToWide(path).c_str()) != 0;
}

}  // namespace quorvella
