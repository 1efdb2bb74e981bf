// SPDX-License-Identifier: MIT
// quorvella-cli list and publish: the main window's checklist and publishing
// pass, driven from the command line through the same controller.
#include <cstdio>
#include <exception>
#include <memory>

#include "app/CliCommands.h"
#include "app/ConsoleView.h"
#include "app/PublishPass.h"
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
      "are said on stderr, and the rest is listed.\n"
      "With --stale, lists instead the playlist files this program wrote into the playlist "
      "folder whose playlist is gone from the library or now writes under another name, one "
      "path a line (publish --prune moves them to the trash); a tab and a note follow when a "
      "file is no longer there or was changed since it was written.\n" +
          std::string(kExitStatusHelp),
      {{"stale", "", "List the stale playlist files instead of the playlists."},
       LibraryOption()}};
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 0, exitCode);
  if (!parsed) return exitCode;
  MalformedLibraryReport malformed;
  const auto window = OpenListedLibrary(app, *parsed, libraryPath);
  if (!window) return kExitFailed;
  malformed.Print(window->main.Library());
  if (parsed->Has("stale")) {
    if (!PrintStalePlaylists(app, *window->main.Library())) {
      PrintError("No playlist folder is set (quorvella-cli options sets it).");
      return kExitFailed;
    }
    return malformed.Any() ? kExitMalformedLibrary : kExitDone;
  }
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
      "quorvella-cli [--library FILE] publish [--all | --playlist NAME ...] [--changed-only] "
      "[--prune]",
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
       {"changed-only", "",
        "Leave a playlist file that already holds exactly what would be written as it is (not "
        "moved to the trash, not rewritten); the report is the same."},
       {"prune", "",
        "After a run that ended Done, move to the trash the playlist files this program wrote "
        "whose playlist is gone from the library or now writes under another name (see list "
        "--stale). A file changed since it was written is left in place, and said so."},
       LibraryOption()}};
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 0, exitCode);
  if (!parsed) return exitCode;
  if (parsed->Has("all") && parsed->Has("playlist")) {
    return ReportUsageError(command, "--all and --playlist cannot be combined");
  }
  MalformedLibraryReport malformed;
  if (!parsed->Has("changed-only") && !parsed->Has("playlist")) PrepareFullPass(app);
  auto library = OpenLibraryOrReport(app, LibraryPath(*parsed, libraryPath));
  if (!library) return kExitFailed;
  malformed.Print(library.get());
  PublishPassOptions options;
  options.all = parsed->Has("all");
  if (parsed->Has("playlist")) options.playlists = parsed->Values("playlist");
  options.changedOnly = parsed->Has("changed-only");
  options.prune = parsed->Has("prune");
  const PublishPassResult result = RunPublishPass(app, library, options);
  if (!result.started) return kExitFailed;
  // The file may have changed and been read again during the run.
  malformed.Print(library.get());
  // A playlist whose file could not be created is "Done (empty)" as in the
  // window, but the files were not all written.
  if (!result.done) return kExitFailed;
  return malformed.Any() ? kExitMalformedLibrary : kExitDone;
}

}  // namespace quorvella
