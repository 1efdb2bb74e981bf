// SPDX-License-Identifier: MIT
#include "app/LibraryWatcher.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace quorvella {

LibraryWatcher::LibraryWatcher(const std::string& path, bool notifications) : path_(path) {
  if (!notifications) return;
  watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch_ < 0) return;
  // The folder, not the file: iTunes and copying tools replace the file by
  // renaming a new one over it, which a watch on the file itself would miss.
  const std::string folder = std::filesystem::path(path).parent_path().string();
  if (inotify_add_watch(static_cast<int>(watch_), folder.c_str(),
                        IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_MOVED_TO | IN_MOVED_FROM |
                            IN_CREATE | IN_DELETE) < 0) {
    ::close(static_cast<int>(watch_));
    watch_ = -1;
  }
}

LibraryWatcher::~LibraryWatcher() {
  if (watch_ >= 0) ::close(static_cast<int>(watch_));
}

bool LibraryWatcher::Wait(int milliseconds) {
  pollfd entry{static_cast<int>(watch_), POLLIN, 0};
  const int ready = ::poll(watch_ >= 0 ? &entry : nullptr, watch_ >= 0 ? 1 : 0, milliseconds);
  if (ready <= 0) return false;
  // Which file of the folder changed does not matter: the stamp tells.
  char events[4096];
  while (::read(static_cast<int>(watch_), events, sizeof events) > 0) {
  }
  return true;
}

LibraryStamp LibraryWatcher::Stamp() const {
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) return {};
  return {true,
          static_cast<std::uint64_t>(info.st_dev),
          static_cast<std::uint64_t>(info.st_ino),
          static_cast<std::uint64_t>(info.st_size),
          static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

}  // namespace quorvella
