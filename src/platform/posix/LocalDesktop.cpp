// SPDX-License-Identifier: MIT
#include "platform/LocalDesktop.h"

#include "platform/ProgramStart.h"
#include "platform/Text.h"

namespace quorvella {

void LocalDesktop::ShellOpen(const std::string& target) {
  std::string trimmed = TrimSpaces(target);
  if (trimmed.empty()) return;
  // xdg-open would take a leading "-" for an option of its own.
  if (trimmed.front() == '-') trimmed.insert(0, "./");
  StartDetached({"xdg-open", {trimmed}});
}

std::optional<std::string> LocalDesktop::StartProgram(const std::string& commandLine) {
  return StartCommandLine(commandLine);
}

}  // namespace quorvella
