// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace quorvella {

// Moves a file or folder to the desktop's trash (the freedesktop.org trash:
// the user's own, or the .Trash folder of the file's mount). Never asks the
// user anything, so never Aborted.
//
// Qt 6.4.2 loses files when the user's data folder ($XDG_DATA_HOME, or
// ~/.local/share) does not exist: it reports success and moves the file into
// "files" below the current folder. So the data folder is created first, and
// a new location outside a trash can is a failure: the file is moved back.
TrashResult MoveFileToTrash(const std::string& path);

// Whether a trashed file's new path lies in the "files" folder of a trash
// can: ".../Trash/files/", ".../.Trash-<uid>/files/" or
// ".../.Trash/<uid>/files/", with the trashed name directly inside.
bool IsInTrashFiles(std::string_view path, unsigned uid);

}  // namespace quorvella
