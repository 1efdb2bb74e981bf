// SPDX-License-Identifier: MIT
#include "platform/UserFolders.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <map>

#include "support/EnvironmentVariable.h"

namespace quorvella {
namespace {

Environment Env(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const char* name) {
    const auto found = variables.find(name);
    return found != variables.end() ? found->second : std::string();
  };
}

TEST(UserFolders, XdgFoldersAreAbsoluteOrBelowHome) {
  const struct { std::map<std::string, std::string> env; std::string config, data; } cases[] = {
      {{{"HOME", "/home/u"}}, "/home/u/.config", "/home/u/.local/share"},
      {{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/d"}}, "/cfg", "/d"},
      // A relative folder is ignored, as the desktop's rules say.
      {{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", "./d"}},
       "/home/u/.config", "/home/u/.local/share"},
      {{{"XDG_CONFIG_HOME", "/cfg"}}, "/cfg", ""},
      {{}, "", ""},
  };
  for (const auto& c : cases) {
    const Environment env = Env(c.env);
    EXPECT_EQ(ConfigFolder(env), c.config) << c.config;
    EXPECT_EQ(DataFolder(env), c.data) << c.data;
  }
}

TEST(UserFolders, ProcessEnvironmentFindsTheHomeOfTheAccount) {
  const passwd* user = getpwuid(getuid());
  ASSERT_NE(user, nullptr);
  testing::ScopedEnvironmentVariable home("HOME", "/home/someone");
  EXPECT_EQ(HomeFolder(), "/home/someone");
  for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
    home.Set(unset);
    EXPECT_EQ(HomeFolder(), user->pw_dir);
  }
}

}  // namespace
}  // namespace quorvella
