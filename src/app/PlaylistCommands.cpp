// SPDX-License-Identifier: MIT
// quorvella-cli list and publish: the main window's checklist and publishing
// pass, driven from the command line through the same controller.
#include <cstdio>
#include <exception>
#include <memory>

#include "app/CliCommands.h"
#include "app/ConsoleView.h"
#include "engine/MainController.h"

namespace quorvella {
namespace {

std::shared_ptr<IiTunes> OpenLibraryOrReport(AppServices& app, const std::string& path) {
  try {
    return app.OpenLibrary(path);
  } catch (const std::exception& error) {
    PrintError(error.what());
    return nullptr;
  }
}

// The main window's logic over the terminal: its checklist, its boxes (a
// refusal goes to stderr, the report of a run to stdout) and Ctrl-C as Stop.
struct ConsoleWindow {
  ConsoleWindow(AppServices& app, std::shared_ptr<IiTunes> library)
      : boxes(stdout, stderr, [this] { return view.RunStarted(); }),
        main(view, app.MakeMainServices(boxes, pump)) {
    pump.SetController(&main);
    main.SetLibrary(std::move(library));
  }
  // Lists the library's playlists; false when that failed (and was reported).
  bool Refresh() {
    main.ButRefresh_Click();
    return boxes.Shown() == 0;
  }

  ConsoleView view;
  ConsoleMessageBoxes boxes;
  InterruptPump pump;
  MainController main;
};

// The option after the command name wins over the one before it.
std::string LibraryPath(const CliArguments& args, const std::string& givenBefore) {
  return args.Has("library") ? args.Value("library") : givenBefore;
}

// What list and publish both start with: the library opened and its
// playlists listed, as the window shows them after start-up. Null when that
// failed (and was reported).
std::unique_ptr<ConsoleWindow> OpenListedLibrary(AppServices& app, const CliArguments& args,
                                                 const std::string& libraryPathBefore) {
  auto library = OpenLibraryOrReport(app, LibraryPath(args, libraryPathBefore));
  if (!library) return nullptr;
  auto window = std::make_unique<ConsoleWindow>(app, std::move(library));
  if (!window->Refresh()) return nullptr;
  return window;
}

}  // namespace

CliOption LibraryOption() {
  return {"library", "FILE",
          "The iTunes library file (XML) to read. Without it: $QUORVELLA_ITUNES_LIBRARY, the "
          "file chosen last in the window, then the usual places under ~/Music."};
}

int RunList(AppServices& app, const std::string& libraryPath,
            const std::vector<std::string>& args) {
  const CliCommand command{
      "list",
      "quorvella-cli [--library FILE] list",
      "Lists the playlists that can be published, in library order, one line each with four "
      "fields separated by tabs: the kind code (1 purchased music, 2 party shuffle, 3 the "
      "library, 6 normal, 7 smart, 8 podcasts), \"exists\" when the "
      "playlist's file is already in the playlist folder (\"-\" otherwise), the playlist ID "
      "and the name.",
      {LibraryOption()}};
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 0, exitCode);
  if (!parsed) return exitCode;
  const auto window = OpenListedLibrary(app, *parsed, libraryPath);
  if (!window) return kExitFailed;
  const ConsoleView& view = window->view;
  for (int row = 0; row < view.Count(); ++row) {
    std::printf("%d\t%s\t%s\t%s\n", view.Icon(row), view.Checked(row) ? "exists" : "-",
                view.Tag(row).c_str(), view.Text(row).c_str());
  }
  return kExitDone;
}

int RunPublish(AppServices& app, const std::string& libraryPath,
               const std::vector<std::string>& args) {
  const CliCommand command{
      "publish",
      "quorvella-cli [--library FILE] publish [--all | --playlist NAME ...]",
      "Publishes playlists into the playlist folder (see quorvella-cli options) as M3U files. "
      "Without --all or --playlist, the playlists whose file is already in the playlist folder "
      "are published again, as the window checks them after reading the library. Each "
      "playlist's status is printed as it changes, then the status line and the report; "
      "questions in the report are answered No.\n"
      "Ctrl-C stops the run after the current song, and the run ends with its report; a "
      "second Ctrl-C ends the program.\n"
      "Exit status: 0 done, 1 refused, stopped or failed, 2 usage error.",
      {{"all", "",
        "Publish what Check All checks: every normal, smart and podcast playlist except "
        "\"all rated songs\"."},
       {"playlist", "NAME", "Publish the playlist of this name; may be given more than once.",
        true},
       LibraryOption()}};
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 0, exitCode);
  if (!parsed) return exitCode;
  if (parsed->Has("all") && parsed->Has("playlist")) {
    return ReportUsageError(command, "--all and --playlist cannot be combined");
  }
  const auto window = OpenListedLibrary(app, *parsed, libraryPath);
  if (!window) return kExitFailed;
  ConsoleView& view = window->view;
  MainController& main = window->main;

  if (parsed->Has("all")) {
    main.ButCheckAll_Click();
  } else if (parsed->Has("playlist")) {
    main.ButCheckNone_Click();
    for (const std::string& name : parsed->Values("playlist")) {
      bool found = false;
      for (int row = 0; row < view.Count(); ++row) {
        if (view.Text(row) == name) {
          view.SetChecked(row, true);
          found = true;
        }
      }
      if (!found) {
        PrintError("There is no playlist named \"" + name +
                   "\" among those that can be published (quorvella-cli list shows them).");
        return kExitFailed;
      }
    }
  }
  bool anyChecked = false;
  for (int row = 0; row < view.Count(); ++row) anyChecked = anyChecked || view.Checked(row);
  main.ButPublish_Click();
  if (!view.RunStarted()) {
    // The window's message speaks of check marks; say how they are set here.
    if (!anyChecked && !parsed->Has("all")) {
      std::fputs("No playlist file is in the playlist folder yet: name the playlists with "
                 "--playlist NAME, or publish all with --all.\n",
                 stderr);
    }
    return kExitFailed;
  }
  return view.LastStatus() == "Done" ? kExitDone : kExitFailed;
}

}  // namespace quorvella
