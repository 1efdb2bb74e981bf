// SPDX-License-Identifier: MIT
#include "platform/LocalFileSystem.h"

#include <fstream>

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

bool LocalFileSystem::HoldsTextFile(const std::string& path, const std::vector<std::string>& lines,
                                    bool utf8) const {
  if (!IsLocal(path)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string bytes = AnsiTextFile::Encode(lines, utf8 ? kUtf8CodePage : ansiCodePage_);
  in.seekg(0, std::ios::end);
  if (!in || static_cast<std::size_t>(in.tellg()) != bytes.size()) return false;
  in.seekg(0);
  std::string held(bytes.size(), '\0');
  in.read(held.data(), static_cast<std::streamsize>(held.size()));
  return in && held == bytes;
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
