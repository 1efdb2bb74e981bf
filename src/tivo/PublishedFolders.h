// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageBoxes.h"
#include "settings/RegUtil.h"
#include "tivo/PyTivoConfig.h"

// The music folders the TiVo servers publish: TiVo Desktop's, one shortcut
// each in its music shortcut folder, and pyTivo's music shares. Nothing is
// cached; every call reads the folder and pyTivo's configuration afresh.
namespace quorvella {

// The user's local application-data folder: $XDG_DATA_HOME, or
// ~/.local/share when that is unset (or not an absolute path). Empty when
// neither can be told.
std::filesystem::path LocalAppDataFolder();

// "TiVo Desktop/Music" inside the local application-data folder; empty when
// that folder cannot be told.
std::filesystem::path MusicShortcutFolder();

// What became of one item of the shortcut folder.
enum class ShortcutOutcome {
  Published,      // a shortcut to an existing folder
  NotAShortcut,   // a file of another kind, or a sub-folder (not descended into)
  Damaged,        // a .lnk file that cannot be read
  NoTarget,       // a shortcut that names no target
  WindowsTarget,  // a Windows path, which names nothing on this system
  TargetMissing,  // the target does not exist
  NotAFolder,     // the target is a file
};

struct ShortcutItem {
  std::string fileName;
  std::string target;  // trimmed; empty when none could be read
  ShortcutOutcome outcome = ShortcutOutcome::NotAShortcut;
};

// Every item of the shortcut folder, sorted by file name, with what became
// of it. A missing folder gives the empty list.
std::vector<ShortcutItem> ReadShortcutFolderItems(const std::filesystem::path& shortcutFolder);

// The published folders listed by the shortcuts in shortcutFolder, sorted by
// the shortcuts' file names: each target trimmed, kept only when it is an
// existing folder. Sub-folders and other items are ignored; two shortcuts to
// one folder give two entries. A missing folder gives the empty list.
std::vector<std::string> ReadPublishedMusicFolders(const std::filesystem::path& shortcutFolder);

// TiVo Desktop's published folders followed by the folders of pyTivo's
// published music shares.
std::vector<std::string> GetPublishedMusicFolders(const RegUtil& reg,
                                                  const PyTivoPlaces& places = {});

// Whether folder is one of the published folders or lies below one. Windows
// paths are compared without regard to letter case, POSIX paths with it; a
// path of one form never lies below a path of the other. The trailing
// separator on both sides makes D:\Music cover D:\Music\Rock but not
// D:\Musical. Nothing is resolved: no "..", no links.
bool IsFolderPublished(std::string_view folder, const std::vector<std::string>& publishedFolders);
// The same against GetPublishedMusicFolders, which is not read when folder
// is blank.
bool IsFolderPublished(std::string_view folder, const RegUtil& reg,
                       const PyTivoPlaces& places = {});

// The warning given when the chosen playlist folder is not published, and the
// question that follows it when the folder is confirmed.
std::string UnpublishedFolderWarning(std::string_view folder);
Message UnpublishedFolderQuestion(std::string_view folder);

}  // namespace quorvella
