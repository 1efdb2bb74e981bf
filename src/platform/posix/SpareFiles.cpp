// SPDX-License-Identifier: MIT
#include "platform/posix/SpareFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/sendfile.h>
#include <system_error>
#include <unistd.h>

namespace quorvella {
namespace {

// Two keep the thread a file ahead of the writer while it makes the next;
// more would only hold inodes no one may use.
constexpr std::size_t kAhead = 2;

// A prepared run's spares stay within a quarter of the descriptors a process
// may open, and within this.
constexpr std::size_t kMostPrepared = 1024;

// Cleared once a file could not be named through /proc where a plain one
// could be made: from then on the writer makes its own.
std::atomic<bool> g_nameable{true};

int MakeUnnamed(const std::string& folder) {
  return ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
}

// What open with O_TMPFILE answers where the file system has no such files.
bool Unsupported(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

void CloseAll(const std::deque<int>& fds) {
  for (const int fd : fds) ::close(fd);
}

// Copies the unnamed file into a new file at path.
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
  std::deque<int> left;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    left.swap(ready_);
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  CloseAll(left);
}

void SpareFiles::SwitchFolder(const std::string& folder, std::deque<int>& stale) {
  if (folder == folder_) return;
  stale.swap(ready_);
  folder_ = folder;
  failed_ = unsupported_ = false;
  expected_ = 0;
}

void SpareFiles::Prepare(const std::string& folder, std::size_t count) {
  if (count == 0) return;
  rlimit limit{};
  std::size_t most = kMostPrepared;
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    most = std::min<std::size_t>(most, limit.rlim_cur / 4);
  }
  std::deque<int> stale;
  {
    std::lock_guard lock(mutex_);
    SwitchFolder(folder, stale);
    expected_ = std::min(count, most);
    keepUntil_ = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    wanted_ = true;
    StartThread();
  }
  wake_.notify_one();
  CloseAll(stale);
}

int SpareFiles::Take(const std::string& folder) {
  std::deque<int> stale;  // made for another folder
  int fd = -1;
  {
    std::lock_guard lock(mutex_);
    SwitchFolder(folder, stale);
    if (unsupported_) return -1;
    if (!ready_.empty()) {
      fd = ready_.front();
      ready_.pop_front();
    }
    if (expected_ > 0) --expected_;
    keepUntil_ = {};
    wanted_ = taken_ = true;
    StartThread();
  }
  wake_.notify_one();
  CloseAll(stale);
  if (fd >= 0) return fd;
  fd = MakeUnnamed(folder);
  if (fd < 0 && Unsupported(errno)) {
    std::lock_guard lock(mutex_);
    if (folder == folder_) unsupported_ = true;
  }
  return fd;
}

void SpareFiles::StartThread() {
  if (thread_.joinable() || noThread_) return;
  // Made with every signal blocked, so that none reaches it before Run
  // begins: they are the program's own threads' to handle.
  sigset_t all, old;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &old);
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    noThread_ = true;  // every file is then made when taken
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

void SpareFiles::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || wanted_; });
    const bool work = wake_.wait_for(lock, idle_, [this] {
      return stopping_ ||
             (!failed_ && !unsupported_ && ready_.size() < std::max(kAhead, expected_));
    });
    if (stopping_) return;
    if (!work) {
      failed_ = false;  // room may have been made, the folder made again
      if (!taken_ && std::chrono::steady_clock::now() >= keepUntil_) {
        std::deque<int> idle;
        idle.swap(ready_);
        wanted_ = false;
        lock.unlock();
        CloseAll(idle);
        lock.lock();
      }
      taken_ = false;
      continue;
    }
    const std::string folder = folder_;
    lock.unlock();
    const int fd = MakeUnnamed(folder);
    const int error = errno;
    lock.lock();
    if (fd >= 0 && folder == folder_ && !stopping_) {
      ready_.push_back(fd);
    } else if (fd >= 0) {
      lock.unlock();
      ::close(fd);
      lock.lock();
    } else if (folder == folder_) {
      failed_ = true;
      unsupported_ = Unsupported(error);
    }
  }
}

namespace {

// The program's own, or null where /proc is missing or would not name one.
SpareFiles* ProgramSpares(SpareUse use) {
  static const bool proc = ::access("/proc/self/fd", F_OK) == 0;
  if (!proc || !g_nameable) return nullptr;
  static SpareFiles playlists, information;
  return use == SpareUse::Playlists ? &playlists : &information;
}

}  // namespace

int TakeSpareFile(const std::string& folder, SpareUse use) {
  SpareFiles* spares = ProgramSpares(use);
  return spares != nullptr ? spares->Take(folder) : -1;
}

void PrepareSpareFiles(const std::string& folder, std::size_t count, SpareUse use) {
  if (SpareFiles* spares = ProgramSpares(use)) spares->Prepare(folder, count);
}

bool NameSpareFile(int fd, const std::string& path) {
  // The descriptor's entry in /proc names the unnamed file for linkat, which
  // needs no privilege that way (AT_EMPTY_PATH would).
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  const int error = errno;
  if (error == EEXIST) return false;
  if (!CopyToNewFile(fd, path)) {
    errno = error;
    return false;
  }
  // A plain file could be made where the link could not: naming through
  // /proc does not work here.
  g_nameable = false;
  return true;
}

}  // namespace quorvella
