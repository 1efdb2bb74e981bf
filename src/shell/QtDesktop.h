// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "platform/Desktop.h"

namespace quorvella {

// The window's desktop: addresses and files open through Qt, which knows the
// desktop the window runs on (its portal in a sandbox, its own opener
// elsewhere); programs start as StartCommandLine describes.
class QtDesktop final : public Desktop {
 public:
  void ShellOpen(const std::string& target) override;
  std::optional<std::string> StartProgram(const std::string& commandLine) override;
};

}  // namespace quorvella
