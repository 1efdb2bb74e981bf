// SPDX-License-Identifier: MIT
#include "app/LibraryWatcher.h"

#include <windows.h>

#include <filesystem>

#include "platform/NativePath.h"
#include "platform/windows/WideText.h"

namespace quorvella {
namespace {

HANDLE AsHandle(std::intptr_t watch) { return reinterpret_cast<HANDLE>(watch); }

}  // namespace

LibraryWatcher::LibraryWatcher(const std::string& path, bool notifications) : path_(path) {
  if (!notifications) return;
  // The folder, not the file: iTunes and copying tools replace the file by
  // renaming a new one over it.
  const std::wstring folder = NativePath(path).parent_path().wstring();
  const HANDLE handle = FindFirstChangeNotificationW(
      folder.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE |
          FILE_NOTIFY_CHANGE_ATTRIBUTES);
  if (handle != INVALID_HANDLE_VALUE) watch_ = reinterpret_cast<std::intptr_t>(handle);
}

LibraryWatcher::~LibraryWatcher() {
  if (watch_ != -1) FindCloseChangeNotification(AsHandle(watch_));
}

bool LibraryWatcher::Wait(int milliseconds) {
  const DWORD timeout = milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds);
  if (watch_ == -1) {
    Sleep(timeout);
    return false;
  }
  if (WaitForSingleObject(AsHandle(watch_), timeout) != WAIT_OBJECT_0) return false;
  // Which file of the folder changed does not matter: the stamp tells.
  FindNextChangeNotification(AsHandle(watch_));
  return true;
}

LibraryStamp LibraryWatcher::Stamp() const {
  // Read from the folder's listing, never through a handle on the file:
  // while any handle on it is open, however it shares, the library's owner
  // cannot rename a new copy over it and its save fails.
  const std::filesystem::path native = NativePath(path_);
  const std::wstring name = native.filename().wstring();
  const HANDLE folder = CreateFileW(native.parent_path().wstring().c_str(), FILE_LIST_DIRECTORY,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return {};
  LibraryStamp stamp;
  BY_HANDLE_FILE_INFORMATION volume{};
  const std::uint64_t device =
      GetFileInformationByHandle(folder, &volume) != 0 ? volume.dwVolumeSerialNumber : 0;
  alignas(LONGLONG) char buffer[16384];
  auto kind = FileIdBothDirectoryRestartInfo;
  while (!stamp.exists && GetFileInformationByHandleEx(folder, kind, buffer, sizeof buffer) != 0) {
    kind = FileIdBothDirectoryInfo;
    for (const char* at = buffer;;) {
      const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      const int length = static_cast<int>(entry->FileNameLength / sizeof(wchar_t));
      if ((entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
          CompareStringOrdinal(entry->FileName, length, name.c_str(),
                               static_cast<int>(name.size()), TRUE) == CSTR_EQUAL) {
        // The write time counts in 100 ns steps.
        stamp = {true, device, static_cast<std::uint64_t>(entry->FileId.QuadPart),
                 static_cast<std::uint64_t>(entry->EndOfFile.QuadPart),
                 static_cast<std::int64_t>(entry->LastWriteTime.QuadPart) * 100};
        break;
      }
      if (entry->NextEntryOffset == 0) break;
      at += entry->NextEntryOffset;
    }
  }
  CloseHandle(folder);
  return stamp;
}

}  // namespace quorvella
