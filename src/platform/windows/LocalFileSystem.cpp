// SPDX-License-Identifier: MIT
#include "platform/LocalFileSystem.h"

#include "platform/AnsiTextFile.h"
#include "platform/PathRules.h"
#include "platform/Trash.h"
#include "platform/windows/WideText.h"

#include <filesystem>
#include <fstream>

namespace quorvella {
namespace {

// Only a full Windows path names a file here: a drive's root ("C:\") or a
// share ("\\server\share"). A relative one would be taken against the
// current folder, and a playlist would land there under an odd name.
bool IsLocal(const std::string& path) {
  if (DialectOf(path) != PathDialect::Windows) return false;
  const bool drive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') ||
                                          (path[0] >= 'a' && path[0] <= 'z')) &&
                     path[1] == ':' && path[2] == '\\';
  return drive || path.starts_with("\\\\");
}

}  // namespace

bool LocalFileSystem::PathExists(const std::string& path) const {
  return IsLocal(path) && GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
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

bool LocalFileSystem::HoldsTextFile(const std::string& path, const std::vector<std::string>& lines,
                                    bool utf8) const {
  if (!IsLocal(path)) return false;
  // Opened by its wide name: a narrow one would be read in the ANSI code page.
  std::ifstream in(std::filesystem::path(Utf8ToWide(path)), std::ios::binary);
  if (!in) return false;
  const std::string bytes = AnsiTextFile::Encode(lines, utf8 ? kUtf8CodePage : ansiCodePage_);
  in.seekg(0, std::ios::end);
  if (!in || static_cast<std::size_t>(in.tellg()) != bytes.size()) return false;
  in.seekg(0);
  std::string held(bytes.size(), '\0');
  in.read(held.data(), static_cast<std::streamsize>(held.size()));
  return in && held == bytes;
}

bool LocalFileSystem::RemoveFile(const std::string& path) {
  return IsLocal(path) && DeleteFileW(Utf8ToWide(path).c_str()) != 0;
}

}  // namespace quorvella
