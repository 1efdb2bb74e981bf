// SPDX-License-Identifier: MIT
#include "shell/ShellApi.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(ExplorerCommandLine, OpensTheFolderAsOneArgument) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(ExplorerCommandLine("/srv/My Lists", "/home/u"),
            (CommandLine{"xdg-open", Args{"/srv/My Lists"}}));
  EXPECT_EQ(ExplorerCommandLine("D:\\My Lists", "/home/u"),
            (CommandLine{"xdg-open", Args{"D:\\My Lists"}}));
  EXPECT_EQ(ExplorerCommandLine("", "/home/u"), (CommandLine{"xdg-open", Args{"/home/u"}}));
  EXPECT_EQ(ExplorerCommandLine("-lists", "/home/u"),
            (CommandLine{"xdg-open", Args{"./-lists"}}));
}

TEST(RemoveTrailingBackslash, RemovesOneSeparatorOfTheDialect) {
  const std::pair<const char*, const char*> cases[] = {
      {"D:\\Lists\\\\", "D:\\Lists\\"}, {"D:\\Lists\\", "D:\\Lists"}, {"D:\\", "D:"},
      {"D:\\Lists", "D:\\Lists"},       {"D:\\Lists/", "D:\\Lists/"}, {"", ""},
      {"/srv/lists/", "/srv/lists"},    {"/srv/lists", "/srv/lists"}, {"/", "/"},
      {"//", "/"},
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(RemoveTrailingBackslash(path), expected) << path;
  }
}

}  // namespace
}  // namespace quorvella
