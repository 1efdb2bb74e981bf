// SPDX-License-Identifier: MIT
#include "platform/posix/SpareFiles.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/sendfile.h>
#include <unistd.h>

namespace quorvella {
namespace {

// Two keep the thread a file ahead of the writer while it makes the next;
// more would only hold inodes no one may use.
constexpr std::size_t kAhead = 2;

// Cleared when naming through /proc failed: the rest are made by the writer.
std::atomic<bool> g_nameable{true};

// Copies the unnamed file into a new file at path, for when it cannot be
// given a name.
bool CopyToNewFile(int fd, const std::string& path) {
  const int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (out < 0) return false;
  off_t from = 0;
  ssize_t copied = 0;
  do {
    copied = ::sendfile(out, fd, &from, std::size_t{1} << 30);
  } while (copied > 0);
  int error = copied < 0 ? errno : 0;
  if (::close(out) != 0 && error == 0) error = errno;
  if (error == 0) return true;
  ::unlink(path.c_str());
  errno = error;
  return false;
}

}  // namespace

SpareFiles::SpareFiles(std::chrono::milliseconds idle) : idle_(idle) {}

SpareFiles::~SpareFiles() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    Discard();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

int SpareFiles::Take(const std::string& folder) {
  std::unique_lock lock(mutex_);
  if (folder != folder_) {
    // Another folder: the ones made for the last are no use.
    Discard();
    folder_ = folder;
    failed_ = false;
  }
  int fd = -1;
  if (!ready_.empty()) {
    fd = ready_.front();
    ready_.pop_front();
  }
  wanted_ = taken_ = true;
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  lock.unlock();
  wake_.notify_one();
  return fd;
}

void SpareFiles::Discard() {
  for (const int fd : ready_) ::close(fd);
  ready_.clear();
}

void SpareFiles::Run() {
  // Signals stay with the program's own threads, which handle them.
  sigset_t all;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, nullptr);
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || wanted_; });
    const bool work = wake_.wait_for(
        lock, idle_, [this] { return stopping_ || (!failed_ && ready_.size() < kAhead); });
    if (stopping_) return;
    if (!work) {
      if (!taken_) {
        Discard();
        wanted_ = false;
      }
      taken_ = false;
      continue;
    }
    const std::string folder = folder_;
    lock.unlock();
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    lock.lock();
    if (fd < 0) {
      // The file system has no unnamed files, or the folder is gone: the
      // writer makes its own until it asks for another folder.
      if (folder == folder_) failed_ = true;
    } else if (folder == folder_ && !stopping_) {
      ready_.push_back(fd);
    } else {
      ::close(fd);
    }
  }
}

int TakeSpareFile(const std::string& folder) {
  static const bool proc = ::access("/proc/self/fd", F_OK) == 0;
  if (!proc || !g_nameable) return -1;
  static SpareFiles spares;
  return spares.Take(folder);
}

bool NameSpareFile(int fd, const std::string& path) {
  // The descriptor's entry in /proc names the unnamed file for linkat, which
  // needs no privilege that way (AT_EMPTY_PATH would).
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  if (errno == EEXIST) return false;
  // Where /proc does not lend itself to this, the file's bytes are copied
  // once and no more spare files are made.
  g_nameable = false;
  return CopyToNewFile(fd, path);
}

}  // namespace quorvella
