// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "platform/Desktop.h"
#include "shell/CommandLine.h"

namespace quorvella {

// Opens addresses and files with the desktop's usual programs and starts
// programs detached from this one.
class QtDesktop final : public Desktop {
 public:
  void ShellOpen(const std::string& target) override;
  // The command line is split as SplitCommandLine describes.
  std::optional<std::string> StartProgram(const std::string& commandLine) override;
};

// Starts a program without waiting for it; the error text when it could not
// be started.
std::optional<std::string> StartDetached(const CommandLine& command);

}  // namespace quorvella
