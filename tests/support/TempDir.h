// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/NativePath.h"
#ifdef _WIN32
#include <process.h>
#endif

namespace quorvella::testing {

// A folder of its own for one test, removed afterwards.
class TempDir {
 public:
  TempDir() {
#ifdef _WIN32
    // No mkdtemp: a name of this process and a counter, made exclusively.
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = std::filesystem::temp_directory_path() /
              ("quorvella-" + std::to_string(_getpid()) + "-" + std::to_string(++counter));
      if (std::filesystem::create_directory(path_)) break;
    }
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvella-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
#endif
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // UTF-8 in and out on every system (a narrow name would be read in the
  // ANSI code page on Windows), with the system's own separators.
  std::string File(std::string_view name) const {
    return Utf8Path((path_ / NativePath(name)).make_preferred());
  }

 private:
  std::filesystem::path path_;
};

}  // namespace quorvella::testing
