// SPDX-License-Identifier: MIT
// quorvella-cli mappings: the rules that carry the locations of a library
// written on another computer onto this one, and the help to find them.
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

#include "app/CliCommands.h"
#include "app/ConsoleView.h"
#include "engine/CountFormat.h"
#include "engine/MappingCheck.h"
#include "engine/MappingSuggest.h"
#include "library/LocationMappingStore.h"
#include "library/xml/FileUrl.h"
#include "library/xml/LibraryLocation.h"
#include "platform/NativePath.h"
#include "platform/Text.h"

namespace quorvella {
namespace {

const CliCommand& MappingsCommand() {
  static const CliCommand command{
      "mappings",
      "quorvella-cli mappings list | mappings add FROM TO | mappings remove FROM | mappings check | "
      "mappings suggest [--search DIR ...] [--apply]",
      "Maps the song locations of a library written on another computer (a Windows PC or a "
      "Mac) onto the folders where this computer finds the same files. A location that begins "
      "with FROM, compared by whole folder names (Windows paths without regard to letter case "
      "and with either separator), is read as the same path under TO; the longest matching "
      "FROM wins. The mappings are kept with the options (registry key "
      "HKEY_CURRENT_USER\\Software\\Brenlow Software\\Quorvella\\Mappings) and apply to list, "
      "publish and the window. Run quorvella-cli mappings COMMAND --help for each command.",
      {}};
  return command;
}

const CliCommand& ListCommand() {
  static const CliCommand command{"mappings list",
                                  "quorvella-cli mappings list",
                                  "Prints the mappings, one line each: FROM, a tab and TO.",
                                  {}};
  return command;
}

const CliCommand& AddCommand() {
  static const CliCommand command{
      "mappings add",
      "quorvella-cli mappings add FROM TO",
      "Maps the locations that begin with FROM onto the folder TO of this computer. FROM is a "
      "full path as the library names it: C:\\Users\\Adam\\Music\\iTunes\\iTunes Media, "
      "\\\\nas\\music, /Volumes/data, or a file:// address as the library file writes it. TO "
      "must be an existing folder. A mapping for the same FROM is replaced.",
      {}};
  return command;
}

const CliCommand& RemoveCommand() {
  static const CliCommand command{
      "mappings remove", "quorvella-cli mappings remove FROM", "Removes the mapping of FROM.", {}};
  return command;
}

const CliCommand& CheckCommand() {
  static const CliCommand command{
      "mappings check",
      "quorvella-cli [--library FILE] mappings check",
      "Prints, for each mapping, how many of the library's tracks it maps and how many of "
      "those are found; then the tracks that no mapping covers and that are not found, "
      "counted by the folder they share: the places to map first.",
      {LibraryOption()}};
  return command;
}

const CliCommand& SuggestCommand() {
  static const CliCommand command{
      "mappings suggest",
      "quorvella-cli [--library FILE] mappings suggest [--search DIR ...] [--apply]",
      "Looks for folders of this computer that hold the songs the library names but that are "
      "not found, and proposes mappings for them, each with the share of sampled songs it "
      "finds. The library's music folder is tried first, then each folder that \"mappings "
      "check\" lists. Without --search it looks in the music folder of the desktop and "
      "under /media, /mnt and /srv.",
      {{"search", "DIR", "Look in this folder; may be given more than once.", true},
       {"apply", "", "Store the proposed mappings."},
       {"depth", "N", "How many folder levels below each search folder to look at (8)."},
       {"seconds", "N", "How long to search at most (20)."},
       LibraryOption()}};
  return command;
}

std::string LibraryPathOf(const CliArguments& args, const std::string& givenBefore) {
  return args.Has("library") ? args.Value("library") : givenBefore;
}

// A FROM as given: trimmed, and a file address turned into its path.
std::string FromArgument(const std::string& given) {
  std::string from = TrimSpaces(given);
  if (IsFileUrl(from)) {
    if (auto path = FileUrlToPath(from)) from = std::move(*path);
  }
  return from;
}

void PrintRules(const LocationMappings& mappings) {
  for (const LocationMapping& rule : mappings.Rules()) {
    std::printf("%s\t%s\n", rule.from.c_str(), rule.to.c_str());
  }
  if (mappings.Empty()) {
    std::fputs("No mappings are stored: locations are read as the library names them.\n", stderr);
  }
}

bool Store(AppServices& app, const LocationMappings& mappings) {
  if (SaveLocationMappings(app.Reg(), mappings)) return true;
  PrintError("The mappings could not be stored in \"" + app.Registry().Path() + "\".");
  return false;
}

// Refuses a rule that cannot be stored or cannot work; the reason goes to
// stderr.
bool Acceptable(const LocationMapping& rule) {
  const auto problem = MappingProblem(rule);
  if (problem) PrintError(*problem);
  return !problem;
}

// The folder as an absolute path without a trailing slash, or nullopt (said
// on stderr) when it is not an existing folder.
std::optional<std::string> ExistingFolder(const std::string& given) {
  std::filesystem::path dir = NativePath(TrimSpaces(given));
  std::error_code error;
  if (!dir.empty()) dir = std::filesystem::absolute(dir, error).lexically_normal();
  if (dir.empty() || error || !std::filesystem::exists(dir, error)) {
    PrintError("The folder \"" + given + "\" does not exist.");
    return std::nullopt;
  }
  if (!std::filesystem::is_directory(dir, error)) {
    PrintError("\"" + given + "\" is not a folder.");
    return std::nullopt;
  }
  // "/music/" and "/music" are one folder; "/" and C:\ stay as they are.
  if (!dir.has_filename() && dir.has_relative_path()) dir = dir.parent_path();
  return Utf8Path(dir);
}

// Adds a rule and says when it replaces one.
void AddRule(LocationMappings& mappings, const LocationMapping& rule) {
  if (const auto existing = mappings.Find(rule.from)) {
    const LocationMapping& old = mappings.Rules()[*existing];
    std::printf("The mapping of %s to %s is replaced.\n", old.from.c_str(), old.to.c_str());
  }
  mappings.Add(rule);
}

int RunMappingsList(AppServices& app, const std::vector<std::string>& args) {
  int exitCode = kExitDone;
  if (!ParseCommandLine(ListCommand(), args, 0, exitCode)) return exitCode;
  PrintRules(LoadLocationMappings(app.Reg()));
  return kExitDone;
}

int RunMappingsAdd(AppServices& app, const std::vector<std::string>& args) {
  const CliCommand& command = AddCommand();
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 2, exitCode);
  if (!parsed) return exitCode;
  if (parsed->Positional().size() != 2) return ReportUsageError(command, "FROM and TO are needed");
  const auto to = ExistingFolder(parsed->Positional()[1]);
  if (!to) return kExitFailed;
  const LocationMapping rule{FromArgument(parsed->Positional()[0]), *to};
  if (!Acceptable(rule)) return kExitFailed;
  LocationMappings mappings = LoadLocationMappings(app.Reg());
  AddRule(mappings, rule);
  if (!Store(app, mappings)) return kExitFailed;
  PrintRules(mappings);
  return kExitDone;
}

int RunMappingsRemove(AppServices& app, const std::vector<std::string>& args) {
  const CliCommand& command = RemoveCommand();
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 1, exitCode);
  if (!parsed) return exitCode;
  if (parsed->Positional().empty()) return ReportUsageError(command, "FROM is needed");
  const std::string from = FromArgument(parsed->Positional()[0]);
  LocationMappings mappings = LoadLocationMappings(app.Reg());
  if (!mappings.Remove(from)) {
    PrintError("There is no mapping of \"" + from + "\" (quorvella-cli mappings list shows them).");
    return kExitFailed;
  }
  if (!Store(app, mappings)) return kExitFailed;
  PrintRules(mappings);
  return kExitDone;
}

std::optional<LibraryLocations> ReadLocationsOrReport(AppServices& app, const std::string& path,
                                                      std::string& found) {
  try {
    return app.ReadLibraryLocations(path, &found);
  } catch (const std::exception& error) {
    PrintError(error.what());
    return std::nullopt;
  }
}

int RunMappingsCheck(AppServices& app, const std::string& libraryPath,
                     const std::vector<std::string>& args) {
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(CheckCommand(), args, 0, exitCode);
  if (!parsed) return exitCode;
  std::string file;
  const auto library = ReadLocationsOrReport(app, LibraryPathOf(*parsed, libraryPath), file);
  if (!library) return kExitFailed;

  const LocationMappings mappings = LoadLocationMappings(app.Reg());
  const FileSystem& files = app.Files();
  const MappingCheck check =
      CheckMappings(library->paths, mappings,
                    [&files](const std::string& path) { return files.PathExists(path); });
  const CountFormat count;
  std::printf("%s: %s tracks with a file\n", file.c_str(),
              count(static_cast<std::int64_t>(library->paths.size())).c_str());
  for (std::size_t i = 0; i < mappings.Rules().size(); ++i) {
    const LocationMapping& rule = mappings.Rules()[i];
    std::printf("%s -> %s: %s tracks mapped, %s found\n", rule.from.c_str(), rule.to.c_str(),
                count(check.rules[i].mapped).c_str(), count(check.rules[i].found).c_str());
  }
  std::printf("Not mapped: %s tracks, %s found where the library names them\n",
              count(check.unmapped).c_str(), count(check.unmappedFound).c_str());
  if (!check.missing.empty()) {
    std::printf("Not mapped and not found, by folder:\n");
    for (const MissingGroup& group : check.missing) {
      std::printf("%10s  %s\n", count(group.tracks).c_str(), group.folder.c_str());
    }
  }
  return kExitDone;
}

std::optional<int> PositiveNumber(const CliArguments& args, const std::string& name, int value) {
  if (!args.Has(name)) return value;
  const std::string text = TrimSpaces(args.Value(name));
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc{} || end != text.data() + text.size() || number <= 0) return std::nullopt;
  return number;
}

int RunMappingsSuggest(AppServices& app, const std::string& libraryPath,
                       const std::vector<std::string>& args) {
  const CliCommand& command = SuggestCommand();
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(command, args, 0, exitCode);
  if (!parsed) return exitCode;
  SuggestOptions options;
  const auto depth = PositiveNumber(*parsed, "depth", options.maxDepth);
  if (!depth) return ReportUsageError(command, "--depth takes a whole number above 0");
  const auto seconds = PositiveNumber(*parsed, "seconds", 20);
  if (!seconds) return ReportUsageError(command, "--seconds takes a whole number above 0");
  options.maxDepth = *depth;
  options.timeLimit = std::chrono::seconds(*seconds);
  if (parsed->Has("search")) {
    for (const std::string& dir : parsed->Values("search")) {
      const auto folder = ExistingFolder(dir);
      if (!folder) return kExitFailed;
      options.roots.push_back(*folder);
    }
  } else {
    options.roots = DefaultSearchRoots();
  }

  std::string file;
  const auto library = ReadLocationsOrReport(app, LibraryPathOf(*parsed, libraryPath), file);
  if (!library) return kExitFailed;
  LocationMappings mappings = LoadLocationMappings(app.Reg());
  const CountFormat count;
  // The same test as check's: paths are UTF-8, which a std::string path on
  // Windows would read in the ANSI code page.
  const FileSystem& files = app.Files();
  const MappingSuggestions suggestions =
      SuggestMappings(*library, mappings, options,
                      [&files](const std::string& path) { return files.PathExists(path); });
  if (suggestions.missing == 0) {
    std::printf("Every track that no mapping covers is found; there is nothing to map.\n");
    return kExitDone;
  }
  std::string roots;
  for (const std::string& root : options.roots) roots += (roots.empty() ? "" : ", ") + root;
  std::printf("%s tracks are not found. Searched %s folders under %s.\n",
              count(suggestions.missing).c_str(), count(suggestions.foldersSeen).c_str(),
              roots.empty() ? "no folder" : roots.c_str());
  if (suggestions.timeLimitReached) {
    std::printf(
        "The search stopped after %d seconds; --seconds N searches longer, --search DIR "
        "nearer to the music.\n",
        *seconds);
  }
  if (suggestions.depthLimitReached) {
    std::printf(
        "Folders more than %d levels below a search folder were not searched; --depth N "
        "goes deeper, --search DIR starts nearer to the music.\n",
        *depth);
  }
  if (suggestions.proposals.empty()) {
    std::printf("No folder was found that holds these songs.\n");
    return kExitFailed;
  }
  std::printf("Proposed mappings:\n");
  for (const MappingProposal& proposal : suggestions.proposals) {
    std::printf("%s -> %s: %s of %s sampled tracks found (%lld %%)\n", proposal.rule.from.c_str(),
                proposal.rule.to.c_str(), count(proposal.found).c_str(),
                count(proposal.sampled).c_str(),
                static_cast<long long>(proposal.found * 100 / proposal.sampled));
  }
  if (!parsed->Has("apply")) {
    std::printf("quorvella-cli mappings suggest --apply stores them.\n");
    return kExitDone;
  }
  for (const MappingProposal& proposal : suggestions.proposals) {
    if (!Acceptable(proposal.rule)) return kExitFailed;
    AddRule(mappings, proposal.rule);
  }
  if (!Store(app, mappings)) return kExitFailed;
  std::printf("Stored. The mappings are now:\n");
  PrintRules(mappings);
  return kExitDone;
}

}  // namespace

int RunMappings(AppServices& app, const std::string& libraryPath,
                const std::vector<std::string>& args) {
  const std::string sub = args.empty() ? std::string() : args.front();
  const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
  if (sub == "list") return RunMappingsList(app, rest);
  if (sub == "add") return RunMappingsAdd(app, rest);
  if (sub == "remove") return RunMappingsRemove(app, rest);
  if (sub == "check") return RunMappingsCheck(app, libraryPath, rest);
  if (sub == "suggest") return RunMappingsSuggest(app, libraryPath, rest);
  int exitCode = kExitDone;
  const auto parsed = ParseCommandLine(MappingsCommand(), args, 0, exitCode);
  if (!parsed) return exitCode;
  return ReportUsageError(MappingsCommand(),
                          "list, add, remove, check or suggest must follow mappings");
}

}  // namespace quorvella
