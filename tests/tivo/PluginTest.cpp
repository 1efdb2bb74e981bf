// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"
#include "tivo/Plugin.h"

namespace quorvella {
namespace {

TEST(PluginTest, ProgramLiesInTheFirstFolderRecorded) {
  // InstallLocation under the current key, under the older key, the COM
  // server's default value (null: absent), and the program found.
  const struct { const char* what, *first, *second, *server, *program; } cases[] = {
      {"nothing recorded", nullptr, nullptr, nullptr, ""},
      {"server only", nullptr, nullptr, "C:\\Plug\\UniversalAudio.dll", "C:\\Plug\\TDUAP.exe"},
      {"server without a backslash", nullptr, nullptr, "UniversalAudio.dll", ""},
      {"folder", "C:\\Program Files\\UAP", nullptr, nullptr, "C:\\Program Files\\UAP\\TDUAP.exe"},
      {"folder with its backslash", "C:\\UAP\\", nullptr, nullptr, "C:\\UAP\\TDUAP.exe"},
      {"blanks stop the search", "   ", "D:\\Old", "C:\\Plug\\UniversalAudio.dll", "TDUAP.exe"},
      {"current key first", "C:\\New", "D:\\Old", nullptr, "C:\\New\\TDUAP.exe"},
      {"empty current key", "", "D:\\Old", "C:\\Plug\\UniversalAudio.dll", "D:\\Old\\TDUAP.exe"},
      {"POSIX server", nullptr, nullptr, "/opt/uap/UniversalAudio.so", "/opt/uap/TDUAP.exe"},
  };
  for (const auto& c : cases) {
    MemoryRegistry store;
    RegUtil reg{store};
    const char* location = "InstallLocation";
    if (c.first) reg.RegSetString(Hive::LocalMachine, PluginUninstallKey, location, c.first);
    if (c.second) reg.RegSetString(Hive::LocalMachine, PluginUninstallKeyOld, location, c.second);
    if (c.server) reg.RegSetString(Hive::ClassesRoot, PluginServerKey, "", c.server);
    EXPECT_EQ(GetPluginConfigProgram(reg), c.program) << c.what;
    // Configured once its own key exists, wherever it was installed.
    EXPECT_FALSE(IsPluginConfigured(reg));
    reg.RegSetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName, "");
    EXPECT_TRUE(IsPluginConfigured(reg)) << c.what;
  }
}

TEST(PluginTest, AFailedStartIsToldWithTheSystemsReason) {
  struct : Desktop {
    std::string started;
    void ShellOpen(const std::string&) override {}
    std::optional<std::string> StartProgram(const std::string& program) override {
      started = program;
      return "Access is denied.";
    }
  } desktop;
  struct : MessageBoxes {
    std::vector<Message> shown;
    MsgAnswer Show(const Message& message) override {
      shown.push_back(message);
      return MsgAnswer::Ok;
    }
  } boxes;
  MemoryRegistry store;
  RegUtil reg{store};
  reg.RegSetString(Hive::LocalMachine, PluginUninstallKey, "InstallLocation", "C:\\UAP");
  StartPluginConfigProgram(reg, desktop, boxes);
  EXPECT_EQ(desktop.started, "C:\\UAP\\TDUAP.exe");
  EXPECT_EQ(boxes.shown, (std::vector<Message>{{"The following error occurred while trying to start "
                                                 "C:\\UAP\\TDUAP.exe:\r\n\r\nAccess is denied.",
                                                 MsgIcon::Critical, MsgButtons::Ok}}));
}

}  // namespace
}  // namespace quorvella
