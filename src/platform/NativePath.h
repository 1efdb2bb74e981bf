// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Paths are UTF-8 inside the program. A std::filesystem::path built from a
// narrow string reads it in the ANSI code page on Windows, which breaks every
// name that page cannot hold; these go through UTF-8 on every system.
namespace quorvella {

inline std::filesystem::path NativePath(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Path(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace quorvella
