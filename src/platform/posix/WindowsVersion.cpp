// SPDX-License-Identifier: MIT
#include "platform/WindowsVersion.h"

namespace quorvella {

WindowsVersion GetWindowsVersion() { return {}; }

}  // namespace quorvella
