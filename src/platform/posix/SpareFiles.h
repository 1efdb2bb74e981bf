// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace quorvella {

// Unnamed files (O_TMPFILE) made ahead in the folder that playlists are being
// written to. Making a file's inode is most of what the file system spends on
// a new playlist (ext4 searches its bitmaps for a free one); a thread of its
// own makes the next ones while the songs' lines are put together. An unnamed
// file takes no name in the folder: one not used, or left when the program
// ends, is gone once closed. Those not taken for `idle` are closed, so that a
// program that keeps running (watch) holds nothing open on the folder's disk
// between its passes.
class SpareFiles {
 public:
  explicit SpareFiles(std::chrono::milliseconds idle = std::chrono::seconds(1));
  ~SpareFiles();
  SpareFiles(const SpareFiles&) = delete;
  SpareFiles& operator=(const SpareFiles&) = delete;

  // A descriptor open for writing on an unnamed file in `folder` (ending in
  // '/'), or -1 when none is ready: the first of a folder, a file system
  // without unnamed files. Asks for the next one either way.
  int Take(const std::string& folder);

 private:
  void Run();
  void Discard();

  const std::chrono::milliseconds idle_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::string folder_;
  std::deque<int> ready_;
  bool wanted_ = false;  // taken from since the thread last found them idle
  bool taken_ = false;
  bool failed_ = false;  // the folder has no unnamed files
  bool stopping_ = false;
  std::thread thread_;
};

// The program's own spare files: -1 where /proc, through which they are
// named, is missing or refused to name one.
int TakeSpareFile(const std::string& folder);

// Gives the unnamed file open at `fd` the name `path` in its folder, or
// where it cannot be named a new file there with its bytes; false, with
// errno set, when neither can be (EEXIST: the name is taken).
bool NameSpareFile(int fd, const std::string& path);

}  // namespace quorvella
