// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/EventPump.h"
#include "engine/MainController.h"
#include "platform/MessageBoxes.h"
#include "engine/PlaylistList.h"

namespace quorvella {

// The main window's list, status line and progress bars for a terminal: row
// status changes and status texts go to stdout as they happen, one flushed
// line each, so that a script reading the output follows the run; the
// progress bars are drawn on stderr when it is a terminal.
class ConsoleView final : public MainView, public PlaylistList {
 public:
  explicit ConsoleView(std::FILE* out = stdout, std::FILE* err = stderr);

  // MainView
  PlaylistListView& ListPlaylists() override { return *this; }
  void SetProgressPlaylists(float value) override;
  void SetProgressTracks(float value) override;
  void SetStatusText(const std::string& text) override;
  void SetStopEnabled(bool enabled) override;
  void SetWaitCursor(bool) override {}
  void BusyChanged(bool) override {}

  // Prints the change, except for rows left out of a run.
  void SetStatus(int row, const std::string& status) override;
  // A warning on stderr for each playlist file that could not be created.
  void PlaylistFileFailed(const std::string& path, const std::string& reason) override;
  int FailedFiles() const { return failedFiles_; }

  // Whether a publishing pass started, and the status line it ended with.
  bool RunStarted() const { return runStarted_; }
  const std::string& LastStatus() const { return lastStatus_; }

 private:
  void DrawProgress();
  void ClearProgress();

  std::FILE* out_;
  std::FILE* err_;
  bool progressOnTerminal_;
  float playlists_ = 0;
  float tracks_ = 0;
  int drawnPlaylists_ = -1;
  int drawnTracks_ = -1;
  bool progressShown_ = false;
  bool runStarted_ = false;
  int failedFiles_ = 0;
  std::string lastStatus_;
};

// Message boxes as text. Nobody is there to answer a question, so each is
// answered No (and so nothing is ever opened). Errors, and boxes shown before
// a publishing pass started (refusals), go to `err`; the report of a pass
// goes to `out`.
class ConsoleMessageBoxes final : public MessageBoxes {
 public:
  ConsoleMessageBoxes(std::FILE* out, std::FILE* err, std::function<bool()> runStarted);
  MsgAnswer Show(const Message& message) override;
  int Shown() const { return shown_; }

 private:
  std::FILE* out_;
  std::FILE* err_;
  std::function<bool()> runStarted_;
  int shown_ = 0;
};

// The pending-events point of long work, where a Ctrl-C becomes a click on
// Stop: the first one stops a working run in order (it ends as a stopped run,
// with its report); a second one ends the program. A Ctrl-C while no run is
// working (the library still loading, the list being read) ends the program
// at once, as there is nothing to stop in order.
class InterruptPump final : public EventPump {
 public:
  InterruptPump();
  ~InterruptPump() override;
  InterruptPump(const InterruptPump&) = delete;
  InterruptPump& operator=(const InterruptPump&) = delete;

  void SetController(MainController* controller) { controller_ = controller; }
  void DoEvents() override;

 private:
  MainController* controller_ = nullptr;
  bool installed_ = false;
  bool stopped_ = false;
};

// Texts of the program use CR LF between lines; a terminal wants LF.
std::string ForTerminal(std::string_view text);

// "quorvella-cli: " and the text on stderr.
void PrintError(std::string_view text);

}  // namespace quorvella
