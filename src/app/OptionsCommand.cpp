// SPDX-License-Identifier: MIT
// quorvella-cli options: the Options dialog's settings and rules from the
// command line.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/CliCommands.h"
#include "app/ConsoleView.h"
#include "settings/Settings.h"
#include "platform/NativePath.h"
#include "platform/Text.h"
#include "tivo/OptionsTexts.h"
#include "tivo/Plugin.h"
#include "tivo/PublishedFolders.h"
#include "tivo/PyTivoConfig.h"

namespace quorvella {
namespace {

// "MP3", ".ogg " and "ogg" all name the file type ogg.
std::string FileTypeName(const std::string& given) {
  std::string ext = TrimSpaces(given);
  if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
  return LowerCase(ext);
}

std::optional<bool> ParseChoice(const std::string& value, const char* yes, const char* no) {
  const std::string v = LowerAscii(TrimSpaces(value));
  if (v == yes) return true;
  if (v == no) return false;
  return std::nullopt;
}

void PrintOptions(Settings& settings, const std::string& pyTivoConfig) {
  std::printf("Playlist folder:      %s\n", settings.GetPlaylistFolder().c_str());
  std::printf("Delete empty output:  %s\n", settings.GetDeleteEmptyOutput() ? "yes" : "no");
  std::printf("Publishing mode:      %s\n",
              settings.GetEnhancedPlugInMode() ? "enhanced" : "standard");
  const PlaylistEncoding encoding = settings.GetPlaylistEncoding();
  std::printf("Playlist encoding:    %s (%s files)\n",
              std::string(PlaylistEncodingName(encoding)).c_str(),
              encoding == PlaylistEncoding::Utf8 ? ".m3u8" : ".m3u");
  std::printf("pyTivo configuration: %s\n",
              pyTivoConfig.empty() ? "looked for (see quorvella-cli tivo)" : pyTivoConfig.c_str());
  std::printf("File types (published in enhanced mode when checked):\n");
  for (const auto& entry : settings.FileTypes()) {
    std::printf("  [%c] %-6s %s\n", entry.Checked ? 'x' : ' ', entry.Ext.c_str(),
                FileTypeDescription(entry.Ext).c_str());
  }
}

}  // namespace

int RunOptions(AppServices& app, const std::vector<std::string>& args) {
  const CliCommand command{
      "options",
      "quorvella-cli options [--playlist-folder DIR] [--delete-empty yes|no] "
      "[--mode standard|enhanced] [--check EXT] [--uncheck EXT] [--encoding ansi|utf-8] "
      "[--pytivo-config FILE]",
      "Changes the options as given and prints them with the file type catalogue. Nothing is "
      "stored unless every change given is accepted. A playlist folder that neither TiVo "
      "Desktop nor pyTivo publishes is accepted with a warning.",
      {{"playlist-folder", "DIR", "The folder in which to create the playlists."},
       {"delete-empty", "yes|no", "Whether a playlist that ends up empty is deleted."},
       {"mode", "standard|enhanced",
        "Standard publishes only MP3 files; enhanced publishes the checked file types, for "
        "computers with the Universal Audio Plug-in."},
       {"check", "EXT", "Publish this file type in enhanced mode; may be given more than once.",
        true},
       {"uncheck", "EXT",
        "Do not publish this file type; may be given more than once. mp3 stays checked.", true},
       {"encoding", "ansi|utf-8",
        "How playlists are written: ansi gives NAME.m3u in the code page of the user's locale "
        "(the default); utf-8 gives NAME.m3u8 in UTF-8, which pyTivo reads with every name "
        "intact."},
       {"pytivo-config", "FILE",
        "pyTivo's configuration file, whose music shares count as published folders; an empty "
        "FILE clears it, so that the file a running pyTivo reads, or /etc/pyTivo.conf, is "
        "used."}}};
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 0, exitCode);
  if (!parsed) return exitCode;

  // Everything is checked before anything is stored, as the dialog's OK does.
  std::optional<bool> deleteEmpty;
  if (parsed->Has("delete-empty")) {
    deleteEmpty = ParseChoice(parsed->Value("delete-empty"), "yes", "no");
    if (!deleteEmpty) return ReportUsageError(command, "--delete-empty takes yes or no");
  }
  std::optional<bool> enhanced;
  if (parsed->Has("mode")) {
    enhanced = ParseChoice(parsed->Value("mode"), "enhanced", "standard");
    if (!enhanced) return ReportUsageError(command, "--mode takes standard or enhanced");
  }
  std::optional<PlaylistEncoding> encoding;
  if (parsed->Has("encoding")) {
    encoding = ParsePlaylistEncoding(parsed->Value("encoding"));
    if (!encoding) return ReportUsageError(command, "--encoding takes ansi or utf-8");
  }
  std::vector<std::string> checks;
  std::vector<std::string> unchecks;
  for (const auto& ext : parsed->Values("check")) checks.push_back(FileTypeName(ext));
  for (const auto& ext : parsed->Values("uncheck")) unchecks.push_back(FileTypeName(ext));
  for (const auto& ext : checks) {
    if (std::find(unchecks.begin(), unchecks.end(), ext) != unchecks.end()) {
      return ReportUsageError(command, "--check and --uncheck both name \"" + ext + "\"");
    }
  }

  Settings& settings = app.LoadedSettings();
  const auto& types = settings.FileTypes();
  for (const auto* list : {&checks, &unchecks}) {
    for (const auto& ext : *list) {
      const bool known = std::any_of(types.begin(), types.end(),
                                     [&](const FileTypeEntry& e) { return e.Ext == ext; });
      if (!known) {
        std::string names;
        for (const auto& entry : types) names += (names.empty() ? "" : ", ") + entry.Ext;
        PrintError("The file type \"" + ext + "\" is not in the list of file types (" + names +
                   ").");
        return kExitFailed;
      }
    }
  }
  if (std::find(unchecks.begin(), unchecks.end(), "mp3") != unchecks.end()) {
    PrintError(std::string(Mp3MustRemainCheckedText));
    return kExitFailed;
  }
  std::optional<std::string> folder;
  if (parsed->Has("playlist-folder")) {
    std::filesystem::path dir = NativePath(TrimSpaces(parsed->Value("playlist-folder")));
    std::error_code error;
    if (!dir.empty()) dir = std::filesystem::absolute(dir, error).lexically_normal();
    // A playlist folder is a folder: a file of that name will not do either.
    if (dir.empty() || error || !std::filesystem::is_directory(dir, error)) {
      PrintError(std::string(FolderDoesNotExistText));
      return kExitFailed;
    }
    // "/music/" and "/music" are one folder; keep the form without the slash.
    if (!dir.has_filename() && dir.has_relative_path()) dir = dir.parent_path();
    folder = Utf8Path(dir);
  }

  std::optional<std::string> pyTivoConfig;
  if (parsed->Has("pytivo-config")) {
    std::filesystem::path file(TrimSpaces(parsed->Value("pytivo-config")));
    std::error_code error;
    if (!file.empty()) file = std::filesystem::absolute(file, error).lexically_normal();
    pyTivoConfig = file.string();
  }

  // Set first, so that the folder is checked against the shares it names.
  if (pyTivoConfig) SetPyTivoConfigSetting(app.Reg(), *pyTivoConfig);
  if (folder) {
    if (!IsFolderPublished(*folder, app.Reg())) {
      std::fprintf(stderr, "%s\n\n", ForTerminal(UnpublishedFolderWarning(*folder)).c_str());
    }
    settings.SetPlaylistFolder(*folder);
  }
  if (deleteEmpty) settings.SetDeleteEmptyOutput(*deleteEmpty);
  if (enhanced) {
    if (*enhanced && !IsPluginConfigured(app.Reg())) {
      std::fprintf(stderr, "%s\n\n", ForTerminal(EnhancedModeWarning()).c_str());
    }
    settings.SetEnhancedPlugInMode(*enhanced);
  }
  if (encoding) settings.SetPlaylistEncoding(*encoding);
  for (const auto& ext : checks) settings.SetFileTypeChecked(ext, true);
  for (const auto& ext : unchecks) settings.SetFileTypeChecked(ext, false);

  // The setters cannot report a store that refuses writes; what the next
  // start would read tells.
  Settings stored(app.Reg());
  stored.LoadSettings();
  if (stored.GetPlaylistFolder() != settings.GetPlaylistFolder() ||
      stored.GetDeleteEmptyOutput() != settings.GetDeleteEmptyOutput() ||
      stored.GetEnhancedPlugInMode() != settings.GetEnhancedPlugInMode() ||
      stored.FileTypes() != settings.FileTypes() ||
      stored.GetPlaylistEncoding() != settings.GetPlaylistEncoding() ||
      (pyTivoConfig && GetPyTivoConfigSetting(app.Reg()) != *pyTivoConfig)) {
    const std::string problem = app.Registry().WriteProblem();
    PrintError("The options could not be stored in \"" + app.Registry().Path() + "\"" +
               (problem.empty() ? "." : ": " + problem + "."));
    return kExitFailed;
  }
  const std::string pyTivoFile = GetPyTivoConfigSetting(app.Reg());
  PrintOptions(settings, pyTivoFile);
  // A file the user named must be readable; what else is wrong with it
  // quorvella-cli tivo tells.
  if (!pyTivoFile.empty()) {
    const PyTivoConfig config =
        ReadPyTivoConfigFiles({PyTivoConfigSource::Setting, {pyTivoFile}, 0, 0});
    for (const auto& problem : config.problems) {
      if (problem.line != 0) continue;
      std::fprintf(stderr, "pyTivo's configuration file \"%s\" cannot be read: %s.\n",
                   problem.file.c_str(), problem.text.c_str());
    }
  }
  return kExitDone;
}

}  // namespace quorvella
