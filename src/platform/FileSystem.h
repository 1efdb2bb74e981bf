// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// What became of a request to move a file to the trash.
enum class TrashResult { Moved, Aborted, Failed };

// A text file open for writing. Lines are given as UTF-8 and stored in the
// encoding the file was opened with; each ends with CR LF.
class TextFile {
 public:
  virtual ~TextFile() = default;
  // Throws std::runtime_error when the line cannot be written.
  virtual void WriteLine(std::string_view line) = 0;
  // Flushes, closes and puts the file in its place; further writes are
  // errors. Also done on destruction. Throws std::runtime_error when lines
  // written earlier could not be stored.
  virtual void Close() = 0;
};

// The file system as the publishing engine uses it.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True exactly when a file or folder exists at the path.
  virtual bool PathExists(const std::string& path) const = 0;
  virtual TrashResult MoveToTrash(const std::string& path) = 0;
  // A new text file for the path; null, with the reason in `error`, when it
  // cannot be created. It takes the path's place (replacing any file there)
  // when it is closed after every line was stored; after a write failure
  // nothing of it is left.
  virtual std::unique_ptr<TextFile> CreateTextFile(const std::string& path,
                                                   std::string& error) = 0;
  // The same for a file whose lines are stored as UTF-8, without a byte
  // order mark.
  virtual std::unique_ptr<TextFile> CreateUtf8TextFile(const std::string& path,
                                                       std::string& error) = 0;
  // The code page that CreateTextFile's files are written in.
  virtual int AnsiCodePage() const = 0;
  // Whether the file at the path holds exactly the bytes of a text file of
  // these lines (as CreateTextFile, or CreateUtf8TextFile when utf8, would
  // store them). False when that cannot be told, so that the file is written.
  virtual bool HoldsTextFile(const std::string& /*path*/, const std::vector<std::string>& /*lines*/,
                             bool /*utf8*/) const {
    return false;
  }
  // A plain delete, not to the trash.
  virtual bool RemoveFile(const std::string& path) = 0;
  // Told before a run writes about `count` new files into `folder` (ending
  // in its separator), `trashed` of them over files already there, so that
  // what the disk spends on making them is spent ahead, beside the run's own
  // work. A hint: nothing changes what the run writes.
  virtual void PrepareFiles(const std::string& /*folder*/, std::size_t /*count*/,
                            std::size_t /*trashed*/) {}
};

}  // namespace quorvella
