// SPDX-License-Identifier: MIT
#include "library/xml/LibraryFile.h"

#include <windows.h>

#include <algorithm>

#include "library/ITunes.h"
#include "platform/windows/WideText.h"

namespace quorvella {
namespace {

// The file's index stands in for the inode; the times are in 100 ns steps.
FileSignature SignatureFrom(const BY_HANDLE_FILE_INFORMATION& info) {
  const auto join = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
  return {join(info.nFileSizeHigh, info.nFileSizeLow),
          static_cast<std::int64_t>(
              join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)) *
              100,
          join(info.nFileIndexHigh, info.nFileIndexLow)};
}

// iTunes may write the file while it is read; sharing lets it.
HANDLE OpenForReading(const std::string& path, DWORD flags) {
  return CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     flags, nullptr);
}

}  // namespace

std::optional<FileSignature> SignatureOf(const std::string& path) {
  // Backup semantics open folders too, as stat does.
  HANDLE file = OpenForReading(path, FILE_FLAG_BACKUP_SEMANTICS);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  if (!known) return std::nullopt;
  return SignatureFrom(info);
}

LibraryFile::LibraryFile(const std::string& path) : path_(path) {
  HANDLE file = OpenForReading(path, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A folder cannot be opened without backup semantics: say what it is.
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      throw LibraryError("The iTunes library \"" + path + "\" is not a file.");
    }
    throw LibraryError("The iTunes library file \"" + path +
                       "\" cannot be opened: " + SystemErrorText(error) + ".");
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(file, &info) == 0 || GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    throw LibraryError("The iTunes library \"" + path + "\" is not a file.");
  }
  signature_ = SignatureFrom(info);
}

LibraryFile::~LibraryFile() { CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

std::size_t LibraryFile::Read(void* buffer, std::size_t size) {
  DWORD got = 0;
  const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &got, nullptr) == 0) {
    throw LibraryError("The iTunes library file \"" + path_ +
                       "\" cannot be read: " + SystemErrorText(GetLastError()) + ".");
  }
  return got;
}

std::size_t LibraryFile::ReadAt(std::uint64_t offset, char* buffer, std::size_t size) {
  // Reading at an offset moves the file pointer, which the sequential reads
  // are done with by now.
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &got, &at) == 0) return 0;
  return got;
}

}  // namespace quorvella
