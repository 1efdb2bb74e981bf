// SPDX-License-Identifier: MIT
// quorvella-cli tivo: what TiVo Desktop and the Universal Audio Plug-in left
// on this computer, as the program reads it.
#include <cstdio>

#include "app/CliCommands.h"
#include "settings/Settings.h"
#include "tivo/Plugin.h"
#include "tivo/PublishedFolders.h"
#include "tivo/TiVoDesktop.h"

namespace quorvella {
namespace {

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

}  // namespace

int RunTiVo(AppServices& app, const std::vector<std::string>& args) {
  const CliCommand command{
      "tivo",
      "quorvella-cli tivo",
      "Shows what TiVo Desktop and the Universal Audio Plug-in left on this computer: TiVo "
      "Desktop's version (from the registry store; quorvella-cli registry import brings it "
      "over from Windows), the music folders it publishes (the shortcuts in \"TiVo "
      "Desktop/Music\" under $XDG_DATA_HOME), whether the playlist folder is one of them or "
      "lies below one, and the plug-in's configuration program and configuration.",
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

  const auto folders = GetPublishedMusicFolders();
  const std::string shortcuts = MusicShortcutFolder().string();
  std::printf("Published music folders (shortcuts in %s):\n", shortcuts.c_str());
  if (folders.empty()) std::printf("  none\n");
  for (const auto& folder : folders) std::printf("  %s\n", folder.c_str());

  const std::string playlistFolder = app.LoadedSettings().GetPlaylistFolder();
  PrintField("Playlist folder:", playlistFolder.empty() ? "none chosen" : playlistFolder);
  PrintField("Playlist folder published:",
             IsFolderPublished(playlistFolder, folders) ? "yes" : "no");

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
