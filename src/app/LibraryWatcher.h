// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace quorvella {

// What tells one state of the library file from another.
struct LibraryStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;  // a file put in place by a rename is a new one
  std::uint64_t size = 0;
  std::int64_t mtimeNs = 0;
  friend bool operator==(const LibraryStamp&, const LibraryStamp&) = default;
};

// Watches the library file: through the file system's notifications on its
// folder (inotify; on Windows FindFirstChangeNotificationW) when they are on and available, and in any case by the caller
// taking the file's stamp now and then, since no notification arrives for a
// change made by another computer on a network mount.
class LibraryWatcher {
 public:
  LibraryWatcher(const std::string& path, bool notifications);
  ~LibraryWatcher();
  LibraryWatcher(const LibraryWatcher&) = delete;
  LibraryWatcher& operator=(const LibraryWatcher&) = delete;

  // Waits up to the time given, or less when something happened in the
  // file's folder or a signal arrived; true when something happened.
  bool Wait(int milliseconds);
  LibraryStamp Stamp() const;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  // The notification descriptor (a handle on Windows); -1 without
  // notifications.
  std::intptr_t watch_ = -1;
};

}  // namespace quorvella
