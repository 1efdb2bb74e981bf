// SPDX-License-Identifier: MIT
#include "app/LibraryWatcher.h"

#include <windows.h>

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
  const std::wstring wide = Utf8ToWide(path_);
  const HANDLE file = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION info{};
  const bool read = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  if (!read) return {};
  const auto join = [](DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
  };
  // The write time counts in 100 ns steps.
  const std::uint64_t written = join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
  return {true, info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
          join(info.nFileSizeHigh, info.nFileSizeLow), static_cast<std::int64_t>(written) * 100};
}

}  // namespace quorvella
