// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CommandLine.h"
#include "platform/WindowsVersion.h"  // GetWindowsVersion, which the windows ask

// Shell services every window uses that need no widgets.
namespace quorvella {

// What opens a new file manager window on a folder: the desktop's default
// file manager, through xdg-open (which opens a new window for a folder).
// The empty folder opens the home folder, where a new file manager window
// starts when given no folder.
CommandLine ExplorerCommandLine(std::string_view folder, std::string_view homeFolder);

// Starts the file manager on the folder; every failure is ignored.
void OpenFolderInExplorer(const std::string& folder);

// The path without one trailing separator of its dialect (a backslash, or a
// slash in a POSIX path). The POSIX root "/" stays as it is: without its
// slash it would name no folder at all, where "D:" still names the drive.
std::string RemoveTrailingBackslash(std::string_view path);

}  // namespace quorvella
