// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "platform/CommandLine.h"

namespace quorvella {

// Starts a program without waiting for it, in a session of its own, so that
// it outlives this one and a Ctrl-C here does not reach it. A program named
// without a folder is looked for along PATH. Returns the system's
// description of the error when it could not be started.
std::optional<std::string> StartDetached(const CommandLine& command);

// The same for a command line in the form Windows starts one; it is split as
// SplitCommandLine describes, against the files that exist here.
std::optional<std::string> StartCommandLine(const std::string& commandLine);

}  // namespace quorvella
