// SPDX-License-Identifier: MIT
#include "tivo/Plugin.h"

#include "platform/PathRules.h"
#include "tivo/WebAddresses.h"

namespace quorvella {

std::string GetPluginConfigProgram(const RegUtil& reg) {
  // A value of blanks is not empty: it stops the search and leaves the bare
  // program name once AddBackslash has trimmed it away.
  std::string folder =
      reg.RegGetString(Hive::LocalMachine, PluginUninstallKey, PluginInstallLocationValueName);
  if (folder.empty()) {
    folder =
        reg.RegGetString(Hive::LocalMachine, PluginUninstallKeyOld, PluginInstallLocationValueName);
  }
  if (folder.empty()) {
    const std::string server = reg.RegGetKeyDefault(Hive::ClassesRoot, PluginServerKey);
    if (!server.empty()) {
      const std::size_t separator = server.rfind(SeparatorOf(server));
      if (separator != std::string::npos) folder = server.substr(0, separator + 1);
    }
  }
  if (folder.empty()) return {};
  return AddBackslash(folder) + std::string(PluginConfigProgramName);
}

bool IsPluginConfigured(const RegUtil& reg) {
  return reg.RegKeyExists(Hive::CurrentUser, PluginConfigKey);
}

std::string PluginInfoPageAddress() { return std::string(PluginInfoAddress); }

Message PluginStartFailureMessage(std::string_view program, std::string_view error) {
  Message message;
  message.text = "The following error occurred while trying to start " + std::string(program) +
                 ":\r\n\r\n" + std::string(error);
  message.icon = MsgIcon::Critical;
  message.buttons = MsgButtons::Ok;
  return message;
}

void StartPluginConfigProgram(const RegUtil& reg, Desktop& desktop, MessageBoxes& boxes) {
  const std::string program = GetPluginConfigProgram(reg);
  if (const auto error = desktop.StartProgram(program)) {
    boxes.Show(PluginStartFailureMessage(program, *error));
  }
}

}  // namespace quorvella
