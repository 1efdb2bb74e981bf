// SPDX-License-Identifier: MIT
#include "platform/WindowsVersion.h"

#include <windows.h>

namespace quorvella {

WindowsVersion GetWindowsVersion() {
  // GetVersionExA is deprecated, but its answer is the one the checks on the
  // version were written against.
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExA(&info) == 0) return {};
#pragma GCC diagnostic pop
  return {static_cast<std::uint16_t>(info.dwMajorVersion),
          static_cast<std::uint16_t>(info.dwMinorVersion)};
}

}  // namespace quorvella
