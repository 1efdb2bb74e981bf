// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/FileTypeCatalogue.h"
#include "settings/PlaylistEncoding.h"
#include "settings/RegUtil.h"

namespace quorvella {

// The program's four options, cached for the life of the process and written
// through to the registry by each setter, and the catalogue of file types
// with the per-song publishing test.
class Settings {
 public:
  explicit Settings(const RegUtil& reg) : reg_(reg) {}

  // Reads every option and builds the file type catalogue. Called once at
  // start-up, before anything reads an option.
  void LoadSettings();

  const std::string& GetPlaylistFolder() const { return playlistFolder_; }
  void SetPlaylistFolder(std::string_view folder);
  bool GetDeleteEmptyOutput() const { return deleteEmptyOutput_; }
  void SetDeleteEmptyOutput(bool value);
  bool GetEnhancedPlugInMode() const { return enhancedPlugInMode_; }
  void SetEnhancedPlugInMode(bool value);
  // Read from the registry on the first call only.
  const std::string& GetUncheckedExts();
  // Always written, changed or not.
  void SetUncheckedExts(std::string_view text);

  // How playlist files are written; kept apart from the four options and
  // changed only from the command line.
  PlaylistEncoding GetPlaylistEncoding() const { return playlistEncoding_; }
  void SetPlaylistEncoding(PlaylistEncoding encoding);

  // File type catalogue, in catalogue order.
  const std::vector<FileTypeEntry>& FileTypes() const { return fileTypes_; }
  void AddFileType(std::string_view ext);
  bool IsFileTypeChecked(std::string_view ext) const;
  void SetFileTypeChecked(std::string_view ext, bool checked);
  void SaveUncheckedExts();
  bool IsFileTypePublished(std::string_view ext) const;
  // Whether the song file at this location is published in the current mode,
  // judged by the text after the location's last dot.
  bool IsTrackFormatPublished(std::string_view location) const;

 private:
  void BuildFileTypeCatalogue();
  void WriteFlag(std::string_view name, bool value);

  const RegUtil& reg_;
  std::string playlistFolder_;
  bool deleteEmptyOutput_ = true;
  bool enhancedPlugInMode_ = false;
  std::string uncheckedExts_;
  bool uncheckedExtsLoaded_ = false;
  std::vector<FileTypeEntry> fileTypes_;
  PlaylistEncoding playlistEncoding_ = PlaylistEncoding::Ansi;
};

}  // namespace quorvella
