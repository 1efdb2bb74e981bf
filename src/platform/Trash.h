// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace quorvella {

// Moves a file or folder to the desktop's trash, where the user can restore
// it. Never asks the user anything, so never Aborted. When the move fails
// the file stays where it was: it is never copied and deleted, and never
// left anywhere but in its folder or a trash can.
TrashResult TrashFile(const std::string& path);

}  // namespace quorvella
