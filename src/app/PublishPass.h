// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppServices.h"
#include "app/ConsoleView.h"
#include "engine/MainController.h"

namespace quorvella {

// Passes each box on, then tells `after` of it.
class AnnotatedBoxes final : public MessageBoxes {
 public:
  explicit AnnotatedBoxes(MessageBoxes& inner) : inner_(inner) {}
  MsgAnswer Show(const Message& message) override {
    const MsgAnswer answer = inner_.Show(message);
    if (after) after(message);
    return answer;
  }
  std::function<void(const Message&)> after;

 private:
  MessageBoxes& inner_;
};

// The main window's logic over the terminal: its checklist, its boxes (a
// refusal goes to stderr, the report of a run to `out`) and Ctrl-C as Stop
// unless the caller handles signals itself.
struct ConsoleWindow {
  ConsoleWindow(AppServices& app, std::shared_ptr<IiTunes> library, std::FILE* out = stdout,
                bool interruptible = true);
  // Lists the library's playlists; false when that failed (and was reported).
  bool Refresh();

  ConsoleView view;
  ConsoleMessageBoxes boxes;
  AnnotatedBoxes annotated{boxes};  // what the logic shows its boxes through
  std::unique_ptr<EventPump> pump;
  MainController main;
};

// Which playlists a pass publishes and how.
struct PublishPassOptions {
  bool all = false;
  std::vector<std::string> playlists;  // by name; neither: those already in the folder
  bool changedOnly = false;
  bool prune = false;
  std::FILE* out = stdout;  // the run's lines and report
  bool interruptible = true;  // Ctrl-C stops the run (watch handles signals itself)
  // Asked after each playlist; true stops the run there.
  std::function<bool()> stopRequested{};
};

struct PublishPassResult {
  bool started = false;  // false: refused (and said why on stderr)
  bool done = false;     // ended "Done" with every file created
  int written = 0;
  int unchanged = 0;
  int pruned = 0;
  int problems = 0;  // files not created, stale files left alone, collisions
  std::int32_t songs = 0;
};

// Starts making ready, while the library is read, as many new files in the
// playlist folder (and information files in the trash, for the old ones) as
// the last pass there wrote: for a pass that writes the files of all or of
// the folder's playlists again.
void PrepareFullPass(AppServices& app);

// One publishing pass over an open library: writes the playlists, keeps the
// record of written files for the playlist folder, warns of playlists that
// share a file, and with `prune` moves stale files to the trash.
PublishPassResult RunPublishPass(AppServices& app, std::shared_ptr<IiTunes> library,
                                 const PublishPassOptions& options);

// Prints the stale files of the playlist folder, one path a line, marking
// those that will be left alone; false when the folder is not set.
bool PrintStalePlaylists(AppServices& app, IiTunes& library);

}  // namespace quorvella
