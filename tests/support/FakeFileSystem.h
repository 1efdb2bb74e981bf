// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// A file system held in memory: files by path with their lines, folders by
// path, a trash that keeps what was moved into it, and switches that make
// each operation fail.
namespace quorvella::test {

class FakeFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::vector<std::string>> files;
  std::set<std::string> folders;
  std::vector<std::pair<std::string, std::vector<std::string>>> trash;
  bool failCreate = false;
  bool failTrash = false;
  bool failRemove = false;
  int failWriteAfterLines = -1;  // throw on the line after this many
  std::set<std::string> utf8Files;  // the paths created as UTF-8 files
  int codePage = 1252;

  bool PathExists(const std::string& path) const override {
    return files.count(path) > 0 || folders.count(path) > 0;
  }
  TrashResult MoveToTrash(const std::string& path) override {
    if (failTrash) return TrashResult::Failed;
    auto it = files.find(path);
    if (it == files.end()) return TrashResult::Failed;
    trash.emplace_back(path, it->second);
    files.erase(it);
    return TrashResult::Moved;
  }
  std::unique_ptr<TextFile> CreateTextFile(const std::string& path) override {
    if (failCreate) return nullptr;
    files[path].clear();
    return std::make_unique<File>(*this, path);
  }
  std::unique_ptr<TextFile> CreateUtf8TextFile(const std::string& path) override {
    utf8Files.insert(path);
    return CreateTextFile(path);
  }
  int AnsiCodePage() const override { return codePage; }
  bool RemoveFile(const std::string& path) override {
    if (failRemove) return false;
    return files.erase(path) > 0;
  }

 private:
  class File final : public TextFile {
   public:
    File(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    void WriteLine(std::string_view line) override {
      if (closed_) throw std::runtime_error("write after close");
      auto& lines = fs_.files[path_];
      if (fs_.failWriteAfterLines >= 0 &&
          static_cast<int>(lines.size()) >= fs_.failWriteAfterLines) {
        throw std::runtime_error("The disk is full.");
      }
      lines.emplace_back(line);
    }
    void Close() override { closed_ = true; }

   private:
    FakeFileSystem& fs_;
    std::string path_;
    bool closed_ = false;
  };
};

}  // namespace quorvella::test
