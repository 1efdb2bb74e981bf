// SPDX-License-Identifier: MIT
// What the computer's file system does alike on every system: only local
// paths are trashed, created or compared; the text files themselves are
// AnsiTextFile's.
#include "platform/LocalFileSystem.h"

#include <fstream>

#include "platform/AnsiTextFile.h"
#include "platform/NativePath.h"
#include "platform/Trash.h"

namespace quorvella {

TrashResult LocalFileSystem::MoveToTrash(const std::string& path) {
  if (!IsLocal(path)) return TrashResult::Failed;
  return TrashFile(path);
}

std::unique_ptr<TextFile> LocalFileSystem::NewTextFile(const std::string& path, int codePage,
                                                       std::string& error) const {
  if (!IsLocal(path)) {
    error = "not a full path of this computer";
    return nullptr;
  }
  return AnsiTextFile::Create(path, codePage, error);
}

std::unique_ptr<TextFile> LocalFileSystem::CreateTextFile(const std::string& path,
                                                         std::string& error) {
  return NewTextFile(path, ansiCodePage_, error);
}

std::unique_ptr<TextFile> LocalFileSystem::CreateUtf8TextFile(const std::string& path,
                                                             std::string& error) {
  return NewTextFile(path, kUtf8CodePage, error);
}

void LocalFileSystem::PrepareFiles(const std::string& folder, std::size_t count,
                                   std::size_t trashed) {
  if (!IsLocal(folder)) return;
  AnsiTextFile::Prepare(folder, count);
  if (trashed > 0) PrepareTrash(folder, trashed);
}

bool LocalFileSystem::HoldsTextFile(const std::string& path, const std::vector<std::string>& lines,
                                    bool utf8) const {
  if (!IsLocal(path)) return false;
  // Opened by its UTF-8 name: on Windows a narrow one would be read in the
  // ANSI code page.
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) return false;
  const std::string bytes = AnsiTextFile::Encode(lines, utf8 ? kUtf8CodePage : ansiCodePage_);
  in.seekg(0, std::ios::end);
  if (!in || static_cast<std::size_t>(in.tellg()) != bytes.size()) return false;
  in.seekg(0);
  std::string held(bytes.size(), '\0');
  in.read(held.data(), static_cast<std::streamsize>(held.size()));
  return in && held == bytes;
}

}  // namespace quorvella
