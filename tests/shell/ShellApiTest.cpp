// SPDX-License-Identifier: MIT
#include "shell/ShellApi.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

// The folder goes as one argument; none opens the home folder, and a name
// that starts like an option is made a path.
TEST(ExplorerCommandLine, OpensTheFolderAsOneArgument) {
  const std::pair<const char*, const char*> cases[] = {
      {"/srv/My Lists", "/srv/My Lists"}, {"D:\\My Lists", "D:\\My Lists"},
      {"", "/home/u"},                    {"-lists", "./-lists"}};
  for (const auto& [folder, argument] : cases) {
    EXPECT_EQ(ExplorerCommandLine(folder, "/home/u"), (CommandLine{"xdg-open", std::vector<std::string>{argument}}))
        << folder;
  }
}

TEST(RemoveTrailingBackslash, RemovesOneSeparatorOfTheDialect) {
  const std::pair<const char*, const char*> cases[] = {
      {"D:\\Lists\\\\", "D:\\Lists\\"}, {"D:\\", "D:"},            {"D:\\Lists", "D:\\Lists"},
      {"D:\\Lists/", "D:\\Lists/"},   {"", ""},                {"/srv/lists/", "/srv/lists"},
      {"/", "/"},                     {"//", "/"},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(RemoveTrailingBackslash(path), expected) << path;
}

}  // namespace
}  // namespace quorvella
