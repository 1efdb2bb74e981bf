// SPDX-License-Identifier: MIT
// One publishing pass of the command line, with what the window does not
// keep: the record of written files, the stale ones, and shared file names.
#include "app/PublishPass.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "engine/StalePlaylists.h"
#include "platform/PathRules.h"
#include "settings/PublishedFiles.h"
#include "platform/Text.h"
#include "settings/Settings.h"

namespace quorvella {
namespace {

// For passes that handle signals themselves: nothing to look at between songs.
class QuietPump final : public EventPump {
 public:
  void DoEvents() override {}
};

std::unique_ptr<EventPump> MakePump(bool interruptible) {
  if (interruptible) return std::make_unique<InterruptPump>();
  return std::make_unique<QuietPump>();
}

std::string FileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// Marks the rows the options name; false when a named playlist is not there.
bool CheckRows(ConsoleWindow& window, const PublishPassOptions& options) {
  if (options.all) {
    window.main.ButCheckAll_Click();
    return true;
  }
  if (options.playlists.empty()) return true;
  window.main.ButCheckNone_Click();
  for (const std::string& name : options.playlists) {
    bool found = false;
    for (int row = 0; row < window.view.Count(); ++row) {
      if (window.view.Text(row) == name) {
        window.view.SetChecked(row, true);
        found = true;
      }
    }
    if (!found) {
      PrintError("There is no playlist named \"" + name +
                 "\" among those that can be published (quorvella-cli list shows them).");
      return false;
    }
  }
  return true;
}

}  // namespace

ConsoleWindow::ConsoleWindow(AppServices& app, std::shared_ptr<IiTunes> library, std::FILE* out,
                             bool interruptible)
    : view(out, stderr),
      boxes(out, stderr, [this] { return view.RunStarted(); }),
      pump(MakePump(interruptible)),
      main(view, app.MakeMainServices(annotated, *pump)) {
  if (auto* interrupt = dynamic_cast<InterruptPump*>(pump.get())) interrupt->SetController(&main);
  main.SetLibrary(std::move(library));
}

bool ConsoleWindow::Refresh() {
  main.ButRefresh_Click();
  return boxes.Shown() == 0;
}

void PrepareFullPass(AppServices& app) {
  const std::string folder = app.LoadedSettings().GetPlaylistFolder();
  if (folder.empty()) return;
  const std::vector<PublishedFile> record = LoadPublishedFiles(app.Registry(), folder);
  const std::string inFolder = AddBackslash(folder);
  // Those of its files still there go to the trash before they are written.
  const auto there = std::count_if(record.begin(), record.end(), [&](const PublishedFile& file) {
    return app.Files().PathExists(inFolder + file.name);
  });
  app.Files().PrepareFiles(inFolder, record.size(), static_cast<std::size_t>(there));
}

PublishPassResult RunPublishPass(AppServices& app, std::shared_ptr<IiTunes> library,
                                 const PublishPassOptions& options) {
  PublishPassResult result;
  ConsoleWindow window(app, library, options.out, options.interruptible);
  if (!window.Refresh() || !CheckRows(window, options)) return result;
  MainController& main = window.main;
  const std::string folder = main.PlaylistFolder();
  OptionStore& store = app.Registry();
  std::vector<PublishedFile> record = LoadPublishedFiles(store, folder);
  // The playlist that wrote each file name in this pass.
  std::map<std::string, std::pair<std::int32_t, std::string>> writers;
  std::vector<std::string> collisions;
  // The statistics of the report are followed by the shared file names.
  window.annotated.after = [&](const Message& message) {
    if (message.text.rfind("Quorvella has finished publishing", 0) != 0) return;
    for (const std::string& line : collisions) std::fprintf(options.out, "%s\n", line.c_str());
    std::fflush(options.out);
  };


  main.SetChangedOnly(options.changedOnly);
  main.OnPlaylistFile([&](const IITPlaylist& playlist, const std::string& path,
                          PlaylistFileOutcome outcome) {
    const std::string name = FileNameOf(path);
    const auto [writer, first] =
        writers.try_emplace(name, playlist.playlistID(), playlist.Name());
    if (!first && writer->second.first != playlist.playlistID()) {
      const std::string line = "The playlists \"" + writer->second.second + "\" and \"" +
                               playlist.Name() + "\" both write the file \"" + name +
                               "\"; it holds the last one written.";
      PrintError(line);
      collisions.push_back(line);
      ++result.problems;
      writer->second = {playlist.playlistID(), playlist.Name()};
    }
    NotePlaylistFile(record, playlist.playlistID(), path, outcome);
    if (outcome == PlaylistFileOutcome::Written) ++result.written;
    if (outcome == PlaylistFileOutcome::Unchanged) ++result.unchanged;
    if (outcome == PlaylistFileOutcome::Failed) ++result.problems;
    // A stop asked for by a signal waits for the playlist in hand.
    if (options.stopRequested && options.stopRequested()) main.ButStop_Click();
  });
  bool anyChecked = false;
  for (int row = 0; row < window.view.Count(); ++row) {
    anyChecked = anyChecked || window.view.Checked(row);
  }
  main.ButPublish_Click();
  if (!window.view.RunStarted()) {
    // The window's message speaks of check marks; say how they are set here.
    if (!anyChecked && !options.all) {
      std::fputs("No playlist file is in the playlist folder yet: name the playlists with "
                 "--playlist NAME, or publish all with --all.\n",
                 stderr);
    }
    return result;
  }
  result.started = true;
  result.songs = main.Stats().SongsWritten;
  result.done = window.view.LastStatus() == "Done" && window.view.FailedFiles() == 0;

  if (options.prune && result.done) {
    const auto current =
        CurrentPlaylistFileNames(*main.Library(), app.LoadedSettings().GetPlaylistEncoding());
    for (const StalePlaylist& stale : FindStalePlaylists(folder, record, current)) {
      switch (RemoveStalePlaylist(app.Files(), stale, record)) {
        case StaleRemoval::Moved:
          std::fprintf(options.out, "Moved the stale playlist file \"%s\" to the trash.\n",
                       stale.path.c_str());
          ++result.pruned;
          break;
        case StaleRemoval::NotMoved:
          PrintError("The stale playlist file \"" + stale.path +
                     "\" could not be moved to the trash.");
          ++result.problems;
          break;
        case StaleRemoval::Gone:
          break;
        case StaleRemoval::ChangedSince:
          PrintError("The stale playlist file \"" + stale.path +
                     "\" was changed since it was written; it is left in place and no longer "
                     "tracked.");
          ++result.problems;
          break;
      }
    }
    std::fflush(options.out);
  }
  if (!folder.empty() && !SavePublishedFiles(store, folder, record)) {
    PrintError("The record of written playlist files could not be saved in \"" + store.Path() +
               "\".");
  }
  return result;
}

bool PrintStalePlaylists(AppServices& app, IiTunes& library) {
  const std::string folder = TrimSpaces(app.LoadedSettings().GetPlaylistFolder());
  if (folder.empty()) return false;
  const auto current =
      CurrentPlaylistFileNames(library, app.LoadedSettings().GetPlaylistEncoding());
  for (const StalePlaylist& stale :
       FindStalePlaylists(folder, LoadPublishedFiles(app.Registry(), folder), current)) {
    const char* note = stale.state == StalePlaylist::State::Gone ? "\t(no longer there)"
                       : stale.state == StalePlaylist::State::ChangedSince
                           ? "\t(changed since written; left alone)"
                           : "";
    std::printf("%s%s\n", stale.path.c_str(), note);
  }
  return true;
}

}  // namespace quorvella
