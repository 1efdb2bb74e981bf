// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "engine/PublishStats.h"
#include "settings/PlaylistEncoding.h"

namespace quorvella {

class IITPlaylist;
class IITTrack;
class Settings;

// What became of one playlist's file.
enum class PlaylistFileOutcome {
  Written,    // the file was (re)written
  Unchanged,  // it already held exactly these bytes and was left alone
  Failed,     // it could not be created
  Deleted,    // the playlist was empty and its file was deleted
};

// Turns one playlist of the music library into one M3U file (.m3u in the
// ANSI code page, or .m3u8 in UTF-8, as the settings say) in the playlist
// folder, sorting and counting every song. One writer serves one publishing
// pass; destroying it closes any file it still holds.
class ClsPlaylistWriter {
 public:
  // playlistFolder receives the files: the run works it out once, trimmed,
  // as its folder check saw it. progress is raised after each track with the
  // share of the playlist done, 0 to 100.
  ClsPlaylistWriter(const Settings& settings, FileSystem& files, EventPump& pump,
                    PublishStats& stats, std::string playlistFolder,
                    std::function<void(std::int16_t percent)> progress = {});
  ~ClsPlaylistWriter();
  ClsPlaylistWriter(const ClsPlaylistWriter&) = delete;
  ClsPlaylistWriter& operator=(const ClsPlaylistWriter&) = delete;

  // Set by Cancel and never cleared: the writer stops after the current track.
  bool CancelFlag() const { return cancelFlag_; }
  const std::string& PlaylistFolder() const { return playlistFolder_; }
  // The file name, without extension, of the playlist now being written.
  const std::string& PlaylistName() const { return playlistName_; }
  // Told of every song written, with the path line written for it.
  void OnSongWritten(std::function<void(const std::string& path)> handler) {
    songWritten_ = std::move(handler);
  }
  // Told when a playlist's file cannot be created, with the file system's
  // reason; the playlist is still read and counted, and written as empty.
  void OnOutputFailed(
      std::function<void(const std::string& path, const std::string& reason)> handler) {
    outputFailed_ = std::move(handler);
  }

  // Told when a playlist's file is done, with its path and what became of it.
  void OnPlaylistFile(std::function<void(const IITPlaylist& playlist, const std::string& path,
                                         PlaylistFileOutcome outcome)>
                          handler) {
    playlistFile_ = std::move(handler);
  }
  // When set, each playlist's lines are collected first and a file that
  // already holds exactly their bytes is left as it is (not trashed, not
  // rewritten), so that its modification time tells when it last changed.
  void SetChangedOnly(bool changedOnly) { changedOnly_ = changedOnly; }

  void Cancel() { cancelFlag_ = true; }
  // Opens a fresh output file for PlaylistName(), sending an old one to the trash.
  void InitOutput();
  void CloseOutput();
  // Writes the playlist's file; returns the number of songs written into it.
  // Failures of the library calls are not caught. When only changed files
  // are written, one that a later playlist of the pass writes over (their
  // names give one file name) is left to that playlist: its songs are still
  // sorted and counted.
  std::int32_t WritePlaylist(const IITPlaylist& playlist, bool writtenOverLater = false);
  // Sorts one song and writes it when it can be; true when it was written.
  bool WriteTrack(const IITTrack& track);

  const std::string& OutputPath() const { return outputPath_; }

 private:
  // Writes the collected lines unless the file already holds them.
  PlaylistFileOutcome FinishChangedOnly();

  const Settings& settings_;
  FileSystem& files_;
  EventPump& pump_;
  PublishStats& stats_;
  bool cancelFlag_ = false;
  const std::string playlistFolder_;
  const RelativePathFrom fromFolder_;  // after playlistFolder_, which it is made from
  std::string playlistName_;
  const std::function<void(std::int16_t percent)> progress_;
  std::function<void(const std::string& path)> songWritten_;
  std::function<void(const std::string& path, const std::string& reason)> outputFailed_;
  std::function<void(const IITPlaylist&, const std::string&, PlaylistFileOutcome)> playlistFile_;
  bool changedOnly_ = false;
  bool writtenOverLater_ = false;  // changed-only: the playlist now written
  std::vector<std::string> pendingLines_;  // changed-only: the playlist's lines so far
  std::vector<std::string> pendingSongs_;  // changed-only: their song paths
  std::unique_ptr<TextFile> output_;  // null: no output file open
  std::string outputPath_;
};

// The percentage of tracks done, rounded to the nearest whole number with
// ties to the even one (12.5 gives 12, 37.5 gives 38).
std::int16_t ProgressPercent(std::int32_t index, std::int32_t total);

}  // namespace quorvella
