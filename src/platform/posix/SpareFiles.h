// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace quorvella {

// Unnamed files (O_TMPFILE) in the folder that playlists (or the trash's
// information files) are written to, made ahead. Making a file's inode is most
// of what the file system spends on a new playlist (ext4 searches its bitmaps
// for a free one); after the first, a thread of its own makes the next ones
// while the songs' lines are put together. An unnamed file takes no name in
// the folder: one not used, or left when the program ends, is gone once
// closed. Those not taken for a while (`idle`) are closed, so that a program
// that keeps running holds nothing open on the folder's disk after its run.
class SpareFiles {
 public:
  explicit SpareFiles(std::chrono::milliseconds idle = std::chrono::milliseconds(250));
  ~SpareFiles();
  SpareFiles(const SpareFiles&) = delete;
  SpareFiles& operator=(const SpareFiles&) = delete;

  // A descriptor open for reading and writing on an unnamed file in `folder`
  // (ending in '/'): one made ahead, else one made now. -1 where the folder
  // takes none (its file system has no unnamed files, it is missing, full).
  int Take(const std::string& folder);

  // Starts making, for a run about to write `count` files into `folder`, as
  // many spares as there are descriptors to spare, so that the file system's
  // share of the run overlaps what comes before it (reading the library).
  // They are kept until the run takes its first, or for half a minute.
  void Prepare(const std::string& folder, std::size_t count);

 private:
  void StartThread();
  void Run();
  void SwitchFolder(const std::string& folder, std::deque<int>& stale);

  const std::chrono::milliseconds idle_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::string folder_;
  std::deque<int> ready_;
  std::size_t expected_ = 0;  // files a prepared run has yet to take
  std::chrono::steady_clock::time_point keepUntil_{};
  bool wanted_ = false;       // taken from since the thread last found them idle
  bool taken_ = false;
  bool failed_ = false;       // the last try failed: tried again after a pause
  bool unsupported_ = false;  // the folder's file system has no unnamed files
  bool noThread_ = false;     // the system would not start one
  bool stopping_ = false;
  std::thread thread_;
};

// What the program's spare files are for: each use has its own, since each
// keeps them in one folder.
enum class SpareUse { Playlists, TrashInformation };

// The program's own spare files; -1 where /proc, through which they are
// named, is missing or would not name one (and nothing is prepared then).
int TakeSpareFile(const std::string& folder, SpareUse use = SpareUse::Playlists);
void PrepareSpareFiles(const std::string& folder, std::size_t count,
                       SpareUse use = SpareUse::Playlists);

// Gives the unnamed file open at `fd` the name `path` in its folder, or,
// where it cannot be linked there, a new file there with its bytes. False,
// with errno set, when neither can be (EEXIST: the name is taken).
bool NameSpareFile(int fd, const std::string& path);

}  // namespace quorvella
