// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

// The user's own folders: home, configuration, data and music. Each is read
// afresh on every call, from an environment that tests can replace.
namespace quorvella {

// Reads an environment variable; empty when it is not set.
using Environment = std::function<std::string(const char* name)>;

// The process's environment, where HOME, when unset or empty, is the home
// folder of the user's account (a program started by a service has none).
std::string ProcessEnvironment(const char* name);

// $HOME; empty when not set.
std::string HomeFolder(const Environment& env = ProcessEnvironment);

// $XDG_CONFIG_HOME, or ~/.config when that is unset or not an absolute path
// (which the desktop's rules say to ignore). Empty when neither can be told.
std::string ConfigFolder(const Environment& env = ProcessEnvironment);

// $XDG_DATA_HOME, or ~/.local/share, by the same rules.
std::string DataFolder(const Environment& env = ProcessEnvironment);

// The music folder: $XDG_MUSIC_DIR, or XDG_MUSIC_DIR as the desktop's
// user-dirs.dirs in the configuration folder sets it (a line
// XDG_MUSIC_DIR="$HOME/Music" or with an absolute path). Empty when neither
// gives one, or the entry names the home folder itself (the desktop's way of
// saying there is none). Never ends in a slash.
std::string MusicFolder(const Environment& env = ProcessEnvironment);

}  // namespace quorvella
