// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageBoxes.h"

// The music folders TiVo Desktop publishes: one shortcut each in its music
// shortcut folder. Nothing is cached; every call reads the folder afresh.
namespace quorvella {

// The user's local application-data folder: $XDG_DATA_HOME, or
// ~/.local/share when that is unset (or not an absolute path). Empty when
// neither can be told.
std::filesystem::path LocalAppDataFolder();

// "TiVo Desktop/Music" inside the local application-data folder; empty when
// that folder cannot be told.
std::filesystem::path MusicShortcutFolder();

// The target of one item of the shortcut folder: a .lnk file's target in
// Windows form, or a symbolic link's target as a POSIX path (a relative one
// taken from the shortcut folder). Empty for anything else, and for a
// shortcut that cannot be read.
std::string ShortcutTarget(const std::filesystem::directory_entry& item);

// The published folders listed by the shortcuts in shortcutFolder, sorted by
// the shortcuts' file names: each target trimmed, kept only when it is an
// existing folder. Sub-folders and other items are ignored; two shortcuts to
// one folder give two entries. A missing folder gives the empty list.
std::vector<std::string> ReadPublishedMusicFolders(const std::filesystem::path& shortcutFolder);
std::vector<std::string> GetPublishedMusicFolders();

// Whether folder is one of the published folders or lies below one. Windows
// paths are compared without regard to letter case, POSIX paths with it; a
// path of one form never lies below a path of the other. The trailing
// separator on both sides makes D:\Music cover D:\Music\Rock but not
// D:\Musical. Nothing is resolved: no "..", no links.
bool IsFolderPublished(std::string_view folder, const std::vector<std::string>& publishedFolders);
// The same against the shortcut folder, which is not read when folder is
// blank.
bool IsFolderPublished(std::string_view folder);

// The warning given when the chosen playlist folder is not published, and the
// question that follows it when the folder is confirmed.
std::string UnpublishedFolderWarning(std::string_view folder);
Message UnpublishedFolderQuestion(std::string_view folder);

}  // namespace quorvella
