// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "engine/EventPump.h"
#include "engine/MainController.h"
#include "engine/MessageBoxes.h"

namespace quorvella {

// The main window's list, status line and progress bars for a terminal: row
// status changes and status texts go to stdout as they happen; the progress
// bars are drawn on stderr when it is a terminal.
class ConsoleView final : public MainView, public PlaylistListView {
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

  // PlaylistListView
  void Clear() override { rows_.clear(); }
  int Count() const override { return static_cast<int>(rows_.size()); }
  int AddRow(const std::string& text) override;
  std::string Text(int row) const override { return rows_.at(row).text; }
  void SetIcon(int row, PlaylistKindCode code) override { rows_.at(row).icon = code; }
  PlaylistKindCode Icon(int row) const override { return rows_.at(row).icon; }
  void SetChecked(int row, bool checked) override { rows_.at(row).checked = checked; }
  bool Checked(int row) const override { return rows_.at(row).checked; }
  void SetTag(int row, const std::string& tag) override { rows_.at(row).tag = tag; }
  std::string Tag(int row) const override { return rows_.at(row).tag; }
  void SetStatus(int row, const std::string& status) override;
  std::string Status(int row) const override { return rows_.at(row).status; }
  void EnsureVisible(int) override {}

  // Whether a publishing pass started, and the status line it ended with.
  bool RunStarted() const { return runStarted_; }
  const std::string& LastStatus() const { return lastStatus_; }

 private:
  struct Row {
    std::string text;
    PlaylistKindCode icon = 0;
    bool checked = false;
    std::string tag;
    std::string status;
  };
  void DrawProgress(bool force);
  void ClearProgress();

  std::FILE* out_;
  std::FILE* err_;
  bool progressOnTerminal_;
  std::vector<Row> rows_;
  float playlists_ = 0;
  float tracks_ = 0;
  int drawnPlaylists_ = -1;
  int drawnTracks_ = -1;
  bool progressShown_ = false;
  bool runStarted_ = false;
  std::string lastStatus_;
};

// Message boxes as text: each box is printed; a question is answered No,
// since nobody is there to answer it.
class ConsoleMessageBoxes final : public MessageBoxes {
 public:
  explicit ConsoleMessageBoxes(std::FILE* out = stdout) : out_(out) {}
  MsgAnswer Show(const Message& message) override;
  int Shown() const { return shown_; }

 private:
  std::FILE* out_;
  int shown_ = 0;
};

// The pending-events point of long work: here a Ctrl-C becomes a click on
// Stop. The first Ctrl-C stops the run in order; a second ends the program.
class InterruptPump final : public EventPump {
 public:
  explicit InterruptPump(MainController*& controller);
  ~InterruptPump() override;
  void DoEvents() override;

 private:
  MainController*& controller_;
  bool stopped_ = false;
};

// Texts of the program use CR LF between lines; a terminal wants LF.
std::string ForTerminal(const std::string& text);

}  // namespace quorvella
