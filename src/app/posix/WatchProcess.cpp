// SPDX-License-Identifier: MIT
#include "app/WatchProcess.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <system_error>

namespace quorvella {
namespace {

volatile std::sig_atomic_t gStop = 0;
volatile std::sig_atomic_t gReload = 0;

void OnStop(int) { gStop = 1; }
void OnReload(int) { gReload = 1; }

// Without SA_RESTART, so that a signal cuts a wait short.
void InstallHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

}  // namespace

const char* const kNullDevice = "/dev/null";

void CatchWatchSignals() {
  InstallHandler(SIGTERM, OnStop);
  InstallHandler(SIGINT, OnStop);
  InstallHandler(SIGHUP, OnReload);
}

bool WatchStopRequested() { return gStop != 0; }

bool TakeReloadRequest() {
  if (gReload == 0) return false;
  gReload = 0;
  return true;
}

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

WatchLock::WatchLock(const std::string& path) {
  // On a fresh account the settings' folder may not be there yet.
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  handle_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

WatchLock::~WatchLock() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool WatchLock::Take() { return handle_ < 0 || ::flock(static_cast<int>(handle_), LOCK_EX | LOCK_NB) == 0; }

}  // namespace quorvella
