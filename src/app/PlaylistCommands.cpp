// SPDX-License-Identifier: MIT
// quorvella-cli list and publish: the main window's checklist and publishing
// pass, driven from the command line through the same controller.
#include <cstdio>
#include <exception>
#include <memory>

#include "app/CliCommands.h"
#include "app/ConsoleView.h"
#include "engine/MainController.h"
#include "library/xml/XmlITunes.h"

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

// Says on stderr, once for each reading of the library file, where the file
// is malformed and what was left out there.
class MalformedLibraryReport {
 public:
  void Print(IiTunes* library) {
    const auto* xml = dynamic_cast<const XmlITunes*>(library);
    if (xml == nullptr || !xml->Library() || xml->Library() == printed_) return;
    printed_ = xml->Library();
    if (printed_->WarningCount() == 0) return;
    any_ = true;
    PrintError("The iTunes library file \"" + xml->Path() +
               "\" is malformed in places; what could not be read there was left out:");
    for (const LibraryWarning& warning : printed_->Warnings()) {
      std::fprintf(stderr, "  line %llu: %s\n", static_cast<unsigned long long>(warning.line),
                   warning.text.c_str());
    }
    if (const std::size_t more = printed_->WarningCount() - printed_->Warnings().size()) {
      std::fprintf(stderr, "  and %zu more\n", more);
    }
  }
  // Whether any reading was malformed.
  bool Any() const { return any_; }

 private:
  std::shared_ptr<const XmlLibrary> printed_;
  bool any_ = false;
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
      "and the name. Where the library file is malformed, the line and what was left out there "
      "are said on stderr, and the rest is listed.\n" +
          std::string(kExitStatusHelp),
      {LibraryOption()}};
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 0, exitCode);
  if (!parsed) return exitCode;
  MalformedLibraryReport malformed;
  const auto window = OpenListedLibrary(app, *parsed, libraryPath);
  if (!window) return kExitFailed;
  malformed.Print(window->main.Library());
  const ConsoleView& view = window->view;
  for (int row = 0; row < view.Count(); ++row) {
    std::printf("%d\t%s\t%s\t%s\n", view.Icon(row), view.Checked(row) ? "exists" : "-",
                view.Tag(row).c_str(), view.Text(row).c_str());
  }
  return malformed.Any() ? kExitMalformedLibrary : kExitDone;
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
      "questions in the report are answered No. Where the library file is malformed, the line "
      "and what was left out there are said on stderr, and the rest is published. A playlist "
      "file that cannot be created is said on stderr with the reason (the playlist shows as "
      "Done (empty)), and the run goes on but exits with 1.\n"
      "Ctrl-C stops the run after the current song, and the run ends with its report; a "
      "second Ctrl-C ends the program.\n" +
          std::string(kExitStatusHelp),
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
  MalformedLibraryReport malformed;
  const auto window = OpenListedLibrary(app, *parsed, libraryPath);
  if (!window) return kExitFailed;
  malformed.Print(window->main.Library());
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
  // The file may have changed and been read again during the run.
  malformed.Print(main.Library());
  // A playlist whose file could not be created is "Done (empty)" as in the
  // window, but the files were not all written.
  if (view.LastStatus() != "Done" || view.FailedFiles() != 0) return kExitFailed;
  return malformed.Any() ? kExitMalformedLibrary : kExitDone;
}

}  // namespace quorvella
