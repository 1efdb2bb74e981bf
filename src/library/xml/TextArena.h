// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace quorvella {

// Append-only storage for the many short texts of a loaded library (track
// names and paths). Texts live in large blocks that never move, so a view of
// one stays valid for the arena's life, and growing never copies what is
// already stored.
class TextArena {
 public:
  static constexpr std::size_t kBlockSize = 256 * 1024;

  TextArena() = default;
  TextArena(const TextArena&) = delete;
  TextArena& operator=(const TextArena&) = delete;

  // Room for up to `size` bytes; Commit says how many were used.
  char* Reserve(std::size_t size) {
    if (size > left_) {
      if (size > kBlockSize / 4) {
        // A long text gets a block of its own so that the current block's
        // free room is not thrown away.
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        bytes_ += size;
        return blocks_.back().get();
      }
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
      bytes_ += kBlockSize;
      next_ = blocks_.back().get();
      left_ = kBlockSize;
    }
    reserved_ = size;
    return next_;
  }

  // Keeps the first `used` bytes of the last Reserve (at most what was
  // reserved). A text in a block of its own keeps the whole block.
  void Commit(const char* start, std::size_t used) {
    if (start == next_ && used <= reserved_) {
      next_ += used;
      left_ -= used;
    }
    reserved_ = 0;
  }

  std::string_view Add(std::string_view text) {
    if (text.empty()) return {};
    char* room = Reserve(text.size());
    std::memcpy(room, text.data(), text.size());
    Commit(room, text.size());
    return {room, text.size()};
  }

  // Takes over the other arena's blocks, whose texts stay where they are;
  // the other is left empty.
  void Adopt(TextArena& other) {
    for (auto& block : other.blocks_) blocks_.push_back(std::move(block));
    bytes_ += other.bytes_;
    other.blocks_.clear();
    other.next_ = nullptr;
    other.left_ = other.reserved_ = other.bytes_ = 0;
  }

  // Bytes held in blocks, used or not.
  std::size_t AllocatedBytes() const { return bytes_; }

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
  std::size_t reserved_ = 0;
  std::size_t bytes_ = 0;
};

}  // namespace quorvella
