// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "platform/Desktop.h"

namespace quorvella {

// The desktop without a window: addresses and files open with the desktop's
// usual programs through its opener (xdg-open), and programs start as
// StartCommandLine describes.
class LocalDesktop final : public Desktop {
 public:
  void ShellOpen(const std::string& target) override;
  std::optional<std::string> StartProgram(const std::string& commandLine) override;
};

}  // namespace quorvella
