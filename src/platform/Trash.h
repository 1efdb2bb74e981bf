// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

#include "platform/FileSystem.h"

namespace quorvella {

// Moves a file or folder to the desktop's trash, where the user can restore
// it. Never asks the user anything, so never Aborted. When the move fails
// the file stays where it was: it is never copied and deleted, and never
// left anywhere but in its folder or a trash can.
TrashResult TrashFile(const std::string& path);

// Readies, while other work goes on, what the trash needs for `count` files
// of `folder` about to be moved into it, where the system gains by it.
void PrepareTrash(const std::string& folder, std::size_t count);

}  // namespace quorvella
