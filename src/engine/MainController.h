// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/ClsPlaylistWriter.h"
#include "engine/CountFormat.h"
#include "platform/Desktop.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "engine/PublishStats.h"
#include "library/ITunes.h"
#include "engine/PlaylistCatalogue.h"
#include "engine/PlaylistListView.h"
#include "engine/ServerReach.h"

namespace quorvella {

class Settings;

// The main window as the publishing logic sees it.
class MainView {
 public:
  virtual ~MainView() = default;
  virtual PlaylistListView& ListPlaylists() = 0;
  // "All playlists" and "Current playlist", 0 to 100.
  virtual void SetProgressPlaylists(float value) = 0;
  virtual void SetProgressTracks(float value) = 0;
  // The status line.
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetStopEnabled(bool enabled) = 0;
  // The hourglass during a refresh.
  virtual void SetWaitCursor(bool wait) = 0;
  // Told when a refresh or a publishing pass starts or ends, so that the
  // window can disable what must not run meanwhile.
  virtual void BusyChanged(bool busy) = 0;
  // Told when a playlist's file cannot be created; the run goes on and shows
  // the playlist as empty, and the window says nothing more.
  virtual void PlaylistFileFailed(const std::string& /*path*/, const std::string& /*reason*/) {}
};

// What the main window's logic needs from the rest of the program.
struct MainServices {
  Settings& settings;
  FileSystem& files;
  Desktop& desktop;
  MessageBoxes& boxes;
  EventPump& pump;
  std::function<bool()> isTiVoDesktop23OrLater;
  std::string conversionPageAddress;
  CountFormat countFormat;
  // The pyTivo music share that holds the playlist folder; not set, or
  // giving nothing, where no pyTivo publishes it.
  MusicShareLookup pyTivoShareOf{};
};

// The window-independent half of the main window: the playlist checklist's
// refresh and check rules, the publishing pass with its progress and stop,
// and the report at its end. A window (or the command-line program) forwards
// its clicks here and shows what the view is told.
class MainController {
 public:
  MainController(MainView& view, MainServices services);
  ~MainController();

  // The library whose playlists are listed; null while none could be opened.
  void SetLibrary(std::shared_ptr<IiTunes> library) { giTunes = std::move(library); }
  IiTunes* Library() const { return giTunes.get(); }

  // Rebuilds the checklist. Refused while a refresh or a run is working.
  void ButRefresh_Click();
  void ButCheckAll_Click();
  void ButCheckNone_Click();
  // The publishing pass over the checked rows.
  void ButPublish_Click();
  void ButStop_Click();
  void fPlaylistWriter_Progress(std::int16_t percent);
  void SetStatus(const std::string& text);
  // True when the configured folder is set and exists; otherwise explains.
  bool CheckPlaylistFolder();
  // The playlist folder of the options, trimmed: what the check tests and
  // where a run writes.
  std::string PlaylistFolder() const;
  void ShowPublishSummary();

  // For the passes that follow: leave files that already hold their bytes
  // alone, and be told what became of each playlist's file.
  void SetChangedOnly(bool changedOnly) { changedOnly_ = changedOnly; }
  void OnPlaylistFile(std::function<void(const IITPlaylist&, const std::string& path,
                                         PlaylistFileOutcome)>
                          handler) {
    playlistFile_ = std::move(handler);
  }

  const PublishStats& Stats() const { return stats_; }
  // True while a refresh or a publishing pass works.
  bool Busy() const { return fBusy; }
  // True while a publishing pass works (its writer exists).
  bool Running() const { return fPlaylistWriter != nullptr; }
  // The library source of the listed playlists, as the last refresh found it.
  std::int32_t SourceId() const { return fSourceId; }
  // Songs of the last run that were written but that the server will not play.
  const ServerReachStats& ReachStats() const { return reachStats_; }

 private:
  void PublishCheckedRows(int checkedRows);
  // Sets up the counting of written songs the server will not play.
  void StartServerReach();
  void SetBusy(bool busy);
  void ReportLibraryFailure(const std::string& what, const std::exception& error);

  std::shared_ptr<IiTunes> giTunes;
  std::int32_t fSourceId = 0;
  bool fCancelFlag = false;
  bool fBusy = false;
  std::unique_ptr<ClsPlaylistWriter> fPlaylistWriter;
  bool changedOnly_ = false;
  std::function<void(const IITPlaylist&, const std::string&, PlaylistFileOutcome)> playlistFile_;

  MainView& view_;
  MainServices services_;
  PlaylistCatalogue catalogue_;
  PublishStats stats_;
  ServerReachStats reachStats_;
  std::unique_ptr<ServerReach> reach_;  // for one run, as the writer
};

}  // namespace quorvella
