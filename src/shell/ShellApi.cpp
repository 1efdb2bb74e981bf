// SPDX-License-Identifier: MIT
#include "shell/ShellApi.h"

#include "platform/PathRules.h"
#include "platform/ProgramStart.h"
#include "platform/UserFolders.h"

namespace quorvella {

CommandLine ExplorerCommandLine(std::string_view folder, std::string_view homeFolder) {
  std::string target(folder.empty() ? homeFolder : folder);
  // xdg-open would take a leading "-" for an option of its own.
  if (!target.empty() && target.front() == '-') target.insert(0, "./");
  return {"xdg-open", {target}};
}

void OpenFolderInExplorer(const std::string& folder) {
  StartDetached(ExplorerCommandLine(folder, HomeFolder()));
}

std::string RemoveTrailingBackslash(std::string_view path) {
  if (path.empty() || path == "/" || path.back() != SeparatorOf(path)) return std::string(path);
  path.remove_suffix(1);
  return std::string(path);
}

}  // namespace quorvella
