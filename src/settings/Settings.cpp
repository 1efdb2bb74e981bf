// SPDX-License-Identifier: MIT
#include "settings/Settings.h"

#include "settings/RegistryKeys.h"

namespace quorvella {

void Settings::LoadSettings() {
  deleteEmptyOutput_ = reg_.RegGetBool(Hive::CurrentUser, SettingsKey, "DeleteEmptyOutput", true);
  playlistFolder_ = reg_.RegGetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder");
  enhancedPlugInMode_ =
      reg_.RegGetBool(Hive::CurrentUser, SettingsKey, "EnhancedPlugInMode", false);
  BuildFileTypeCatalogue();
  // Anything but a known name reads as the default.
  playlistEncoding_ =
      ParsePlaylistEncoding(reg_.RegGetString(Hive::CurrentUser, PlaylistsKey,
                                              PlaylistEncodingValueName))
          .value_or(PlaylistEncoding::Ansi);
}

void Settings::SetPlaylistFolder(std::string_view folder) {
  if (folder == playlistFolder_) return;
  playlistFolder_ = folder;
  reg_.RegSetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder", folder);
}

void Settings::SetDeleteEmptyOutput(bool value) {
  if (value == deleteEmptyOutput_) return;
  deleteEmptyOutput_ = value;
  WriteFlag("DeleteEmptyOutput", value);
}

void Settings::SetEnhancedPlugInMode(bool value) {
  if (value == enhancedPlugInMode_) return;
  enhancedPlugInMode_ = value;
  WriteFlag("EnhancedPlugInMode", value);
}

const std::string& Settings::GetUncheckedExts() {
  if (!uncheckedExtsLoaded_) {
    uncheckedExts_ = reg_.RegGetString(Hive::CurrentUser, SettingsKey, "UncheckedExts");
    uncheckedExtsLoaded_ = true;
  }
  return uncheckedExts_;
}

void Settings::SetUncheckedExts(std::string_view text) {
  reg_.RegSetString(Hive::CurrentUser, SettingsKey, "UncheckedExts", text);
  uncheckedExts_ = text;
  uncheckedExtsLoaded_ = true;
}

void Settings::SetPlaylistEncoding(PlaylistEncoding encoding) {
  if (encoding == playlistEncoding_) return;
  playlistEncoding_ = encoding;
  reg_.RegSetString(Hive::CurrentUser, PlaylistsKey, PlaylistEncodingValueName,
                    PlaylistEncodingName(encoding));
}

void Settings::WriteFlag(std::string_view name, bool value) {
  reg_.RegSetString(Hive::CurrentUser, SettingsKey, name, value ? "True" : "False");
}

}  // namespace quorvella
