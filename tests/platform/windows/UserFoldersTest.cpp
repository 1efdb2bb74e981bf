// SPDX-License-Identifier: MIT
#include "platform/UserFolders.h"

#include <gtest/gtest.h>

#include <map>

namespace quorvella {
namespace {

Environment Env(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const char* name) {
    const auto found = variables.find(name);
    return found != variables.end() ? found->second : std::string();
  };
}

TEST(WindowsUserFolders, ComeFromTheProfileVariablesWithoutATrailingSeparator) {
  const Environment env = Env({{"USERPROFILE", "C:\\Users\\u\\"},
                               {"APPDATA", "C:\\Users\\u\\AppData\\Roaming"},
                               {"LOCALAPPDATA", "C:\\Users\\u\\AppData\\Local\\"}});
  EXPECT_EQ(HomeFolder(env), "C:\\Users\\u");
  EXPECT_EQ(ConfigFolder(env), "C:\\Users\\u\\AppData\\Roaming");
  EXPECT_EQ(DataFolder(env), "C:\\Users\\u\\AppData\\Local");
  EXPECT_EQ(HomeFolder(Env({{"USERPROFILE", "D:\\"}})), "D:\\");
  EXPECT_EQ(HomeFolder(Env({})), "");
}

TEST(WindowsUserFolders, TheShellKnowsTheFoldersNoVariableNames) {
  // The process's own environment falls back on the shell's folders.
  EXPECT_FALSE(ProcessEnvironment("LOCALAPPDATA").empty());
  const std::string music = MusicFolder();
  ASSERT_GE(music.size(), 3u);
  EXPECT_EQ(music.substr(1, 2), ":\\");
  EXPECT_NE(music.back(), '\\');
}

}  // namespace
}  // namespace quorvella
