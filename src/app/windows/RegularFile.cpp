// SPDX-License-Identifier: MIT
#include "app/RegularFile.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace quorvella {

ReadResult ReadRegularFile(const std::string& path) {
  ReadResult result;
  const std::wstring wide = Utf8ToWide(path);
  const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    result.error = SystemErrorText(GetLastError());
    return result;
  }
  if (GetFileType(file) != FILE_TYPE_DISK ||
      (GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    result.error = "it is not a file";
    CloseHandle(file);
    return result;
  }
  char buffer[65536];
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      result.error = SystemErrorText(GetLastError());
      CloseHandle(file);
      return result;
    }
    if (got == 0) break;
    result.bytes.append(buffer, got);
  }
  CloseHandle(file);
  result.ok = true;
  return result;
}

}  // namespace quorvella
