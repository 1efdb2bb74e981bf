// SPDX-License-Identifier: MIT
// quorvella-cli: the program's second front end, for publishing from a
// script or a server. It uses the same options, catalogue, publishing pass
// and report as the window and prints the same texts.
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppServices.h"
#include "app/CliCommands.h"
#include "app/ConsoleView.h"
#include "app/ProgramArguments.h"
#include "platform/Heap.h"

namespace quorvella {

int ReportUsageError(const CliCommand& command, const std::string& message) {
  const std::string name = command.name.empty() ? std::string(kProgramName)
                                                : std::string(kProgramName) + " " + command.name;
  std::fprintf(stderr, "%s: %s\nRun '%s --help' for its usage.\n", name.c_str(), message.c_str(),
               name.c_str());
  return kExitUsage;
}

std::optional<CliArguments> ParseCommandLine(const CliCommand& command,
                                             const std::vector<std::string>& args,
                                             std::size_t maxPositional, int& exitCode) {
  std::string error;
  auto parsed = ParseCliArguments(command, args, error);
  if (!parsed) {
    exitCode = ReportUsageError(command, error);
    return std::nullopt;
  }
  if (parsed->HelpWanted()) {
    std::fputs(CliHelpText(command).c_str(), stdout);
    exitCode = kExitDone;
    return std::nullopt;
  }
  if (parsed->Positional().size() > maxPositional) {
    exitCode =
        ReportUsageError(command, "unexpected argument: " + parsed->Positional()[maxPositional]);
    return std::nullopt;
  }
  return parsed;
}

namespace {

const CliCommand& ProgramCommand() {
  static const CliCommand command{
      "",
      "quorvella-cli [--library FILE] COMMAND [options]",
      "Publishes the playlists of an iTunes library as M3U files into a folder that TiVo "
      "Desktop publishes, so that a TiVo box can play them.\n\n"
      "Commands:\n"
      "  list      list the playlists that can be published\n"
      "  publish   publish playlists into the playlist folder\n"
      "  watch     publish again whenever the library file changes\n"
      "  options   show or change the options\n"
      "  tivo      show what TiVo Desktop and the Universal Audio Plug-in left here\n"
      "  registry  import or export registry entries (.reg files)\n"
      "  mappings  map the song locations of a library from another computer\n\n"
      "Run quorvella-cli COMMAND --help for a command's options.\n" +
          std::string(kExitStatusHelp),
      {LibraryOption(), {"version", "", "Shows the program's version."}}};
  return command;
}

int Main(const std::vector<std::string>& argv) {
  // The user's locale for the system's own texts (error descriptions).
  std::setlocale(LC_ALL, "");

  // The program's own options come before the command; the command's name
  // and everything after it belong to the command.
  std::vector<std::string> global;
  std::vector<std::string> rest;
  const CliCommand& program = ProgramCommand();
  const std::size_t argc = argv.size();
  for (std::size_t i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!rest.empty() || (arg.size() > 0 && arg[0] != '-')) {
      rest.push_back(arg);
    } else {
      global.push_back(arg);
      // The value of --library FILE is not the command.
      if (arg == "--library" && i + 1 < argc) global.push_back(argv[++i]);
    }
  }
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(program, global, 0, exitCode);
  if (!parsed) return exitCode;
  if (parsed->Has("version")) {
    std::puts("quorvella-cli 1.3");
    return kExitDone;
  }
  if (rest.empty()) return ReportUsageError(program, "no command given");
  const std::string command = rest.front();
  rest.erase(rest.begin());
  const std::string libraryPath = parsed->Value("library");

  AppServices app;
  // A damaged file of options reads as the defaults; the user hears of it
  // once, when a command first reads it.
  app.Registry().SetDamageHandler([&app](const std::string& damage) {
    PrintError(DamagedRegistryText(app.Registry().Path(), damage));
  });
  if (command == "list") return RunList(app, libraryPath, rest);
  if (command == "publish") return RunPublish(app, libraryPath, rest);
  if (command == "watch") return RunWatch(app, libraryPath, rest);
  if (command == "options") return RunOptions(app, rest);
  if (command == "tivo") return RunTiVo(app, rest);
  if (command == "registry") return RunRegistry(app, rest);
  if (command == "mappings") return RunMappings(app, libraryPath, rest);
  return ReportUsageError(program, "unknown command: " + command);
}

}  // namespace
}  // namespace quorvella

int main(int argc, char** argv) {
  quorvella::ShareOneHeap();
  return quorvella::Main(quorvella::ProgramArguments(argc, argv));
}
