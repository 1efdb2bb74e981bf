// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace quorvella {

// The desktop services the plain layers need: opening an address in the
// user's browser and starting another program.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // Opens a web address or a file with its usual program; failures are not
  // reported (the user simply sees nothing open).
  virtual void ShellOpen(const std::string& target) = 0;
  // Starts a program from a command line without waiting for it. Returns the
  // platform's description of the error when it could not be started.
  virtual std::optional<std::string> StartProgram(const std::string& commandLine) = 0;
};

}  // namespace quorvella
