// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// What quorvella-cli watch needs of the operating system.
namespace quorvella {

// Stop on SIGTERM and Ctrl-C, reload the options on SIGHUP; each cuts a
// wait short. Windows: Ctrl+C, Ctrl+Break and closing the console stop;
// nothing asks for a reload there (the options are read at every pass).
void CatchWatchSignals();
bool WatchStopRequested();
// Whether a reload was asked for since the last call.
bool TakeReloadRequest();

std::tm LocalTime(std::time_t time);

// Where the publish passes' own output goes.
extern const char* const kNullDevice;

// Held for the life of the process: one watch per store of settings, since
// two would publish into the same folder and keep one record.
class WatchLock {
 public:
  explicit WatchLock(const std::string& path);
  ~WatchLock();
  WatchLock(const WatchLock&) = delete;
  WatchLock& operator=(const WatchLock&) = delete;
  // False when another process holds it (or it cannot be made: then there is
  // no telling, and the watch goes on).
  bool Take();

 private:
  std::intptr_t handle_ = -1;  // a descriptor, or a handle on Windows
};

}  // namespace quorvella
