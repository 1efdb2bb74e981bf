// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace quorvella {

struct ReadResult {
  bool ok = false;
  std::string bytes;
  std::string error;  // the system's reason, or "it is not a file"
};

// The whole of a regular file named in UTF-8.
ReadResult ReadRegularFile(const std::string& path);

}  // namespace quorvella
