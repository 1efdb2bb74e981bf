// SPDX-License-Identifier: MIT
#include "platform/LocalDesktop.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/ProgramStart.h"
#include "platform/Text.h"
#include "platform/windows/WideText.h"

namespace quorvella {

void LocalDesktop::ShellOpen(const std::string& target) {
  const std::string trimmed = TrimSpaces(target);
  if (trimmed.empty()) return;
  ShellExecuteW(nullptr, L"open", Utf8ToWide(trimmed).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::optional<std::string> LocalDesktop::StartProgram(const std::string& commandLine) {
  return StartCommandLine(commandLine);
}

}  // namespace quorvella
