// SPDX-License-Identifier: MIT
// quorvella-cli registry import and export: moving registry entries, such as
// what TiVo Desktop and the plug-in left on a Windows computer, into and out
// of the program's registry store.
#include <cerrno>
#include <cstdio>
#include <cstring>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "app/CliCommands.h"
#include "app/ConsoleView.h"
#include "app/RegularFile.h"
#include "settings/RegFile.h"
#include "platform/Text.h"
#include "platform/TextEncoding.h"

namespace quorvella {
namespace {

const CliCommand& RegistryCommand() {
  static const CliCommand command{
      "registry",
      "quorvella-cli registry import FILE.reg | registry export [KEY]",
#ifdef _WIN32
      "Moves registry entries into and out of the registry of the current user, which holds "
      "the options (HKEY_CURRENT_USER\\Software\\Brenlow Software\\Quorvella) and what TiVo "
      "Desktop and the Universal Audio Plug-in left; export without a key prints the options' "
      "key. Run quorvella-cli registry import --help or registry export --help for each.",
#else
      "Moves registry entries into and out of the program's registry store "
      "($XDG_CONFIG_HOME/Quorvella/registry.reg), which holds the options and what TiVo "
      "Desktop and the Universal Audio Plug-in left. Run quorvella-cli registry import --help "
      "or registry export --help for each.",
#endif
      {}};
  return command;
}

const CliCommand& ImportCommand() {
  static const CliCommand command{
      "registry import",
      "quorvella-cli registry import FILE.reg",
      "Merges a .reg file (\"Windows Registry Editor Version 5.00\" or \"REGEDIT4\", in "
      "UTF-16 or UTF-8) into the registry store: its deletions are carried out, then its keys "
      "and values are added, replacing values of the same name; everything else stays. Keys "
      "of hives other than HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT are "
      "skipped. For example, export HKEY_CURRENT_USER\\Software\\TiVo\\Desktop with regedit "
      "on a Windows computer and import it here to keep TiVo Desktop's version and the "
      "plug-in's list of extra file types.",
      {}};
  return command;
}

const CliCommand& ExportCommand() {
  static const CliCommand command{
      "registry export",
      "quorvella-cli registry export [--utf16] [KEY]",
      "Prints the registry store, or one key (such as "
      "HKEY_CURRENT_USER\\Software\\TiVo\\Desktop) with everything below it, in the .reg "
#ifdef _WIN32
      "format. The text is UTF-8 with CR LF line ends, which registry import reads back as it "
      "is; --utf16 gives the bytes regedit expects instead.",
#else
      "format. The text is UTF-8 with LF line ends, which registry import reads back as it "
      "is; --utf16 gives the bytes regedit on Windows expects instead.",
#endif
      {{"utf16", "", "Print UTF-16LE with a byte order mark and CR LF line ends."}}};
  return command;
}

std::string KeyName(Hive hive, const std::string& path) {
  return std::string(HiveName(hive)) + "\\" + path;
}

int RunImport(AppServices& app, const std::vector<std::string>& args) {
  const CliCommand& command = ImportCommand();
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 1, exitCode);
  if (!parsed) return exitCode;
  if (parsed->Positional().empty()) return ReportUsageError(command, "no .reg file given");
  const std::string& file = parsed->Positional().front();

  const ReadResult read = ReadRegularFile(file);
  if (!read.ok) {
    PrintError("The file \"" + file + "\" cannot be read: " + read.error + ".");
    return kExitFailed;
  }
  const RegParseResult parse = ParseRegFile(read.bytes);
  if (parse.error) {
    PrintError("The file \"" + file +
               "\" is not a registry file that can be imported: " + parse.error->Text() + ".");
    return kExitFailed;
  }
  OptionStore& store = app.Registry();
  if (!store.Import(parse.document)) {
    const std::string problem = store.WriteProblem();
#ifdef _WIN32
    // The store is the registry itself, not a file of it.
    PrintError("The registry key " + store.Path() + " could not be written" +
               (problem.empty() ? "." : ": " + problem + "."));
#else
    PrintError("The registry store \"" + store.Path() + "\" could not be written" +
               (problem.empty() ? "." : ": " + problem + "."));
#endif
    return kExitFailed;
  }
  if (!store.DamagedCopy().empty()) {
    PrintError("The registry store could not be read; it was kept as \"" + store.DamagedCopy() +
               "\" and a new one was started.");
  }

#ifdef _WIN32
  std::printf("Imported %s into the registry:\n", file.c_str());
#else
  std::printf("Imported %s into %s:\n", file.c_str(), store.Path().c_str());
#endif
  for (const auto& deletion : parse.document.deletions) {
    const std::string key = KeyName(deletion.hive, deletion.keyPath);
    if (deletion.valueName) {
      std::printf("  deleted value \"%s\" of %s\n", deletion.valueName->c_str(), key.c_str());
    } else {
      std::printf("  deleted %s\n", key.c_str());
    }
  }
  // Keys that only lead to the keys below them were not named in the file.
  const auto keys = parse.document.tree.Keys();
  std::size_t keyCount = 0;
  std::size_t valueCount = 0;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const bool hasChild =
        i + 1 < keys.size() && keys[i + 1]->hive == keys[i]->hive &&
        StartsWith(LowerAscii(keys[i + 1]->path), LowerAscii(keys[i]->path) + "\\");
    if (keys[i]->values.empty() && hasChild) continue;
    ++keyCount;
    valueCount += keys[i]->values.size();
    std::printf("  %s: %zu value%s\n", KeyName(keys[i]->hive, keys[i]->path).c_str(),
                keys[i]->values.size(), keys[i]->values.size() == 1 ? "" : "s");
  }
  std::printf("%zu key%s, %zu value%s", keyCount, keyCount == 1 ? "" : "s", valueCount,
              valueCount == 1 ? "" : "s");
  const std::size_t deletions = parse.document.deletions.size();
  if (deletions > 0) std::printf(", %zu deletion%s", deletions, deletions == 1 ? "" : "s");
  std::printf(".\n");
  return kExitDone;
}

int RunExport(AppServices& app, const std::vector<std::string>& args) {
  const CliCommand& command = ExportCommand();
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 1, exitCode);
  if (!parsed) return exitCode;

  OptionStore& store = app.Registry();
  std::string bytes;
  if (parsed->Positional().empty()) {
    bytes = store.Export();
  } else {
    const std::string& key = parsed->Positional().front();
    const auto backslash = key.find('\\');
    const auto hive = HiveFromName(key.substr(0, backslash));
    std::string path = backslash == std::string::npos ? std::string() : key.substr(backslash + 1);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    if (!hive || path.empty()) {
      return ReportUsageError(command, "\"" + key +
                                           "\" is not a registry key: it begins with "
                                           "HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or "
                                           "HKEY_CLASSES_ROOT and a backslash");
    }
    const auto exported = store.Export(*hive, path);
    if (!exported) {
#ifdef _WIN32
      PrintError("The key \"" + key + "\" is not in the registry.");
#else
      PrintError("The key \"" + key + "\" is not in the registry store \"" + store.Path() + "\".");
#endif
      return kExitFailed;
    }
    bytes = *exported;
  }

  if (!parsed->Has("utf16")) {
    constexpr std::string_view kBom = "\xFF\xFE";
    std::string_view utf16 = bytes;
    if (utf16.substr(0, kBom.size()) == kBom) utf16.remove_prefix(kBom.size());
    bytes = ForTerminal(Utf16LeToUtf8(utf16));
  }
#ifdef _WIN32
  // Text mode would put a CR before every 0x0A byte of the UTF-16; UTF-8
  // text gets CR LF line ends there, as Windows' text does.
  if (parsed->Has("utf16")) _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
      std::fflush(stdout) != 0) {
    PrintError(std::string("The export could not be written: ") + std::strerror(errno) + ".");
    return kExitFailed;
  }
  return kExitDone;
}

}  // namespace

int RunRegistry(AppServices& app, const std::vector<std::string>& args) {
  const CliCommand& command = RegistryCommand();
  const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
  if (!args.empty() && args.front() == "import") return RunImport(app, rest);
  if (!args.empty() && args.front() == "export") return RunExport(app, rest);
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 0, exitCode);
  if (!parsed) return exitCode;
  return ReportUsageError(command, "import or export must follow registry");
}

}  // namespace quorvella
