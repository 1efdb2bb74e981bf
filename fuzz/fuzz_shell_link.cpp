// SPDX-License-Identifier: MIT
// Shortcut files come from a folder any program may write into.
#include <cstddef>
#include <cstdint>
#include <span>

#include "tivo/ShellLink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  if (const auto link = quorvella::ReadShellLink(bytes)) {
    // Composing the target must hold for any fields the reader accepted.
    (void)quorvella::ShellLinkTarget(*link);
  }
  return 0;
}
