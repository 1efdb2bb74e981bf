// SPDX-License-Identifier: MIT
#include "platform/ProgramStart.h"

#include "platform/windows/WideText.h"

namespace quorvella {
namespace {

// Starts the command line in a process group of its own and without this
// console, so that a Ctrl-C here does not reach it; nobody waits for it.
std::optional<std::string> Start(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_PROCESS_GROUP | DETACHED_PROCESS, nullptr, nullptr, &startup,
                      &process)) {
    return SystemErrorText(GetLastError());
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> StartDetached(const CommandLine& command) {
  std::wstring line;
  AppendQuotedArgument(line, Utf8ToWide(command.program));
  for (const auto& argument : command.arguments) AppendQuotedArgument(line, Utf8ToWide(argument));
  return Start(std::move(line));
}

std::optional<std::string> StartCommandLine(const std::string& commandLine) {
  // Windows splits a command line itself, the way SplitCommandLine copies.
  return Start(Utf8ToWide(commandLine));
}

}  // namespace quorvella
