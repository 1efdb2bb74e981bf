// SPDX-License-Identifier: MIT
// quorvella-cli tivo: what TiVo Desktop, pyTivo and the Universal Audio
// Plug-in left on this computer, as the program reads it.
#include <algorithm>
#include <cstdio>

#include "app/CliCommands.h"
#include "platform/NativePath.h"
#include "settings/Settings.h"
#include "tivo/Plugin.h"
#include "tivo/PublishedFolders.h"
#include "tivo/PyTivoConfig.h"
#include "tivo/TiVoDesktop.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

const char* ReleaseMeaning(TiVoDesktopRelease release) {
  switch (release) {
    case TiVoDesktopRelease::Is23:
      return "a 2.3 release";
    case TiVoDesktopRelease::Above23:
      return "after 2.3";
    case TiVoDesktopRelease::BelowOrAbsent:
      break;
  }
  return "before 2.3, or none";
}

void PrintField(const char* label, const std::string& value) {
  std::printf("%-31s%s\n", label, value.c_str());
}

const char* SkipReason(ShortcutOutcome outcome) {
  switch (outcome) {
    case ShortcutOutcome::NotAShortcut:
      return "not a shortcut";
    case ShortcutOutcome::Damaged:
      return "a damaged shortcut";
    case ShortcutOutcome::NoTarget:
      return "names no target";
    case ShortcutOutcome::WindowsTarget:
      return "a Windows path, which names nothing on this system";
    case ShortcutOutcome::TargetMissing:
      return "the target does not exist";
    case ShortcutOutcome::NotAFolder:
      return "the target is not a folder";
    case ShortcutOutcome::Published:
      break;
  }
  return "";
}

std::string HowFound(const PyTivoConfigFiles& found) {
  switch (found.source) {
    case PyTivoConfigSource::Setting:
      return "set with quorvella-cli options --pytivo-config";
    case PyTivoConfigSource::Process:
      return "read by the running pyTivo, process " + std::to_string(found.pid) + " of user " +
             ProcessUserName(found.user);
    case PyTivoConfigSource::System:
      return "the system's file; no pyTivo is running";
    case PyTivoConfigSource::None:
      break;
  }
  return "";
}

std::string ShareLine(const PyTivoShare& share) {
  switch (share.state) {
    case PyTivoShareState::Published:
      return share.name + ": " + share.path;
    case PyTivoShareState::NoPath:
      return share.name + ": (no path: not published)";
    case PyTivoShareState::RelativePath:
      return share.name + ": " + share.path + " (a relative path: not published)";
    case PyTivoShareState::Missing:
      return share.name + ": " + share.path + " (missing)";
    case PyTivoShareState::NotAFolder:
      return share.name + ": " + share.path + " (not a folder)";
  }
  return share.name;
}

// What pyTivo's configuration says: where it was found, what in it could not
// be read, the music shares and the TiVos that see only some shares.
void PrintPyTivo(const PyTivoConfig& config, const PyTivoShare* playlistShare) {
  if (config.found.source == PyTivoConfigSource::None) {
    PrintField("pyTivo configuration:", "none found");
  } else {
    std::string files;
    for (const auto& file : config.filesRead) files += (files.empty() ? "" : ", ") + file;
    PrintField("pyTivo configuration:",
               (files.empty() ? std::string("none readable") : files) + " (" +
                   HowFound(config.found) + ")");
  }
  if (!config.problems.empty()) {
    std::printf("pyTivo configuration problems:\n");
    for (const auto& problem : config.problems) {
      if (problem.line == 0) {
        std::printf("  %s: cannot be read: %s\n", problem.file.c_str(), problem.text.c_str());
      } else {
        std::printf("  %s, line %d: not understood: %s\n", problem.file.c_str(), problem.line,
                    problem.text.c_str());
      }
    }
  }
  if (config.found.source == PyTivoConfigSource::None) return;
  std::printf("pyTivo music shares:\n");
  if (config.musicShares.empty()) std::printf("  none\n");
  for (const auto& share : config.musicShares) std::printf("  %s\n", ShareLine(share).c_str());
  if (config.tivos.empty()) return;
  std::printf("TiVos that see only some shares:\n");
  for (const auto& tivo : config.tivos) {
    std::string shares;
    for (const auto& name : tivo.shares) shares += (shares.empty() ? "" : ", ") + name;
    const bool seesPlaylists =
        playlistShare == nullptr || std::find(tivo.shares.begin(), tivo.shares.end(),
                                              playlistShare->name) != tivo.shares.end();
    std::printf("  %s: %s%s\n", tivo.section.c_str(), shares.empty() ? "none" : shares.c_str(),
                seesPlaylists ? "" : " (not the playlist folder's share)");
  }
}

}  // namespace

int RunTiVo(AppServices& app, const std::vector<std::string>& args) {
  const CliCommand command{
      "tivo",
      "quorvella-cli tivo",
      "Shows what TiVo Desktop, pyTivo and the Universal Audio Plug-in left on this computer: "
      "TiVo Desktop's version (from the registry store; quorvella-cli registry import brings "
      "it over from Windows), the music folders it publishes (the shortcuts in \"TiVo "
      "Desktop/Music\" under $XDG_DATA_HOME) and the items there it passed over; pyTivo's "
      "configuration file (the one set with quorvella-cli options --pytivo-config, else the "
      "one a running pyTivo reads, else /etc/pyTivo.conf), its lines that could not be "
      "understood and its music shares; whether the playlist folder is published or lies "
      "below a published folder; and the plug-in's configuration program and configuration.",
      {}};
  int exitCode = kExitDone;
  if (!ParseCommandLine(command, args, 0, exitCode)) return exitCode;
  const RegUtil& reg = app.Reg();

  const std::string version = GetTiVoDesktopVersion(reg);
  const TiVoDesktopRelease release = GetTiVoDesktopRelease(reg);
  PrintField("TiVo Desktop version:", version.empty() ? "none installed" : version);
  PrintField("Release value:",
             std::to_string(static_cast<int>(release)) + " (" + ReleaseMeaning(release) + ")");
  PrintField("TiVo Desktop 2.3 or later:", IsTiVoDesktop23OrLater(reg) ? "yes" : "no");

  const fs::path shortcutFolder = MusicShortcutFolder();
  const auto items = ReadShortcutFolderItems(shortcutFolder);
  std::printf("Published music folders (shortcuts in %s):\n", Utf8Path(shortcutFolder).c_str());
  std::vector<std::string> folders;
  for (const auto& item : items) {
    if (item.outcome == ShortcutOutcome::Published) folders.push_back(item.target);
  }
  if (folders.empty()) std::printf("  none\n");
  for (const auto& folder : folders) std::printf("  %s\n", folder.c_str());
  if (folders.size() < items.size()) {
    std::printf("Items of the shortcut folder passed over:\n");
    for (const auto& item : items) {
      if (item.outcome == ShortcutOutcome::Published) continue;
      std::printf("  %s: %s%s\n", item.fileName.c_str(),
                  item.target.empty() ? "" : (item.target + ": ").c_str(), SkipReason(item.outcome));
    }
  }

  const std::string playlistFolder = app.LoadedSettings().GetPlaylistFolder();
  const PyTivoConfig pyTivo = ReadPyTivoConfig(reg);
  const PyTivoShare* playlistShare = pyTivo.ShareHolding(playlistFolder);
  PrintPyTivo(pyTivo, playlistShare);
  for (std::string& folder : pyTivo.PublishedFolders()) folders.push_back(std::move(folder));

  PrintField("Playlist folder:", playlistFolder.empty() ? "none chosen" : playlistFolder);
  PrintField("Playlist folder published:",
             IsFolderPublished(playlistFolder, folders) ? "yes" : "no");
  if (playlistShare != nullptr) {
    PrintField("Playlist folder's share:",
               playlistShare->name + " (" + playlistShare->path + ")");
  }

  const std::string program = GetPluginConfigProgram(reg);
  if (program.empty()) {
    PrintField("Plug-in configuration program:", "none recorded");
  } else {
    PrintField("Plug-in configuration program:",
               program + (app.Files().PathExists(program) ? " (the file exists)"
                                                          : " (the file does not exist)"));
  }
  PrintField("Plug-in configured:", IsPluginConfigured(reg) ? "yes" : "no");
  return kExitDone;
}

}  // namespace quorvella
