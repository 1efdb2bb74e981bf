// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"
#include "tivo/Plugin.h"

namespace quorvella {
namespace {

using ::testing::_;
using ::testing::Return;

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
    if (c.first)
      reg.RegSetString(Hive::LocalMachine, PluginUninstallKey, "InstallLocation", c.first);
    if (c.second) {
      reg.RegSetString(Hive::LocalMachine, PluginUninstallKeyOld, "InstallLocation", c.second);
    }
    if (c.server) reg.RegSetString(Hive::ClassesRoot, PluginServerKey, "", c.server);
    EXPECT_EQ(GetPluginConfigProgram(reg), c.program) << c.what;
  }
}

TEST(PluginTest, ConfiguredMeansTheConfigurationKeyExists) {
  MemoryRegistry store;
  RegUtil reg{store};
  EXPECT_FALSE(IsPluginConfigured(reg));
  store.Tree().CreateKey(Hive::CurrentUser, PluginConfigKey);
  EXPECT_TRUE(IsPluginConfigured(reg));
}

struct FakeDesktop : Desktop {
  MOCK_METHOD(void, ShellOpen, (const std::string&), (override));
  MOCK_METHOD(std::optional<std::string>, StartProgram, (const std::string&), (override));
};
struct FakeMessageBoxes : MessageBoxes {
  MOCK_METHOD(MsgAnswer, Show, (const Message&), (override));
};

TEST(PluginTest, StartingTellsOnlyOfAFailure) {
  MemoryRegistry store;
  RegUtil reg{store};
  reg.RegSetString(Hive::LocalMachine, PluginUninstallKey, "InstallLocation",
                   "C:\\Program Files\\UAP");
  FakeDesktop desktop;
  FakeMessageBoxes boxes;
  EXPECT_CALL(desktop, StartProgram("C:\\Program Files\\UAP\\TDUAP.exe"))
      .WillOnce(Return(std::nullopt))
      .WillOnce(Return("The system cannot find the file specified."));
  Message failure;
  failure.text =
      "The following error occurred while trying to start C:\\Program Files\\UAP\\TDUAP.exe:"
      "\r\n\r\nThe system cannot find the file specified.";
  failure.icon = MsgIcon::Critical;
  failure.buttons = MsgButtons::Ok;
  EXPECT_CALL(boxes, Show(_)).Times(0);
  StartPluginConfigProgram(reg, desktop, boxes);
  ::testing::Mock::VerifyAndClearExpectations(&boxes);
  EXPECT_CALL(boxes, Show(failure)).WillOnce(Return(MsgAnswer::Ok));
  StartPluginConfigProgram(reg, desktop, boxes);
}

}  // namespace
}  // namespace quorvella
