// SPDX-License-Identifier: MIT
// quorvella-cli watch: publishes, then publishes again whenever the library
// file changes, for a server where nobody opens the window.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>
#include <memory>

#include "app/CliCommands.h"
#include "app/ConsoleView.h"
#include "app/LibraryWatcher.h"
#include "app/PublishPass.h"
#include "app/WatchProcess.h"

namespace quorvella {
namespace {

using Clock = std::chrono::steady_clock;

// How long the file must stay the same before it is read: iTunes may still
// be writing it. QUORVELLA_WATCH_SETTLE (seconds) shortens it for tests.
Clock::duration SettleTime() {
  if (const char* value = std::getenv("QUORVELLA_WATCH_SETTLE")) {
    char* end = nullptr;
    const double seconds = std::strtod(value, &end);
    if (end != value && seconds >= 0) {
      return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    }
  }
  return std::chrono::seconds(5);
}

// The number of passes after which the watch ends, for scripts and
// measurements (QUORVELLA_WATCH_PASSES); 0 watches until stopped.
long PassLimit() {
  const char* value = std::getenv("QUORVELLA_WATCH_PASSES");
  if (value == nullptr) return 0;
  char* end = nullptr;
  const long passes = std::strtol(value, &end, 10);
  return end != value && *end == '\0' && passes > 0 ? passes : 0;
}

void Log(const std::string& text) {
  const std::time_t now = std::time(nullptr);
  const std::tm local = LocalTime(now);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  std::printf("%s %s\n", stamp, text.c_str());
  std::fflush(stdout);
}

}  // namespace

int RunWatch(AppServices& app, const std::string& libraryPathBefore,
             const std::vector<std::string>& args) {
  const CliCommand command{
      "watch",
      "quorvella-cli [--library FILE] watch [--all | --playlist NAME ...] [--poll SECONDS]",
      "Publishes the playlists once, then again whenever the library file changes, as publish "
      "--changed-only --prune would: only changed files are written and stale ones moved to "
      "the trash. The playlists are those publish takes with the same arguments. A change is "
      "seen through the file system's notifications and by checking the file every --poll "
      "seconds (changes made by another computer on a network mount send none); it is acted "
      "on once the file has stayed the same for 5 seconds and reads as a whole library. A "
      "library that does not read is said once, and the last publish stands. One line per "
      "pass goes to stdout: the time, playlists written, unchanged and pruned, songs written "
      "and problems. The options are read again at each pass, and at once on SIGHUP. SIGTERM "
      "or Ctrl-C ends the watch after the current playlist, with status 0. A second watch "
      "for the same settings says so and exits with 1.\n" +
          std::string(kExitStatusHelp),
      {{"all", "", "Publish what Check All checks, as publish --all."},
       {"playlist", "NAME", "Publish the playlist of this name; may be given more than once.",
        true},
       {"poll", "SECONDS", "Check the library file this often (default 30)."},
       LibraryOption()}};
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 0, exitCode);
  if (!parsed) return exitCode;
  if (parsed->Has("all") && parsed->Has("playlist")) {
    return ReportUsageError(command, "--all and --playlist cannot be combined");
  }
  int pollSeconds = 30;
  if (parsed->Has("poll")) {
    char* end = nullptr;
    const std::string value = parsed->Value("poll");
    const long seconds = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || seconds < 1 || seconds > 86400) {
      return ReportUsageError(command, "--poll takes a number of seconds from 1 to 86400");
    }
    pollSeconds = static_cast<int>(seconds);
  }

  WatchLock lock(app.WatchLockPath());
  if (!lock.Take()) {
    PrintError("Another quorvella-cli watch is already running for the settings in \"" +
               app.Registry().Path() + "\".");
    return kExitFailed;
  }

  // The file to watch: the one given, or the one publish would find now.
  std::string libraryPath = parsed->Has("library") ? parsed->Value("library") : libraryPathBefore;
  if (libraryPath.empty()) {
    try {
      const auto found = app.OpenLibrary("", XmlITunes::Reading::OnFirstUse);
      if (const auto* xml = dynamic_cast<const XmlITunes*>(found.get())) libraryPath = xml->Path();
    } catch (const std::exception& error) {
      PrintError(error.what());
      return kExitFailed;
    }
  }

  CatchWatchSignals();
  const char* notify = std::getenv("QUORVELLA_WATCH_NOTIFY");
  LibraryWatcher watcher(libraryPath, !(notify && std::string(notify) == "0"));
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> quiet(std::fopen(kNullDevice, "w"),
                                                        &std::fclose);

  PublishPassOptions options;
  options.all = parsed->Has("all");
  if (parsed->Has("playlist")) options.playlists = parsed->Values("playlist");
  options.changedOnly = true;
  options.prune = true;
  options.out = quiet ? quiet.get() : stdout;
  options.interruptible = false;
  options.stopRequested = [] { return WatchStopRequested(); };

  const Clock::duration settle = SettleTime();
  const Clock::duration poll = std::chrono::seconds(pollSeconds);
  LibraryStamp seen = watcher.Stamp();
  Clock::time_point changedAt = Clock::now() - settle;  // the first pass waits for nothing
  Clock::time_point nextPoll = Clock::now() + poll;
  // The stamps of the file last published and last found unreadable (said
  // once until the file changes); a stamp of a file that exists is never
  // the one a missing file gives, hence the marks below for "none".
  LibraryStamp published{true, 0, 0, 0, -1};
  LibraryStamp unreadable{true, 0, 0, 0, -1};
  const LibraryStamp none{true, 0, 0, 0, -1};
  bool reread = true;
  bool look = false;  // whether to take the file's stamp now
  const long passLimit = PassLimit();
  long passes = 0;

  while (!WatchStopRequested()) {
    if (look) {
      const LibraryStamp stamp = watcher.Stamp();
      if (stamp != seen) {
        seen = stamp;
        changedAt = Clock::now();
      }
    }
    if (TakeReloadRequest()) {
      reread = true;
    }
    const bool settled = Clock::now() - changedAt >= settle;
    if (settled && (reread || (seen != published && seen != unreadable))) {
      reread = false;
      // A fresh set of services per pass: the options are read again.
      AppServices passApp;
      passApp.Registry().SetDamageHandler([&passApp](const std::string& damage) {
        PrintError(DamagedRegistryText(passApp.Registry().Path(), damage));
      });
      std::shared_ptr<IiTunes> library;
      try {
        library = passApp.OpenLibrary(libraryPath);
      } catch (const std::exception& error) {
        if (seen != unreadable) {
          Log("The library does not read; the last publish stands: " + std::string(error.what()));
        }
        unreadable = seen;
        published = none;
        continue;
      }
      // Changed again while it was read: wait for it to settle anew.
      if (watcher.Stamp() != seen) continue;
      unreadable = none;
      const PublishPassResult result = RunPublishPass(passApp, library, options);
      published = seen;
      Log(std::to_string(result.written) + " written, " + std::to_string(result.unchanged) +
          " unchanged, " + std::to_string(result.pruned) + " pruned, " +
          std::to_string(result.songs) + " songs written, " +
          std::to_string(result.problems + (result.started ? 0 : 1)) + " problems" +
          (WatchStopRequested() ? " (stopped)" : ""));
      if (passLimit > 0 && ++passes >= passLimit) break;
      continue;
    }
    // Until the next poll, or the end of the settling time when a change waits.
    const bool pending = seen != published && seen != unreadable;
    Clock::duration wait = nextPoll - Clock::now();
    if (pending) wait = std::min(wait, changedAt + settle - Clock::now());
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(wait).count();
    // At most a second, so that a signal that came just before the wait
    // is seen soon.
    look = watcher.Wait(static_cast<int>(std::clamp<long long>(ms, 0, 1000))) || pending;
    if (Clock::now() >= nextPoll) {
      nextPoll = Clock::now() + poll;
      look = true;
    }
  }
  return kExitDone;
}

}  // namespace quorvella
