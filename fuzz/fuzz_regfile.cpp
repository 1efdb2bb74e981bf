// SPDX-License-Identifier: MIT
// Arbitrary bytes into the .reg reader. Whatever it accepts must write out and
// read back as the same tree, and writing that again must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvella;
  const auto first = ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (first.error) return 0;
  const std::string written = SerializeRegFile(first.document.tree);
  const auto second = ParseRegFile(written);
  if (second.error || !(second.document.tree == first.document.tree) ||
      !second.document.deletions.empty()) {
    std::abort();
  }
  if (SerializeRegFile(second.document.tree) != written) std::abort();
  return 0;
}
