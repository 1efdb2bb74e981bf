// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/PathRules.h"

// A file system held in memory: files by path with their lines, folders by
// path, a trash that keeps what was moved into it, and switches that make
// each operation fail. Like the real one, it knows only paths of this
// system's own form: an empty, relative or Windows path names nothing.
namespace quorvella::test {

class FakeFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::vector<std::string>> files;
  std::set<std::string> folders;
  std::vector<std::pair<std::string, std::vector<std::string>>> trash;
  mutable std::vector<std::string> asked;  // every path asked about, in order
  bool failExists = false;                  // the question itself fails
  std::optional<TrashResult> trashAnswer;   // a move to the trash answers this
  bool failCreate = false;
  bool failTrash = false;
  bool failRemove = false;
  int failWriteAfterLines = -1;  // throw on the line after this many
  // Each PrepareFiles: the folder, the counts, and how many files there were.
  std::vector<std::tuple<std::string, std::size_t, std::size_t, std::size_t>> prepared;

  static bool IsLocal(const std::string& path) { return DialectOf(path) == PathDialect::Posix; }

  bool PathExists(const std::string& path) const override {
    asked.push_back(path);
    if (failExists) throw std::runtime_error("The disk is gone.");
    if (!IsLocal(path)) return false;
    return files.count(path) > 0 || folders.count(path) > 0;
  }
  TrashResult MoveToTrash(const std::string& path) override {
    if (trashAnswer) return *trashAnswer;
    if (failTrash || !IsLocal(path)) return TrashResult::Failed;
    auto it = files.find(path);
    if (it == files.end()) return TrashResult::Failed;
    trash.emplace_back(path, it->second);
    files.erase(it);
    return TrashResult::Moved;
  }
  std::unique_ptr<TextFile> CreateTextFile(const std::string& path, std::string& error) override {
    if (failCreate || !IsLocal(path)) {
      error = "Permission denied";
      return nullptr;
    }
    return std::make_unique<File>(*this, path);
  }
  std::unique_ptr<TextFile> CreateUtf8TextFile(const std::string& path, std::string& error) override {
    return CreateTextFile(path, error);
  }
  int AnsiCodePage() const override { return 1252; }
  void PrepareFiles(const std::string& folder, std::size_t count, std::size_t trashed) override {
    prepared.emplace_back(folder, count, trashed, files.size());
  }
  bool RemoveFile(const std::string& path) override {
    if (failRemove || !IsLocal(path)) return false;
    return files.erase(path) > 0;
  }

 private:
  // Its lines take the path's place when it is closed; a failed write
  // leaves nothing.
  class File final : public TextFile {
   public:
    File(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    ~File() override { Close(); }
    void WriteLine(std::string_view line) override {
      if (closed_) throw std::runtime_error("write after close");
      if (fs_.failWriteAfterLines >= 0 &&
          static_cast<int>(lines_.size()) >= fs_.failWriteAfterLines) {
        closed_ = true;
        throw std::runtime_error("The disk is full.");
      }
      lines_.emplace_back(line);
    }
    void Close() override {
      if (closed_) return;
      closed_ = true;
      fs_.files[path_] = std::move(lines_);
    }

   private:
    FakeFileSystem& fs_;
    std::string path_;
    std::vector<std::string> lines_;
    bool closed_ = false;
  };
};

}  // namespace quorvella::test
