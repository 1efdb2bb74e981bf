// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace quorvella {

struct WindowsVersion {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
};

// The running Windows version, as the system reports it to the program;
// 0.0 on any other system.
WindowsVersion GetWindowsVersion();

}  // namespace quorvella
