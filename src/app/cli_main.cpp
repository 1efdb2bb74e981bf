// SPDX-License-Identifier: MIT
// quorvella-cli: the program's second front end, for publishing from a
// script or a server. It uses the same options, catalogue, publishing pass
// and report as the window and prints the same texts.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <iostream>

#include "app/AppServices.h"
#include "app/ConsoleView.h"
#include "engine/MainController.h"
#include "engine/PathRules.h"
#include "settings/Settings.h"
#include "settings/Text.h"
#include "tivo/Plugin.h"
#include "tivo/PublishedFolders.h"
#include "tivo/TiVoDesktop.h"
#include "tivo/WebAddresses.h"

namespace quorvella {
namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

std::string S(const QString& text) { return text.toStdString(); }

int UsageError(const QString& message, const QCommandLineParser& parser) {
  std::fprintf(stderr, "quorvella-cli: %s\n\n%s", qPrintable(message), qPrintable(parser.helpText()));
  return kUsage;
}

// Parses one command's own options; handles --help. Returns false on a usage
// error (already reported).
bool ParseCommand(QCommandLineParser& parser, const QStringList& args, int& exitCode) {
  parser.addHelpOption();
  if (!parser.parse(args)) {
    exitCode = UsageError(parser.errorText(), parser);
    return false;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    exitCode = kDone;
    return false;
  }
  return true;
}

std::shared_ptr<IiTunes> OpenLibraryOrReport(AppServices& app, const std::string& path) {
  try {
    return app.OpenLibrary(path);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quorvella-cli: %s\n", ForTerminal(error.what()).c_str());
    return nullptr;
  }
}

int CommandList(AppServices& app, const std::string& libraryPath, const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Lists the playlists that can be published, in library order: kind code, whether the "
      "playlist file already exists in the playlist folder, playlist ID, name."));
  int exitCode = kDone;
  if (!ParseCommand(parser, args, exitCode)) return exitCode;
  if (!parser.positionalArguments().isEmpty()) {
    return UsageError(QStringLiteral("list takes no arguments"), parser);
  }
  const auto library = OpenLibraryOrReport(app, libraryPath);
  if (!library) return kRefused;

  ConsoleView view;
  ConsoleMessageBoxes boxes(stderr);
  MainController* controller = nullptr;
  InterruptPump pump(controller);
  MainController main(view, app.MakeMainServices(boxes, pump));
  controller = &main;
  main.SetLibrary(library);
  main.ButRefresh_Click();
  if (boxes.Shown() > 0) return kRefused;
  for (int row = 0; row < view.Count(); ++row) {
    std::printf("%d\t%s\t%s\t%s\n", view.Icon(row), view.Checked(row) ? "exists" : "-",
                view.Tag(row).c_str(), view.Text(row).c_str());
  }
  return kDone;
}

int CommandPublish(AppServices& app, const std::string& libraryPath, const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Publishes playlists into the playlist folder. Without options, the playlists whose file "
      "already exists there are published again (as the window checks them after a refresh).\n"
      "Ctrl-C stops the run after the current song; a second Ctrl-C ends the program."));
  const QCommandLineOption all(QStringLiteral("all"),
                               QStringLiteral("Publish what Check All checks: every normal, smart "
                                              "and podcast playlist except \"all rated songs\"."));
  const QCommandLineOption named(QStringLiteral("playlist"),
                                 QStringLiteral("Publish the playlist of this name (repeatable)."),
                                 QStringLiteral("NAME"));
  parser.addOption(all);
  parser.addOption(named);
  int exitCode = kDone;
  if (!ParseCommand(parser, args, exitCode)) return exitCode;
  if (!parser.positionalArguments().isEmpty()) {
    return UsageError(QStringLiteral("unexpected argument: ") + parser.positionalArguments().first(),
                      parser);
  }
  if (parser.isSet(all) && parser.isSet(named)) {
    return UsageError(QStringLiteral("--all and --playlist cannot be combined"), parser);
  }
  const auto library = OpenLibraryOrReport(app, libraryPath);
  if (!library) return kRefused;

  ConsoleView view;
  ConsoleMessageBoxes boxes;
  MainController* controller = nullptr;
  InterruptPump pump(controller);
  MainController main(view, app.MakeMainServices(boxes, pump));
  controller = &main;
  main.SetLibrary(library);
  main.ButRefresh_Click();
  if (boxes.Shown() > 0) return kRefused;

  if (parser.isSet(all)) {
    main.ButCheckAll_Click();
  } else if (parser.isSet(named)) {
    main.ButCheckNone_Click();
    for (const QString& name : parser.values(named)) {
      bool found = false;
      for (int row = 0; row < view.Count(); ++row) {
        if (view.Text(row) == S(name)) {
          view.SetChecked(row, true);
          found = true;
        }
      }
      if (!found) {
        std::fprintf(stderr, "quorvella-cli: no playlist named \"%s\" can be published\n",
                     qPrintable(name));
        return kRefused;
      }
    }
  }
  main.ButPublish_Click();
  if (!view.RunStarted()) return kRefused;
  return view.LastStatus() == "Done" ? kDone : kRefused;
}

void PrintOptions(Settings& settings) {
  std::printf("Playlist folder:      %s\n", settings.GetPlaylistFolder().c_str());
  std::printf("Delete empty output:  %s\n", settings.GetDeleteEmptyOutput() ? "yes" : "no");
  std::printf("Publishing mode:      %s\n",
              settings.GetEnhancedPlugInMode() ? "enhanced" : "standard");
  std::printf("File types (published in enhanced mode when checked):\n");
  for (const auto& entry : settings.FileTypes()) {
    std::printf("  [%c] %-6s %s\n", entry.Checked ? 'x' : ' ', entry.Ext.c_str(),
                FileTypeDescription(entry.Ext).c_str());
  }
}

int CommandOptions(AppServices& app, const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Prints the options and the file type catalogue, after any changes given."));
  const QCommandLineOption folder(QStringLiteral("playlist-folder"),
                                  QStringLiteral("The folder in which to create playlists."),
                                  QStringLiteral("DIR"));
  const QCommandLineOption deleteEmpty(QStringLiteral("delete-empty"),
                                       QStringLiteral("Delete playlists that end up empty."),
                                       QStringLiteral("yes|no"));
  const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("The publishing mode."),
                                QStringLiteral("standard|enhanced"));
  const QCommandLineOption check(QStringLiteral("check"),
                                 QStringLiteral("Publish this file type in enhanced mode."),
                                 QStringLiteral("EXT"));
  const QCommandLineOption uncheck(QStringLiteral("uncheck"),
                                   QStringLiteral("Do not publish this file type."),
                                   QStringLiteral("EXT"));
  parser.addOptions({folder, deleteEmpty, mode, check, uncheck});
  int exitCode = kDone;
  if (!ParseCommand(parser, args, exitCode)) return exitCode;
  if (!parser.positionalArguments().isEmpty()) {
    return UsageError(QStringLiteral("unexpected argument: ") + parser.positionalArguments().first(),
                      parser);
  }

  // Validate everything before storing anything, as the dialog's OK does.
  std::optional<bool> newDeleteEmpty;
  if (parser.isSet(deleteEmpty)) {
    const QString v = parser.value(deleteEmpty).toLower();
    if (v != QLatin1String("yes") && v != QLatin1String("no")) {
      return UsageError(QStringLiteral("--delete-empty takes yes or no"), parser);
    }
    newDeleteEmpty = v == QLatin1String("yes");
  }
  std::optional<bool> newEnhanced;
  if (parser.isSet(mode)) {
    const QString v = parser.value(mode).toLower();
    if (v != QLatin1String("standard") && v != QLatin1String("enhanced")) {
      return UsageError(QStringLiteral("--mode takes standard or enhanced"), parser);
    }
    newEnhanced = v == QLatin1String("enhanced");
  }
  Settings& settings = app.LoadedSettings();
  for (const QString& ext : parser.values(uncheck)) {
    if (LowerCase(S(ext)) == "mp3") {
      std::fprintf(stderr, "The file type \"mp3\" must remain checked.\n");
      return kRefused;
    }
  }
  std::optional<std::string> newFolder;
  if (parser.isSet(folder)) {
    std::string dir = TrimSpaces(S(parser.value(folder)));
    // A relative folder means one below the current directory.
    if (!dir.empty() && dir.front() != '/') {
      dir = S(QDir::current().absoluteFilePath(QString::fromStdString(dir)));
    }
    if (!dir.empty() && !app.Files().PathExists(dir)) {
      std::fprintf(stderr, "The specified folder does not exist.\n");
      return kRefused;
    }
    newFolder = dir;
  }

  if (newFolder) {
    if (!IsFolderPublished(*newFolder)) {
      std::printf("%s\n\n", ForTerminal(UnpublishedFolderWarning(*newFolder)).c_str());
    }
    settings.SetPlaylistFolder(*newFolder);
  }
  if (newDeleteEmpty) settings.SetDeleteEmptyOutput(*newDeleteEmpty);
  if (newEnhanced) {
    if (*newEnhanced && !IsPluginConfigured(app.Reg())) {
      std::printf("Note: the Universal Audio Plug-in does not appear to be installed; without it "
                  "TiVo plays only MP3 files.\n\n");
    }
    settings.SetEnhancedPlugInMode(*newEnhanced);
  }
  for (const QString& ext : parser.values(check)) settings.SetFileTypeChecked(LowerCase(S(ext)), true);
  for (const QString& ext : parser.values(uncheck)) {
    settings.SetFileTypeChecked(LowerCase(S(ext)), false);
  }
  PrintOptions(settings);
  return kDone;
}

int Main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("quorvella-cli"));
  QCoreApplication::setApplicationVersion(QStringLiteral("1.3"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Publishes the playlists of an iTunes library as M3U files for a TiVo box.\n\n"
      "Commands:\n"
      "  list      list the playlists that can be published\n"
      "  publish   publish playlists into the playlist folder\n"
      "  options   show or change the options\n"
      "  tivo      show what TiVo Desktop and the Universal Audio Plug-in left on this computer\n"
      "  registry  import or export the stored settings (.reg format)\n\n"
      "Run quorvella-cli COMMAND --help for a command's options."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption library(QStringLiteral("library"),
                                   QStringLiteral("The iTunes library file (XML) to read."),
                                   QStringLiteral("FILE"));
  parser.addOption(library);
  parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do."),
                               QStringLiteral("COMMAND [options]"));
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  if (!parser.parse(application.arguments())) return UsageError(parser.errorText(), parser);
  if (parser.isSet(QStringLiteral("help"))) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    return kDone;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    std::puts("quorvella-cli 1.3");
    return kDone;
  }
  QStringList rest = parser.positionalArguments();
  if (rest.isEmpty()) return UsageError(QStringLiteral("no command given"), parser);
  const QString command = rest.takeFirst();
  rest.prepend(QStringLiteral("quorvella-cli ") + command);
  const std::string libraryPath = S(parser.value(library));

  AppServices app;
  if (command == QLatin1String("list")) return CommandList(app, libraryPath, rest);
  if (command == QLatin1String("publish")) return CommandPublish(app, libraryPath, rest);
  if (command == QLatin1String("options")) return CommandOptions(app, rest);
  return UsageError(QStringLiteral("unknown command: ") + command, parser);
}

}  // namespace
}  // namespace quorvella

int main(int argc, char** argv) { return quorvella::Main(argc, argv); }
