// SPDX-License-Identifier: MIT
// Decodes arbitrary text as a file URL and checks what the decoder promises.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "library/xml/FileUrl.h"

using namespace quorvella;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view url(reinterpret_cast<const char*>(data), size);
  const auto path = FileUrlToPath(url);
  if (!path) {
    if (IsFileUrl(url)) __builtin_trap();
    return 0;
  }
  // Never longer than the URL, and no NUL that the URL did not hold as such.
  if (path->size() > url.size()) __builtin_trap();
  if (path->find('\0') != std::string::npos && url.find('\0') == std::string_view::npos) {
    __builtin_trap();
  }
  return 0;
}
