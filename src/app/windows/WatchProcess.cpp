// SPDX-License-Identifier: MIT
#include "app/WatchProcess.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <system_error>

#include "platform/NativePath.h"
#include "platform/windows/WideText.h"

namespace quorvella {
namespace {

std::atomic<bool> gStop{false};

BOOL WINAPI OnConsoleControl(DWORD) {
  gStop = true;
  return TRUE;
}

}  // namespace

const char* const kNullDevice = "NUL";

void CatchWatchSignals() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }

bool WatchStopRequested() { return gStop; }

bool TakeReloadRequest() { return false; }

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_s(&local, &time);
  return local;
}

WatchLock::WatchLock(const std::string& path) {
  std::error_code ignored;
  std::filesystem::create_directories(NativePath(path).parent_path(), ignored);
  // Opened without sharing: a second watch cannot open it while this one runs.
  const HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    handle_ = reinterpret_cast<std::intptr_t>(file);
  } else if (GetLastError() == ERROR_SHARING_VIOLATION) {
    handle_ = -2;  // held by another process
  }
}

WatchLock::~WatchLock() {
  if (handle_ >= 0) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool WatchLock::Take() { return handle_ != -2; }

}  // namespace quorvella
