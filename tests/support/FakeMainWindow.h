// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/MainController.h"
#include "engine/PlaylistList.h"

// The window side of the main window's logic, as plain records: what the
// list and the rest of the window were told, the boxes shown (answered No
// or OK unless told otherwise), the pages opened, and a pump a test can act in.
namespace quorvella::test {

struct RecordingBoxes final : MessageBoxes {
  std::vector<Message> shown;
  MsgAnswer answer = MsgAnswer::No;  // to Yes/No questions
  std::function<void(const Message&)> onShow;
  MsgAnswer Show(const Message& m) override {
    shown.push_back(m);
    if (onShow) onShow(m);
    return m.buttons == MsgButtons::YesNo ? answer : MsgAnswer::Ok;
  }
};

struct ScriptedPump final : EventPump {
  std::function<void()> onPump;
  void DoEvents() override {
    if (onPump) onPump();
  }
};

struct RecordingDesktop final : Desktop {
  std::vector<std::string> opened;
  std::function<void()> onOpen;
  void ShellOpen(const std::string& target) override {
    opened.push_back(target);
    if (onOpen) onOpen();
  }
  std::optional<std::string> StartProgram(const std::string&) override { return std::nullopt; }
};

class RecordingView final : public MainView, public PlaylistList {
 public:
  std::vector<float> progressPlaylists, progressTracks;
  std::vector<std::string> statusLine;
  bool stopEnabled = false;
  std::vector<bool> busy, waitCursor;  // every change, in order

  PlaylistListView& ListPlaylists() override { return *this; }
  void SetProgressPlaylists(float v) override { progressPlaylists.push_back(v); }
  void SetProgressTracks(float v) override { progressTracks.push_back(v); }
  void SetStatusText(const std::string& t) override { statusLine.push_back(t); }
  void SetStopEnabled(bool e) override { stopEnabled = e; }
  void SetWaitCursor(bool w) override { waitCursor.push_back(w); }
  void BusyChanged(bool b) override { busy.push_back(b); }

  std::vector<Row>& rows = Rows();

  std::vector<std::string> Statuses() const {
    std::vector<std::string> out;
    for (const auto& r : Rows()) out.push_back(r.status);
    return out;
  }
  std::vector<bool> Checks() const {
    std::vector<bool> out;
    for (const auto& r : Rows()) out.push_back(r.checked);
    return out;
  }
};

}  // namespace quorvella::test
