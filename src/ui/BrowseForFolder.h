// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include <QString>

class QWidget;

namespace quorvella {

// The folder the browser starts at, and what it gives back when cancelled:
// the initial folder trimmed, without one trailing separator, trimmed again.
std::string PrepareBrowseFolder(std::string_view initialFolder);

// The dialog's title: the caller's title unless it is blank, else "Please
// select a &folder:", shown without its access-key marker ("&&" stays "&").
QString BrowseFolderTitle(std::string_view title);

// Lets the user choose a folder, starting at the prepared initial folder.
// Gives the chosen folder, or the prepared initial folder when the user
// cancels, so the caller cannot tell a cancel from choosing that folder.
std::string BrowseForFolder(std::string_view initialFolder, QWidget* owner,
                            std::string_view title);

}  // namespace quorvella
