// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"
#include "tivo/Plugin.h"

namespace quorvella {
namespace {

TEST(PluginTest, ProgramLiesInTheFirstFolderRecorded) {
  const struct {
    const char* what;
    const char* first;   // InstallLocation under the current key; null: absent
    const char* second;  // under the older key
    const char* server;  // the COM server's default value
    const char* program;
  } cases[] = {
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

// Whether a start tells of a failure is the options window's to show.
TEST(PluginTest, AFailedStartIsToldWithTheSystemsReason) {
  const Message message = PluginStartFailureMessage("C:\\UAP\\TDUAP.exe", "Access is denied.");
  EXPECT_EQ(message.text,
            "The following error occurred while trying to start C:\\UAP\\TDUAP.exe:\r\n\r\n"
            "Access is denied.");
  EXPECT_EQ(message.icon, MsgIcon::Critical);
  EXPECT_EQ(message.buttons, MsgButtons::Ok);
}

}  // namespace
}  // namespace quorvella
