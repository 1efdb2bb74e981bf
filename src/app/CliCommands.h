// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/AppServices.h"
#include "app/CliArguments.h"

// The commands of quorvella-cli. Each takes the arguments after its name and
// returns the program's exit status.
namespace quorvella {

// The work was done.
inline constexpr int kExitDone = 0;
// The work was refused, stopped or failed.
inline constexpr int kExitFailed = 1;
// The command line itself was wrong.
inline constexpr int kExitUsage = 2;
// The work was done, but parts of the library file were malformed and were
// left out (each place was named on stderr).
inline constexpr int kExitMalformedLibrary = 3;

// The exit statuses as the help texts give them.
inline constexpr const char* kExitStatusHelp =
    "Exit status: 0 done, 1 refused, stopped or failed, 2 usage error, 3 done, but parts of the "
    "iTunes library file were malformed and left out (each named on stderr).";

inline constexpr const char* kProgramName = "quorvella-cli";

// The library option that list and publish take after their name as well as
// before it.
CliOption LibraryOption();

int RunList(AppServices& app, const std::string& libraryPath, const std::vector<std::string>& args);
int RunPublish(AppServices& app, const std::string& libraryPath,
               const std::vector<std::string>& args);
int RunWatch(AppServices& app, const std::string& libraryPath,
             const std::vector<std::string>& args);
int RunOptions(AppServices& app, const std::vector<std::string>& args);
int RunTiVo(AppServices& app, const std::vector<std::string>& args);
int RunRegistry(AppServices& app, const std::vector<std::string>& args);
int RunMappings(AppServices& app, const std::string& libraryPath,
                const std::vector<std::string>& args);

// Reports a usage error of the command on stderr with a pointer to its help;
// returns kExitUsage.
int ReportUsageError(const CliCommand& command, const std::string& message);

// Parses a command's arguments. Returns nullopt when the command is over:
// its help was printed (exitCode kExitDone) or a usage error reported
// (kExitUsage). Positional arguments beyond maxPositional are usage errors.
std::optional<CliArguments> ParseCommandLine(const CliCommand& command,
                                             const std::vector<std::string>& args,
                                             std::size_t maxPositional, int& exitCode);

}  // namespace quorvella
