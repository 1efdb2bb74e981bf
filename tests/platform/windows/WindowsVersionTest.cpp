// SPDX-License-Identifier: MIT
#include "platform/WindowsVersion.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(WindowsVersion, IsTheSystemsOwnAnswer) {
  // Wine answers as the Windows it is set to be; any since XP is 5.1 or more.
  const WindowsVersion version = GetWindowsVersion();
  EXPECT_TRUE(version.major > 5 || (version.major == 5 && version.minor >= 1))
      << version.major << "." << version.minor;
}

}  // namespace
}  // namespace quorvella
